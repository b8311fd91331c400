#!/usr/bin/env bash
# Starts Vireo. Without a display it runs on a virtual one, saves a picture of
# the main window to build/vireo-screenshot.png and exits.
set -euo pipefail
build_dir=${1:-build}
vireo="$build_dir/src/app/vireo"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$vireo"
fi

shot="$build_dir/vireo-screenshot.png"
xvfb-run -a -s "-screen 0 1440x810x24" bash -c "
  '$vireo' & pid=\$!
  sleep 4
  import -window root '$shot'
  kill \$pid 2>/dev/null || true
  wait \$pid 2>/dev/null || true
"
echo "No hay pantalla: Vireo se inició en una pantalla virtual y su ventana quedó en $shot"
