#!/usr/bin/env bash
# Regenerates the zip fixtures of tst_ziparchive from the files under src/.
# Every archive holds the same members; the test compares each member it reads
# with the file of that name under src/.
# Needs: Info-ZIP zip, 7z (p7zip-full), bsdtar (libarchive-tools), cmake, python3.
set -euo pipefail
cd "$(dirname "$0")"
rm -rf src ./*.zip
mkdir -p src/images src/dir

python3 - <<'PY'
import json
# Deterministic bytes: text that compresses well and noise that does not.
lines = ["line %04d of a skin package text member, with some repetition\n" % i for i in range(200)]
open("src/readme.txt", "w").write("".join(lines))
open("src/style.json", "w").write(json.dumps({"style": {"btn": {"type": "rect", "bgColor": "#ff102030"}}}, indent=2))
state = 12345
noise = bytearray()
for _ in range(3000):
    state = (state * 1103515245 + 12345) & 0x7fffffff
    noise.append(state >> 16 & 0xff)
open("src/images/noise.bin", "wb").write(bytes(noise))
open("src/dir/empty.txt", "wb").write(b"")
PY

members=(readme.txt style.json images/noise.bin dir/empty.txt)

# Info-ZIP: stored, deflated, a 60000-byte comment, and written to a pipe so
# that sizes follow the data in descriptors.
(cd src && zip -q -X -0 -r ../infozip-stored.zip "${members[@]}")
(cd src && zip -q -X -9 -r ../infozip-deflated.zip "${members[@]}")
# zip ends each comment line but the last with CR LF: 599 x (98 + 2) + 100.
python3 -c 'import sys; sys.stdout.write(("c" * 98 + "\n") * 599 + "c" * 100)' > comment.txt
(cd src && zip -q -X -r -z ../infozip-comment.zip "${members[@]}" < ../comment.txt)
rm comment.txt
(cd src && zip -q -X -fz- -r - "${members[@]}" | cat > ../infozip-pipe.zip)

python3 - <<'PY'
import zipfile
with zipfile.ZipFile("python-zipfile.zip", "w") as z:
    z.write("src/readme.txt", "readme.txt", compress_type=zipfile.ZIP_DEFLATED)
    z.write("src/style.json", "style.json", compress_type=zipfile.ZIP_STORED)
    z.write("src/images/noise.bin", "images/noise.bin", compress_type=zipfile.ZIP_DEFLATED)
    z.write("src/dir/empty.txt", "dir/empty.txt")
PY

(cd src && 7z a -tzip -bso0 -bsp0 ../7z.zip "${members[@]}")
(cd src && bsdtar --format zip -cf ../bsdtar.zip "${members[@]}")
(cd src && cmake -E tar cf ../cmake-tar.zip --format=zip "${members[@]}")

# 32 bytes of other data in front of an archive whose offsets ignore them.
{ printf 'thirty-two bytes of other data!\n'; cat infozip-deflated.zip; } > prefixed.zip

# No tool writes the traditional cipher with an empty password: build it here.
# One deflated member checked by its CRC, one stored member with a data
# descriptor checked by its DOS time.
python3 - <<'PY'
import struct, zlib

def crc_update(crc, b):
    return zlib.crc32(bytes([b]), crc ^ 0xffffffff) ^ 0xffffffff

class Cipher:
    def __init__(self):
        self.k = [305419896, 591751049, 878082192]
    def update(self, b):
        k = self.k
        k[0] = crc_update(k[0], b)
        k[1] = ((k[1] + (k[0] & 0xff)) * 134775813 + 1) & 0xffffffff
        k[2] = crc_update(k[2], k[1] >> 24)
    def encrypt(self, data):
        out = bytearray()
        for b in data:
            t = self.k[2] | 2
            out.append(b ^ (((t * (t ^ 1)) >> 8) & 0xff))
            self.update(b)
        return bytes(out)

time, date = 0x6a5b, 0x5a21
entries = [("readme.txt", 8, False), ("images/noise.bin", 0, True)]
body, central = bytearray(), bytearray()
for i, (name, method, descriptor) in enumerate(entries):
    data = open("src/" + name, "rb").read()
    crc = zlib.crc32(data)
    payload = data if method == 0 else zlib.compress(data, 9)[2:-4]
    check = (time >> 8) if descriptor else (crc >> 24)
    header = bytes((7 * j + i) & 0xff for j in range(11)) + bytes([check])
    cipher = Cipher()
    secret = cipher.encrypt(header + payload)
    flags = 1 | (8 if descriptor else 0)
    offset = len(body)
    lcrc, lcomp, lsize = (0, 0, 0) if descriptor else (crc, len(secret), len(data))
    fname = name.encode()
    body += struct.pack("<IHHHHHIIIHH", 0x04034b50, 20, flags, method, time, date,
                        lcrc, lcomp, lsize, len(fname), 0) + fname + secret
    if descriptor:
        body += struct.pack("<IIII", 0x08074b50, crc, len(secret), len(data))
    central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014b50, 20, 20, flags, method, time, date,
                           crc, len(secret), len(data), len(fname), 0, 0, 0, 0, 0, offset) + fname
end = struct.pack("<IHHHHIIH", 0x06054b50, 0, 0, len(entries), len(entries),
                  len(central), len(body), 0)
open("encrypted.zip", "wb").write(bytes(body + central + end))
PY

ls -l ./*.zip
