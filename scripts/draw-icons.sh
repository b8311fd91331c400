#!/usr/bin/env bash
# Redraws Vireo's own images in resources/img (state boxes, the new-transition
# tool, the window icon and the logo). The results are committed; run this
# only after changing scripts/draw-icons.cpp, then look at the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O1 -fPIC scripts/draw-icons.cpp -o "$work/draw-icons" \
  $(pkg-config --cflags --libs Qt5Gui)
QT_QPA_PLATFORM=offscreen "$work/draw-icons" resources/img "$work"
convert "$work"/vireo-{16,24,32,48,64,128,256}.png resources/img/vireo.ico
echo "Imágenes dibujadas en resources/img"
