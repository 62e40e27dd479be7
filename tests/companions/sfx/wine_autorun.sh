#!/bin/sh
# Runs the real ZIPSFX.BIN under Wine: a self-extractor named "!..." with
# automatic extraction must extract its files into its default folder
# without any question. Skips when Wine or the stub is not there.
set -eu

WINE=$(command -v wine || command -v wine64 || true)
STUB="${BRX_BIN_DIR:-}/ZIPSFX.BIN"
if [ -z "$WINE" ]; then
    echo "SKIP: wine is not installed"
    exit 0
fi
if [ ! -f "$STUB" ]; then
    echo "SKIP: $STUB was not built"
    exit 0
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
TARGET="$WORK/target"
EXE="$WORK/!autorun.exe"

# Header: automatic run, always overwrite, no success message; the default
# folder is the Windows view (drive Z:) of $TARGET.
python3 - "$STUB" "$EXE" "$TARGET" <<'PY'
import io, struct, sys, zipfile
stub_path, exe_path, target = sys.argv[1:]
stub = open(stub_path, 'rb').read()
folder = ('Z:' + target.replace('/', '\\')).encode('cp1252')
strings = [b'Wine test', folder, b'', b'']
size = (12 + sum(len(s) for s in strings) + 3) // 4 * 4
header = b'MPV' + bytes([0x40 | 0x08 | 0x80, 0, 1]) + struct.pack('<H', size)
for s in strings:
    header += bytes([len(s)]) + s
header += b'\0' * (size - len(header))

buf = io.BytesIO()
with zipfile.ZipFile(buf, 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('hello.txt', 'hello from wine\n')
    z.writestr('sub/data.bin', bytes(range(256)) * 40)
zip_bytes = bytearray(buf.getvalue())
shift = len(stub) + len(header)
end = zip_bytes.rfind(b'PK\x05\x06')
count, cd_size, cd_offset = struct.unpack_from('<HII', zip_bytes, end + 10)
pos = cd_offset
for _ in range(count):
    name_len, extra_len, comment_len = struct.unpack_from('<HHH', zip_bytes, pos + 28)
    local = struct.unpack_from('<I', zip_bytes, pos + 42)[0]
    struct.pack_into('<I', zip_bytes, pos + 42, local + shift)
    pos += 46 + name_len + extra_len + comment_len
struct.pack_into('<I', zip_bytes, end + 16, cd_offset + shift)
open(exe_path, 'wb').write(stub + header + bytes(zip_bytes))
PY

export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
RUN="$WINE"
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
    RUN="xvfb-run -a $WINE"
fi
timeout 240 $RUN "$EXE" || { echo "FAIL: the stub ended with status $?"; exit 1; }

if [ "$(cat "$TARGET/hello.txt")" != "hello from wine" ]; then
    echo "FAIL: hello.txt missing or wrong"
    exit 1
fi
python3 -c "import sys; d=open(sys.argv[1],'rb').read(); sys.exit(d != bytes(range(256))*40)" "$TARGET/sub/data.bin" \
    || { echo "FAIL: sub/data.bin missing or wrong"; exit 1; }
echo "PASS: the stub extracted both files under Wine"
