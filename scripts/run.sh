#!/usr/bin/env bash
# Sets up the machine, builds the program and opens the backup window on a
# demo folder. Without a display it runs under Xvfb and says so.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh build

demo=${BRX_DEMO_FOLDER:-/tmp/brx-demo}
if [ ! -d "$demo" ]; then
  mkdir -p "$demo/Documents" "$demo/Photos"
  for i in 1 2 3; do
    seq 1 20000 | sed "s/^/Ligne $i: /" > "$demo/Documents/notes$i.txt"
  done
  head -c 300000 /dev/urandom > "$demo/Photos/image.raw"
  echo "Dossier de démonstration" > "$demo/LISEZMOI.txt"
fi

program=build/bin/BRX_EXPLO
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "-#$demo"
fi
echo "No display found: starting the backup window under Xvfb (virtual screen :99)."
exec xvfb-run -a -s "-screen 0 1280x800x24" "$program" "-#$demo"
