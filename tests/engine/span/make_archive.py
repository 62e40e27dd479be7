# Writes a test archive: a deflated text, stored random parts, an entry with
# an extra field and a comment; padded with an archive comment to an exact size.
# usage: make_archive.py PATH TOTAL_SIZE PART_SIZE PARTS [descriptors]
import io
import random
import sys
import zipfile


class Unseekable(io.RawIOBase):
    """A stream the archive writer cannot seek in, so it writes data descriptors."""

    def __init__(self, target):
        self.target = target

    def writable(self):
        return True

    def write(self, data):
        return self.target.write(data)


def build(path, part_size, parts, descriptors, comment):
    rnd = random.Random(1234)
    with open(path, "wb") as raw:
        stream = Unseekable(raw) if descriptors else raw
        with zipfile.ZipFile(stream, "w") as z:
            z.writestr("docs/readme.txt", b"multi-volume test archive\n" * 400, zipfile.ZIP_DEFLATED)
            for i in range(parts):
                z.writestr("data/part%d.bin" % i, rnd.randbytes(part_size), zipfile.ZIP_STORED)
            info = zipfile.ZipInfo("notes/with extra.txt", (2020, 5, 17, 10, 30, 0))
            info.extra = b"\xfe\xca\x04\x00ABCD"
            info.comment = b"entry comment"
            z.writestr(info, b"tail entry " * 50, zipfile.ZIP_DEFLATED)
            z.comment = comment
    with open(path, "rb") as f:
        return len(f.read())


def main():
    path, total, part_size, parts = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    descriptors = len(sys.argv) > 5 and sys.argv[5] == "descriptors"
    size = build(path, part_size, parts, descriptors, b"")
    if total > size:
        build(path, part_size, parts, descriptors, b"c" * (total - size))


main()
