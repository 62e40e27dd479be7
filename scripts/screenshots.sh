#!/usr/bin/env bash
# Takes screenshots of the program's windows under a virtual screen, in
# French, and writes them as PNG files (default: docs/screenshots/).
#   scripts/screenshots.sh [output folder]
# Each window is one line at the end of this script:
#   shot <file name> <seconds to wait> <program arguments...>
# The program runs with a throw-away home, so registering its verbs (which
# the About box face does first) leaves the real user's desktop alone.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${BRX_SHOTS_INSIDE:-}" ]; then
  out=$(realpath -m "${1:-docs/screenshots}")
  mkdir -p "$out"
  export BRX_SHOTS_INSIDE=1 BRX_SHOTS_OUT="$out" LANG=fr_FR.UTF-8 LANGUAGE=fr
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
fi

program=$(realpath build/bin/BRX_EXPLO)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export XDG_RUNTIME_DIR=$home/run && mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# Starts the program, waits for its window, captures the screen, ends it.
shot() {
  local name=$1 wait=$2
  shift 2
  "$program" "$@" &
  local pid=$!
  sleep "$wait"
  import -window root "$BRX_SHOTS_OUT/$name.png"
  # The screen around the window is black: keep the window alone.
  convert "$BRX_SHOTS_OUT/$name.png" -trim +repage "$BRX_SHOTS_OUT/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$BRX_SHOTS_OUT/$name.png"
}

# The question asked when another program holds ".zip" (answered by
# ending the program: nothing is registered).
mkdir -p "$XDG_CONFIG_HOME/BRX_EXPLO"
printf '[.zip]\n@="Winzip"\n' > "$XDG_CONFIG_HOME/BRX_EXPLO/classroot.txt"
shot zip-question 3
rm -f "$XDG_CONFIG_HOME/BRX_EXPLO/classroot.txt"

shot about-box 3
shot verbs-removed 3 '#DEL#!'
