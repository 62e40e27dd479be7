#!/bin/sh
# Makes real archives past 4 GiB (one 4.5 GiB entry, stored, then 70,000
# small files whose local headers lie past 4 GiB) with brxzip, zip and 7zz,
# checks ours with unzip, 7zz and Python, and reads theirs with brxzip.
# Prints time and peak memory of every step (GNU time). Not run by CI:
# it writes about 15 GB and takes minutes.
# Usage: bench/zip64/run_zip64.sh [build-dir]   (default: build)
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
BRXZIP="$BUILD/bin/brxzip"
[ -x "$BRXZIP" ] || { echo "build the target brxzip first" >&2; exit 1; }
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zip64bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# step NAME COMMAND...: runs it under GNU time, prints seconds and peak RSS.
step() {
    name=$1
    shift
    if /usr/bin/time -f "%e %M" -o time.txt "$@" >step.log 2>&1; then status=ok; else status=FAILED; fi
    read -r seconds kib <time.txt
    printf '%-34s %8ss %8d MiB  %s\n' "$name" "$seconds" $((kib / 1024)) "$status"
    [ "$status" = ok ] || { tail -n 5 step.log; exit 1; }
}

echo "Making the folder: big.bin (4.5 GiB, sparse) and 70,000 small files ..."
truncate -s 4608M big.bin
python3 - <<'PY'
import os
for d in range(70):
    os.makedirs(f"small/d{d}", exist_ok=True)
    for f in range(1000):
        with open(f"small/d{d}/f{f}.txt", "w") as out:
            out.write(f"file {d} {f}\n" * 8)
PY

echo "step                                 time      peak"
step "brxzip add big.bin (stored)" "$BRXZIP" add -l 0 ours.zip big.bin
step "brxzip add 70,000 files after it" "$BRXZIP" add -r ours.zip small
step "zip -0 -r" zip -q -0 -r zip.zip big.bin small
step "7zz a -tzip -mx=0" 7zz a -bd -tzip -mx=0 seven.zip big.bin small
ls -l ours.zip zip.zip seven.zip

step "brxzip list ours" sh -c "'$BRXZIP' list ours.zip >list.txt"
grep -q "^big.bin	4831838208	4831838208	" list.txt || { echo "big.bin listed wrong"; exit 1; }
step "brxzip test ours" "$BRXZIP" test ours.zip
step "unzip -t ours" unzip -tqq ours.zip
step "7zz t ours" 7zz t -bd ours.zip
step "python zipfile testzip ours" python3 -c "
import zipfile
z = zipfile.ZipFile('ours.zip')
assert z.testzip() is None
i = z.getinfo('small/d69/f999.txt')
assert i.header_offset > 2**32 and z.getinfo('big.bin').file_size == 4608 << 20
print(len(z.namelist()))"
step "brxzip extract ours" "$BRXZIP" extract -d out ours.zip
[ "$(stat -c %s out/big.bin)" = 4831838208 ] || { echo "big.bin extracted wrong"; exit 1; }
rm -rf out

step "zip list ours (unzip -l)" sh -c "unzip -l ours.zip >/dev/null"
step "brxzip list zip's" sh -c "'$BRXZIP' list zip.zip >/dev/null"
step "brxzip test zip's" "$BRXZIP" test zip.zip
step "brxzip list 7zz's" sh -c "'$BRXZIP' list seven.zip >/dev/null"
step "brxzip test 7zz's" "$BRXZIP" test seven.zip
step "unzip -t zip's" unzip -tqq zip.zip
step "7zz t 7zz's" 7zz t -bd seven.zip
step "brxzip delete one small file" "$BRXZIP" delete ours.zip small/d0/f0.txt
step "unzip -t ours after delete" unzip -tqq ours.zip
echo "all checks passed"
