#!/usr/bin/env bash
# Takes screenshots of every window of the program, in French, under a
# virtual screen, and writes them as PNG files (default: docs/screenshots/):
#   scripts/screenshots.sh [output folder]
# Needs a configured build folder (scripts/build.sh); the targets it uses are
# brought up to date first.
#
# The program runs from a copy of build/bin/ in a throw-away folder, which is
# also HOME and every XDG folder: its settings file, log and staging folder,
# and the verbs that its About box face registers, never touch the build
# folder or the real user's desktop. The windows are driven through the
# accessibility bus (scripts/screenshot_windows.py); a capture that cannot be
# made is named, the others go on, and the exit status is then 1.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-docs/screenshots}")

missing=()
for tool in xvfb-run xdotool import convert dbus-run-session cmake; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=("at-spi2-core")
/usr/bin/python3 -c 'import dbus' 2>/dev/null || missing+=("python3-dbus")
if [ ${#missing[@]} -gt 0 ]; then
  echo "screenshots: missing ${missing[*]} (scripts/setup.sh installs them)" >&2
  exit 1
fi
if [ ! -f build/CMakeCache.txt ]; then
  echo "screenshots: no build folder; run scripts/build.sh first" >&2
  exit 1
fi
cmake --build build --target brx_explo brxzip brx_zipdll brx_unzdll brx_resources >/dev/null

# A fixed folder, so that the paths the windows show are the same from one
# run to the next (and so are the PNG files when the windows did not change).
work=${TMPDIR:-/tmp}/brx-screenshots
exec 9>"$work.lock"
if ! flock -n 9; then
  echo "screenshots: another run is using $work" >&2
  exit 1
fi
if [ -e "$work" ] && [ ! -f "$work/.brx-screenshots" ]; then
  echo "screenshots: $work exists and is not ours; remove it or set TMPDIR" >&2
  exit 1
fi
rm -rf "$work"
mkdir -p "$work" && touch "$work/.brx-screenshots"
trap 'rm -rf "$work"' EXIT
export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_CACHE_HOME=$HOME/.cache XDG_STATE_HOME=$HOME/.local/state
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# Qt takes the language and the date formats from LANG (no LC_ variable may
# override it), also where glibc has no French locale installed.
for variable in $(compgen -e | grep '^LC_' || true); do unset "$variable"; done
export LANG=fr_FR.UTF-8 LANGUAGE=fr
# Qt publishes its controls on the accessibility bus only when asked.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

program=$work/BRX_EXPLO
mkdir -p "$program"
cp -a build/bin/. "$program/"
rm -f "$program"/*_bench "$program"/*_demo "$program"/BRX_EXPL.INI "$program"/BRXLogrun.txt
rm -rf "$program/Sas_Zip"

# A sample folder with sub-folders, text and binary files and dates spread
# over a few years, and a sample archive made from it by brxzip.
folder="$HOME/Mes documents"
mkdir -p "$folder/Courrier/2024" "$folder/Photos" "$folder/Comptes"
printf 'Liste des courses\n- pain\n- fromage\n- pommes\n' > "$folder/LISEZMOI.txt"
for month in 01 03 06 09; do
  seq 1 400 | sed "s/^/Lettre du mois $month, ligne /" > "$folder/Courrier/2024/lettre-$month.txt"
  touch -d "2024-$month-15 10:30" "$folder/Courrier/2024/lettre-$month.txt"
done
seq 1 2000 | awk '{printf "%d;%s;%.2f\n", $1, "Dépense", $1 * 1.5}' > "$folder/Comptes/budget.csv"
# Incompressible bytes, the same at every run.
noise() { /usr/bin/python3 -c 'import random, sys; random.seed(sys.argv[2]);
sys.stdout.buffer.write(random.randbytes(int(sys.argv[1])))' "$@"; }
noise 120000 vacances > "$folder/Photos/vacances.raw"
noise 48000 portrait > "$folder/Photos/portrait.raw"
touch -d "2023-07-14 18:00" "$folder/Photos/vacances.raw"
touch -d "2025-02-02 09:15" "$folder/Photos/portrait.raw" "$folder/Comptes/budget.csv"
touch -d "2025-11-20 16:45" "$folder/LISEZMOI.txt"
touch -d "2024-09-30 12:00" "$folder/Courrier/2024" "$folder/Courrier"
touch -d "2025-02-02 09:15" "$folder/Comptes" "$folder/Photos"
# The backups go to a folder of the sample home, as if chosen at an earlier run.
backups="$HOME/Sauvegardes/"
mkdir -p "$backups"
printf '[HistoryShelDir]\nn0=%s\nlast=%s\n' "$backups" "$backups" > "$program/BRX_EXPL.INI"

archive="$HOME/Exemple.zip"
(cd "$folder" && "$program/brxzip" add -r -l 6 "$archive" . >/dev/null)

mkdir -p "$out"
echo "Screenshots into $out"
# The private D-Bus session carries the accessibility bus; its daemons'
# start-up chatter is left out.
status=0
xvfb-run -a -s "-screen 0 1280x900x24" dbus-run-session -- \
  /usr/bin/python3 "$root/scripts/screenshot_windows.py" \
  "$program/BRX_EXPLO" "$archive" "$folder" "$out" \
  > >(grep --line-buffered -v '^SpiRegistry daemon') \
  2> >(grep --line-buffered -v -e '^dbus-daemon\[' -e '^SpiRegistry daemon' >&2) || status=1
if [ $status -ne 0 ] && [ -s "$HOME/program-output.txt" ]; then
  echo "--- what the program wrote:" >&2
  tail -n 20 "$HOME/program-output.txt" >&2
fi
exit $status
