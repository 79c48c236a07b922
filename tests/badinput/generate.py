#!/usr/bin/env python3
"""Writes the bad-input corpus into a folder: for every format the program reads, truncated
and bit-flipped variants of a small valid file, absurd declared sizes, decompression bombs,
loops, deep nesting, broken text encodings, and awkward file names. Everything is made here
from a fixed seed, so two runs give the same bytes. Valid JPEG, HEIC and HWP bases are
made by tavrino-cli from the PNG base (pass --cli); without it those formats are left out.

usage: generate.py OUT_DIR [--cli PATH] [--sample]"""

import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import unicodedata
import zipfile
import zlib


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width=16, height=12, declared=None):
    w, h = declared or (width, height)
    rows = b"".join(b"\0" + bytes((x * 16 + y) % 256 for x in range(width * 3)) for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b""))


def png_bomb():
    # 20000 x 20000 RGB of zeros: 1.2 GB of pixels from about 1 MB of deflate.
    width = height = 20000
    compressor = zlib.compressobj(9)
    row = b"\0" * (1 + width * 3)
    data = b"".join(compressor.compress(row) for _ in range(height)) + compressor.flush()
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + png_chunk(b"IDAT", data) + png_chunk(b"IEND", b""))


def bmp(width=8, height=6, declared=None):
    w, h = declared or (width, height)
    stride = (width * 3 + 3) & ~3
    pixels = bytes((i * 7) % 256 for i in range(stride * height))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


# A 1 x 1 GIF89a with a two-colour table, written out byte by byte.
GIF = (b"GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff"
       b",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")


def gif_huge():
    return GIF[:6] + struct.pack("<HH", 65535, 65535) + GIF[10:32] + struct.pack("<HH", 65535, 65535) + GIF[36:]


def tiff(width=8, height=6, declared=None, loop=False, samples=3):
    w, h = declared or (width, height)
    pixels = bytes((i * 5) % 256 for i in range(width * height * 3))
    entries = [(256, 4, 1, w), (257, 4, 1, h), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 2),
               (273, 4, 1, 8), (277, 3, 1, samples), (278, 4, 1, h), (279, 4, 1, len(pixels))]
    ifd_at = 8 + len(pixels)
    ifd = struct.pack("<H", len(entries)) + b"".join(struct.pack("<HHII", *e) for e in entries)
    # The next-IFD offset pointing back at this IFD makes an endless chain.
    ifd += struct.pack("<I", ifd_at if loop else 0)
    return b"II*\x00" + struct.pack("<I", ifd_at) + pixels + ifd


def pdf(objects, root=1, xref_loop=False, encrypt=False):
    out = bytearray(b"%PDF-1.7\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    xref_at = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    out += b"".join(b"%010d 00000 n \n" % o for o in offsets)
    trailer = b"/Size %d /Root %d 0 R" % (len(objects) + 1, root)
    if xref_loop:
        trailer += b" /Prev %d" % xref_at  # the previous section is this one again
    if encrypt:
        trailer += (b" /Encrypt << /Filter /Standard /V 2 /R 3 /Length 128 /P -4 "
                    b"/O <" + b"11" * 32 + b"> /U <" + b"22" * 32 + b"> >> /ID [<00><00>]")
    out += b"trailer\n<< " + trailer + b" >>\nstartxref\n%d\n%%%%EOF\n" % xref_at
    return bytes(out)


def pdf_simple(declared_box=b"0 0 200 100", content=b"BT /F1 12 Tf 10 50 Td (Hello) Tj ET"):
    return pdf([b"<< /Type /Catalog /Pages 2 0 R >>",
                b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                b"<< /Type /Page /Parent 2 0 R /MediaBox [" + declared_box + b"] /Contents 4 0 R >>",
                b"<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content)])


def pdf_page_loop():
    return pdf([b"<< /Type /Catalog /Pages 2 0 R >>",
                b"<< /Type /Pages /Kids [2 0 R 3 0 R] /Count 2 >>",
                b"<< /Type /Pages /Parent 2 0 R /Kids [2 0 R] /Count 1 >>"])


def pdf_stream_bomb():
    data = zlib.compress(b" " * (300 << 20), 9)
    return pdf([b"<< /Type /Catalog /Pages 2 0 R >>",
                b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents 4 0 R >>",
                b"<< /Length %d /Filter /FlateDecode >>\nstream\n" % len(data) + data + b"\nendstream"])


W_NS = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"


def zip_of(entries, stamp=(2020, 1, 1, 0, 0, 0)):
    path = tempfile.mktemp()
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            archive.writestr(zipfile.ZipInfo(name, stamp), data, zipfile.ZIP_DEFLATED)
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    return data


def docx(body='<w:p><w:r><w:t>안녕하세요</w:t></w:r></w:p>', document=None):
    document = document or ('<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="%s">'
                            "<w:body>%s</w:body></w:document>" % (W_NS, body))
    return zip_of([
        ("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>'),
        ("_rels/.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
         '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>'),
        ("word/document.xml", document),
    ])


HP = "http://www.hancom.co.kr/hwpml/2011/paragraph"


def hwpx(section=None):
    section = section or ('<?xml version="1.0" encoding="UTF-8"?><hs:sec xmlns:hs="http://www.hancom.co.kr/hwpml/2011/section" '
                          'xmlns:hp="%s"><hp:p><hp:run><hp:t>안녕하세요</hp:t></hp:run></hp:p></hs:sec>' % HP)
    return zip_of([
        ("mimetype", "application/hwp+zip"),
        ("META-INF/container.xml", '<?xml version="1.0"?><ocf:container xmlns:ocf="urn:oasis:names:tc:opendocument:xmlns:container">'
         '<ocf:rootfiles><ocf:rootfile full-path="Contents/content.hpf" media-type="application/hwpml-package+xml"/></ocf:rootfiles></ocf:container>'),
        ("Contents/content.hpf", '<?xml version="1.0"?><opf:package xmlns:opf="http://www.idpf.org/2007/opf/"><opf:manifest>'
         '<opf:item id="section0" href="Contents/section0.xml" media-type="application/xml"/></opf:manifest>'
         '<opf:spine><opf:itemref idref="section0"/></opf:spine></opf:package>'),
        ("Contents/section0.xml", section),
    ])


def zip_huge_entry(data):
    """Declares 4 GB for the first entry in both the local and the central header."""
    out = bytearray(data)
    local = out.find(b"PK\x03\x04")
    out[local + 22:local + 26] = struct.pack("<I", 0xFFFFFFFF)
    central = out.find(b"PK\x01\x02")
    out[central + 24:central + 28] = struct.pack("<I", 0xFFFFFFFF)
    return bytes(out)


def deflate_bomb_docx():
    # 500 MB of one character inside a paragraph, about 500 KB compressed.
    head = '<?xml version="1.0"?><w:document xmlns:w="%s"><w:body><w:p><w:r><w:t>' % W_NS
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    chunk = b"a" * (1 << 20)
    body = compressor.compress(head.encode())
    for _ in range(500):
        body += compressor.compress(chunk)
    body += compressor.compress(b"</w:t></w:r></w:p></w:body></w:document>") + compressor.flush()
    size = len(head) + 500 * len(chunk) + 41
    base = docx()
    # Replace document.xml's stored stream by hand: rebuild the archive with a raw entry.
    path = tempfile.mktemp()
    with zipfile.ZipFile(path, "w") as archive:
        for info in zipfile.ZipFile(_bytes_file(base)).infolist():
            if info.filename != "word/document.xml":
                archive.writestr(info, zipfile.ZipFile(_bytes_file(base)).read(info.filename))
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    return _append_raw_entry(data, "word/document.xml", body, size, zlib.crc32(head.encode()))


def _bytes_file(data):
    import io
    return io.BytesIO(data)


def _append_raw_entry(archive, name, compressed, size, crc):
    """Adds a deflated entry whose bytes are given, rewriting the central directory."""
    end = archive.rfind(b"PK\x05\x06")
    count, cd_size, cd_at = struct.unpack("<HII", archive[end + 10:end + 20])
    entries, central = archive[:cd_at], archive[cd_at:cd_at + cd_size]
    name_bytes = name.encode()
    local_at = len(entries)
    local = struct.pack("<4sHHHHHIIIHH", b"PK\x03\x04", 20, 0, 8, 0, 0x5021, crc,
                        len(compressed), size & 0xFFFFFFFF, len(name_bytes), 0) + name_bytes
    record = struct.pack("<4sHHHHHHIIIHHHHHII", b"PK\x01\x02", 20, 20, 0, 8, 0, 0x5021, crc,
                         len(compressed), size & 0xFFFFFFFF, len(name_bytes), 0, 0, 0, 0, 0,
                         local_at) + name_bytes
    body = entries + local + compressed
    central += record
    return (body + central + struct.pack("<4sHHHHIIH", b"PK\x05\x06", 0, 0, count + 1, count + 1,
                                         len(central), len(body), 0))


ENTITY_BOMB = ('<?xml version="1.0"?><!DOCTYPE w:document [<!ENTITY a "aaaaaaaaaa">'
               + "".join('<!ENTITY %s "%s">' % (chr(98 + i), ("&%s;" % chr(97 + i)) * 10) for i in range(8))
               + ']><w:document xmlns:w="%s"><w:body><w:p><w:r><w:t>&i;</w:t></w:r></w:p></w:body></w:document>' % W_NS)


def deep_docx(depth=100000):
    return docx(document='<?xml version="1.0"?><w:document xmlns:w="%s"><w:body>%s%s</w:body></w:document>'
                % (W_NS, "<w:tbl><w:tr><w:tc>" * (depth // 3), "</w:tc></w:tr></w:tbl>" * (depth // 3)))


def huge_table_docx():
    # The grid declares a billion cells through an absurd column span.
    return docx('<w:tbl><w:tblGrid>' + '<w:gridCol w:w="1"/>' * 10 + '</w:tblGrid><w:tr><w:tc><w:tcPr>'
                '<w:gridSpan w:val="1000000000"/></w:tcPr><w:p/></w:tc></w:tr></w:tbl>')


def truncated_and_flipped(name, data, rng, out):
    out[name + "-truncated-half"] = data[: len(data) // 2]
    out[name + "-truncated-head"] = data[:12]
    flipped = bytearray(data)
    for _ in range(max(4, len(data) // 200)):
        at = rng.randrange(len(flipped))
        flipped[at] ^= 1 << rng.randrange(8)
    out[name + "-bitflip"] = bytes(flipped)


def made_by_cli(cli, item, source, extension, work):
    """A valid file of a format we cannot write by hand, made by our own converter."""
    if not cli:
        return None
    src = os.path.join(work, "base." + source[1])
    with open(src, "wb") as f:
        f.write(source[0])
    subprocess.run([cli, "run", item, src], capture_output=True)
    made = os.path.join(work, "base." + extension)
    if not os.path.exists(made):
        return None
    with open(made, "rb") as f:
        return f.read()


def corpus(cli):
    """Maps file name (without extension) and extension to bytes; also returns the valid
    bases by extension."""
    rng = random.Random(19)
    files = {}
    work = tempfile.mkdtemp()
    try:
        bases = {"png": png(), "bmp": bmp(), "gif": GIF, "tiff": tiff(), "pdf": pdf_simple(),
                 "docx": docx(), "hwpx": hwpx()}
        for extension, item, source in (("jpg", "convert(jpg)", (bases["png"], "png")),
                                        ("heic", "convert(heic)", (bases["png"], "png")),
                                        ("hwp", "fromWord(hwp)", (bases["docx"], "docx"))):
            made = made_by_cli(cli, item, source, extension, work)
            if made:
                bases[extension] = made
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for extension, data in bases.items():
        variants = {}
        truncated_and_flipped("base", data, rng, variants)
        for name, variant in variants.items():
            files[(extension + "-" + name, extension)] = variant
    files[("png-100000x100000", "png")] = png(declared=(100000, 100000))
    files[("png-decompression-bomb", "png")] = png_bomb()
    files[("bmp-100000x100000", "bmp")] = bmp(declared=(100000, 100000))
    files[("bmp-negative-height", "bmp")] = bmp(declared=(8, -2147483647))
    files[("gif-65535x65535", "gif")] = gif_huge()
    files[("tiff-100000x100000", "tiff")] = tiff(declared=(100000, 100000))
    files[("tiff-ifd-loop", "tiff")] = tiff(loop=True)
    # Few pixels but 870 samples each: one scanline alone would take 456 MB.
    files[("tiff-samples-bomb", "tiff")] = tiff(declared=(524288, 6), samples=870)
    files[("pdf-page-tree-loop", "pdf")] = pdf_page_loop()
    files[("pdf-xref-loop", "pdf")] = pdf_simple()[:-1] and pdf([b"<< /Type /Catalog /Pages 2 0 R >>",
                                                                 b"<< /Type /Pages /Kids [] /Count 0 >>"], xref_loop=True)
    files[("pdf-stream-bomb", "pdf")] = pdf_stream_bomb()
    files[("pdf-encrypted", "pdf")] = pdf([b"<< /Type /Catalog /Pages 2 0 R >>",
                                           b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>"], encrypt=True)
    files[("pdf-huge-mediabox", "pdf")] = pdf_simple(b"0 0 14400000 14400000")
    files[("docx-4gb-entry", "docx")] = zip_huge_entry(docx())
    files[("docx-deflate-bomb", "docx")] = deflate_bomb_docx()
    files[("docx-entity-bomb", "docx")] = docx(document=ENTITY_BOMB)
    files[("docx-deep-nesting", "docx")] = deep_docx()
    files[("docx-billion-cells", "docx")] = huge_table_docx()
    files[("docx-invalid-utf8", "docx")] = docx(document=b'<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="'
                                                + W_NS.encode() + b'"><w:body><w:p><w:r><w:t>\xff\xfe\xc3(</w:t></w:r></w:p></w:body></w:document>')
    files[("docx-no-main-part", "docx")] = zip_of([("[Content_Types].xml", "<Types/>")])
    files[("docx-not-a-zip", "docx")] = b"PK\x03\x04" + bytes(rng.randrange(256) for _ in range(300))
    files[("hwpx-4gb-entry", "hwpx")] = zip_huge_entry(hwpx())
    files[("hwpx-entity-bomb", "hwpx")] = hwpx(ENTITY_BOMB.replace("w:document", "hs:sec"))
    files[("hwpx-invalid-utf16", "hwpx")] = hwpx(b'\xff\xfe<\x00h\x00s\x00:\x00s\x00e\x00c\x00' + b"\x00\xd8" * 8)
    files[("hwpx-deep-nesting", "hwpx")] = hwpx('<?xml version="1.0"?><hs:sec xmlns:hs="x" xmlns:hp="%s">%s%s</hs:sec>'
                                                % (HP, "<hp:p><hp:run>" * 50000, "</hp:run></hp:p>" * 50000))
    files[("hwp-not-compound", "hwp")] = b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + bytes(rng.randrange(256) for _ in range(1000))
    files[("hwp-sector-loop", "hwp")] = compound_loop()
    if "hwp" in bases:
        encrypted = bytearray(bases["hwp"])
        files[("hwp-encrypted-flag", "hwp")] = set_hwp_flag(encrypted)
        files[("hwp-4gb-stream", "hwp")] = compound_stream_size(bases["hwp"], "Section0", 0xFFFFFFF0)
        files[("hwp-directory-loop", "hwp")] = compound_directory_loop(bases["hwp"])
    if "jpg" in bases:
        files[("jpg-65535x65535", "jpg")] = jpeg_declared(bases["jpg"], 65535, 65535)
    if "heic" in bases:
        files[("heic-100000x100000", "heic")] = heic_declared(bases["heic"], 100000, 100000)
    return files, bases


def jpeg_declared(data, width, height):
    """The frame header (SOF0..SOF2) declares another size; the scan stays as it was."""
    out = bytearray(data)
    for marker in (b"\xff\xc0", b"\xff\xc1", b"\xff\xc2"):
        at = out.find(marker)
        if at >= 0:
            struct.pack_into(">HH", out, at + 5, height, width)
            break
    return bytes(out)


def heic_declared(data, width, height):
    """Every image-spatial-extents property (ispe) declares another size."""
    out = bytearray(data)
    at = out.find(b"ispe")
    while at >= 0:
        struct.pack_into(">II", out, at + 8, width, height)
        at = out.find(b"ispe", at + 4)
    return bytes(out)


def compound_layout(data):
    """The sector size, the FAT as a list and the offset of each directory entry."""
    sector = 1 << struct.unpack_from("<H", data, 30)[0]
    fat_sectors = [s for s in struct.unpack_from("<109I", data, 76) if s < 0xFFFFFFFA]
    fat = []
    for s in fat_sectors:
        fat += struct.unpack_from("<%dI" % (sector // 4), data, (s + 1) * sector)
    return sector, fat_sectors, fat


def compound_stream_size(data, name, size):
    """The directory entry named `name` declares `size` bytes (its sectors stay as they were)."""
    out = bytearray(data)
    at = out.find(name.encode("utf-16-le") + b"\0\0")
    if at >= 0:
        struct.pack_into("<I", out, at + 120, size)
    return bytes(out)


def compound_directory_loop(data):
    """The FAT says the directory's first sector follows itself."""
    out = bytearray(data)
    sector, fat_sectors, _ = compound_layout(data)
    first = struct.unpack_from("<I", data, 48)[0]
    per_sector = sector // 4
    fat_sector = fat_sectors[first // per_sector]
    struct.pack_into("<I", out, (fat_sector + 1) * sector + 4 * (first % per_sector), first)
    return bytes(out)


def compound_loop():
    """A compound-file header whose FAT says sector 0 follows itself."""
    header = bytearray(512)
    header[0:8] = b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1"
    struct.pack_into("<HHHH", header, 24, 0x3E, 3, 0xFFFE, 9)
    struct.pack_into("<H", header, 32, 6)
    struct.pack_into("<I", header, 44, 1)      # one FAT sector
    struct.pack_into("<I", header, 48, 0)      # directory starts at sector 0
    struct.pack_into("<I", header, 56, 4096)
    struct.pack_into("<I", header, 60, 0xFFFFFFFE)
    struct.pack_into("<I", header, 68, 0xFFFFFFFE)
    struct.pack_into("<I", header, 76, 1)      # FAT in sector 1
    for i in range(1, 109):
        struct.pack_into("<I", header, 76 + 4 * i, 0xFFFFFFFF)
    directory = bytearray(512)
    fat = bytearray(b"\xff" * 512)
    struct.pack_into("<II", fat, 0, 0, 0xFFFFFFFD)  # sector 0 -> 0 -> 0 ...
    return bytes(header + directory + fat)


def set_hwp_flag(data):
    """Sets the password bit of the FileHeader stream's properties where the stream's
    signature is found (the first sector holding it)."""
    at = data.find(b"HWP Document File")
    if at >= 0:
        data[at + 36] |= 0x02
    return bytes(data)


NAMES = ["이름 공백 있음", unicodedata.normalize("NFD", "한글 자모 분해"), "-leading-dash",
         "line\nfeed"]


def long_names(extension):
    """Names of exactly 250 bytes with the extension, in ASCII and in Korean (three bytes a
    syllable): an output name a few bytes longer no longer fits a folder entry."""
    room = 250 - len(extension) - 1
    korean = "가" * (room // 3) + "x" * (room % 3)
    return ["x" * room, korean]


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("out")
    parser.add_argument("--cli")
    parser.add_argument("--sample", action="store_true", help="a few files of each format")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    files, bases = corpus(args.cli)
    if args.sample:
        keep = {}
        for (name, extension), data in files.items():
            if "bitflip" in name or "loop" in name or "bomb" in name or "4gb" in name:
                keep[(name, extension)] = data
        files = keep
    written = 0
    for (name, extension), data in sorted(files.items()):
        with open(os.path.join(args.out, "%s.%s" % (name, extension)), "wb") as f:
            f.write(data)
        written += 1
    # Awkward names on a valid PNG, DOCX and HWP (the HWP route hands the source's own path
    # to the document tool).
    for extension, data in [("png", png()), ("docx", docx())] + [("hwp", bases["hwp"])] * ("hwp" in bases):
        for name in NAMES + long_names(extension):
            with open(os.path.join(args.out, "%s.%s" % (name, extension)), "wb") as f:
                f.write(data)
            written += 1
    print(written)


if __name__ == "__main__":
    sys.exit(main())
