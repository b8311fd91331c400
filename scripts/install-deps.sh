#!/usr/bin/env bash
# Installs the Debian packages Vireo needs to build, run and test.
# Calls apt only when something is missing, so it is cheap to run every time.
# `install-deps.sh fuzz` adds what the fuzz targets need (clang and libFuzzer).
set -euo pipefail

packages=(
  cmake make g++ pkg-config dpkg-dev
  qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev libqt5svg5-dev qttranslations5-l10n zlib1g-dev
  famfamfam-silk
  xvfb xauth x11-utils imagemagick fonts-dejavu-core
  gcc-arm-none-eabi libnewlib-arm-none-eabi qemu-system-arm
)
if [[ "${1:-}" == fuzz ]]; then
  packages+=(clang libclang-rt-14-dev)
fi

if ! command -v dpkg-query >/dev/null; then
  echo "Este sistema no usa paquetes Debian: instale a mano ${packages[*]} (o sus equivalentes)." >&2
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Instalando paquetes que faltan: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "Faltan paquetes y no hay sudo: instale como root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
