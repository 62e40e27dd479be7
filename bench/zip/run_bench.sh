#!/bin/sh
# Compares ZIPDLL.DLL / UNZDLL.DLL with zip, 7zz and unzip on one mixed
# folder, side by side in one run.
# Usage: bench/zip/run_bench.sh [--words] [build-dir]   (default: build)
# The default folder is made of this system's own files (documentation,
# Python library, C++ and Qt headers, shared libraries, locale data) plus
# random blobs. --words builds a generated folder instead, whose text uses
# a 25-word vocabulary: the hardest case for libdeflate's level 6.
# Needs the targets brx_zipdll brx_unzdll zipdll_bench.
set -eu
DATA_SET=system
if [ "${1:-}" = "--words" ]; then DATA_SET=words; shift; fi
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
export BRX_BIN_DIR="$BUILD/bin"
DRIVER=$(find "$BUILD" -name zipdll_bench -type f -perm -u+x | head -n 1)
[ -x "$DRIVER" ] || { echo "build the target zipdll_bench first" >&2; exit 1; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zipbench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

# copy_tree SOURCE NAME: regular files only, links followed, unreadable
# files skipped.
copy_tree() {
    [ -e "$1" ] || return 0
    mkdir -p "$WORK/data/$2"
    cp -rL --no-preserve=all "$1/." "$WORK/data/$2/" 2>/dev/null || true
}

make_system_folder() {
    echo "Making the test folder in $WORK/data from this system's files ..."
    copy_tree /usr/share/doc doc
    copy_tree /usr/lib/python3.11 python
    copy_tree /usr/include/c++ include/c++
    copy_tree /usr/include/x86_64-linux-gnu/qt6 include/qt6
    copy_tree /usr/share/i18n i18n
    mkdir -p "$WORK/data/libs" "$WORK/data/bin"
    for lib in libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6 libstdc++.so.6 libcrypto.so.3; do
        cp -L "/usr/lib/x86_64-linux-gnu/$lib" "$WORK/data/libs/" 2>/dev/null || true
    done
    for i in 0 1 2 3; do                 # incompressible blobs, 4-10 MiB
        head -c $(( (4 + 2 * i) << 20 )) /dev/urandom > "$WORK/data/bin/blob$i.dat"
    done
    find "$WORK/data" ! -type f ! -type d -delete
}

make_words_folder() {
    echo "Making the test folder in $WORK/data from generated words ..."
    python3 - "$WORK/data" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(1)
words = ("archive folder backup entry deflate window zip the of and to in is for "
         "return int const void static struct include if else while for").split()
def text(n):
    out = []; size = 0
    while size < n:
        line = " ".join(rnd.choice(words) for _ in range(rnd.randint(4, 14))) + "\n"
        out.append(line); size += len(line)
    return "".join(out)[:n]
def source(n):
    out = []; size = 0; i = 0
    while size < n:
        line = "    int value%d = compute(%d, \"%s\");\n" % (i, rnd.randint(0, 99999), rnd.choice(words))
        out.append(line); size += len(line); i += 1
    return "".join(out)[:n]
def write(rel, data):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())
for i in range(20):                      # large text/log files, 2-6 MB
    write("logs/log%02d.txt" % i, text(rnd.randint(2, 6) << 20))
for i in range(1500):                    # source-like files
    write("src/mod%02d/file%04d.cpp" % (i % 30, i), source(rnd.randint(2000, 60000)))
for i in range(3000):                    # many small files
    write("small/d%02d/n%04d.txt" % (i % 50, i), text(rnd.randint(50, 3000)))
for i in range(8):                       # incompressible binaries
    write("bin/blob%d.dat" % i, os.urandom(rnd.randint(4, 10) << 20))
for i in range(2):                       # two large compressible files
    write("big/dump%d.txt" % i, text(24 << 20))
PY
}

if [ "$DATA_SET" = words ]; then make_words_folder; else make_system_folder; fi
echo "Folder: $(du -sh "$WORK/data" | cut -f1), $(find "$WORK/data" -type f | wc -l) files"
sync

# timed LABEL COMMAND...: prints wall and user seconds
timed() {
    label=$1; shift
    /usr/bin/time -f "%e %U" -o "$WORK/t" "$@" >/dev/null 2>"$WORK/err" || { cat "$WORK/err"; exit 1; }
    set -- $(cat "$WORK/t")
    printf '%-34s wall %7.2f s  user %7.2f s\n' "$label" "$1" "$2"
    eval "W_$label=$1; U_$label=$2"
}
size() { stat -c %s "$1"; }

cd "$WORK"
# Ratios of wall times only hold when both cores are free: see the load.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "--- compression, level 6"
timed ours_add "$DRIVER" add "$WORK/ours.zip" data 6
timed zip_r6 zip -q -r -6 "$WORK/zip.zip" data
timed 7zz_mx1 7zz a -tzip -mx=1 -mmt=2 "$WORK/7z.zip" data
echo "sizes: ours $(size ours.zip)  zip $(size zip.zip)  7zz $(size 7z.zip)"
echo "--- extraction and test of our archive"
mkdir -p out_ours out_unzip
timed ours_extract "$DRIVER" extract "$WORK/ours.zip" "$WORK/out_ours"
timed unzip_extract unzip -q "$WORK/ours.zip" -d "$WORK/out_unzip"
timed ours_test "$DRIVER" test "$WORK/ours.zip"
timed unzip_test unzip -tq "$WORK/ours.zip"
diff -r data out_ours/data >/dev/null && echo "our extraction matches the source folder"

echo "--- ratios (ours / peer)"
python3 - "$W_ours_add" "$W_zip_r6" "$W_7zz_mx1" "$(size ours.zip)" "$(size zip.zip)" "$(size 7z.zip)" \
    "$W_ours_extract" "$W_unzip_extract" "$U_ours_extract" "$U_unzip_extract" "$W_ours_test" "$W_unzip_test" \
    "$U_ours_add" "$U_zip_r6" "$U_7zz_mx1" "$U_ours_test" "$U_unzip_test" <<'PY'
import sys
a = [float(x) for x in sys.argv[1:]]
print("create time vs zip -r -6 : %.3f  (target <= 0.30)" % (a[0] / a[1]))
print("create size vs zip -r -6 : %.4f (target <= 1)" % (a[3] / a[4]))
print("create time vs 7zz -mx=1 : %.3f  (target < 1), size %.4f (target < 1)" % (a[0] / a[2], a[3] / a[5]))
print("extract wall vs unzip    : %.3f" % (a[6] / a[7]))
print("extract user vs unzip    : %.3f  (target <= 0.35)" % (a[8] / max(a[9], 0.01)))
print("test wall vs unzip -t    : %.3f  (target <= 0.35)" % (a[10] / a[11]))
print("user CPU: create vs zip %.3f, vs 7zz %.3f; test vs unzip -t %.3f" % (a[12] / a[13], a[12] / a[14], a[15] / max(a[16], 0.01)))
PY
