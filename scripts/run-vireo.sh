#!/usr/bin/env bash
# Starts Vireo. Without a display it runs on a virtual one instead: waits until
# the main window is on screen, saves a picture of it to
# <build dir>/vireo-screenshot.png, closes Vireo and exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
vireo="$build_dir/src/app/vireo"

if [[ ! -x "$vireo" ]]; then
  echo "No se encontró $vireo: compile primero con 'make'." >&2
  exit 1
fi

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$vireo"
fi

for tool in xvfb-run xwininfo import; do
  if ! command -v "$tool" >/dev/null; then
    echo "Falta $tool: ejecute scripts/install-deps.sh" >&2
    exit 1
  fi
done

shot="$(realpath -m "$build_dir/vireo-screenshot.png")"
rm -f "$shot"
export VIREO_BIN="$(realpath "$vireo")" VIREO_SHOT="$shot"
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

# Runs on the virtual display: start Vireo, wait (at most 30 s) for its main
# window to be mapped, give it a moment to paint, then photograph that window.
xvfb-run -a -s "-screen 0 1440x810x24" bash -c '
  set -u
  "$VIREO_BIN" & pid=$!
  window=""
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "Vireo terminó antes de mostrar su ventana." >&2
      exit 1
    fi
    for id in $(xwininfo -root -tree 2>/dev/null | awk "/\"Vireo \\| Alderhall/ {print \$1}"); do
      if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
        window=$id
        break
      fi
    done
    [[ -n "$window" ]] && break
    sleep 0.1
  done
  status=0
  if [[ -z "$window" ]]; then
    echo "La ventana de Vireo no apareció en 30 segundos." >&2
    status=1
  else
    sleep 1
    import -window "$window" "$VIREO_SHOT" || status=1
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit $status
'
echo "No hay pantalla: Vireo se inició en una pantalla virtual; la imagen de su ventana quedó en $shot"
