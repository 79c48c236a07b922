#!/usr/bin/env python3
"""Writes the inputs of the tools benchmark into the folder given: ten 50-page text PDFs
(each page a different paragraph, content streams compressed as real documents are), and
with --illustrated ten whose pages also carry a 128 x 128 photo-like picture each."""
import sys
import zlib
from pathlib import Path

WORDS = ("merge pages of real documents keep fonts and streams as they are while the "
         "result grows page by page").split()


def page_stream(doc: int, page: int) -> bytes:
    lines = []
    for row in range(40):
        text = " ".join(WORDS[(doc + page + row + k) % len(WORDS)] for k in range(10))
        lines.append(f"BT /F1 10 Tf 50 {780 - row * 18} Td ({doc}-{page}-{row} {text}) Tj ET")
    return zlib.compress("\n".join(lines).encode())


def picture(seed: int) -> bytes:
    """Noisy gradients: compresses about as badly as a photo does."""
    state, out = seed * 7919 + 1, bytearray()
    for y in range(128):
        for x in range(128):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            noise = state >> 26
            out += bytes(((x + noise) & 255, (y * 2 + noise) & 255, (x + y + noise) & 255))
    return zlib.compress(bytes(out))


def stream(dictionary: str, data: bytes) -> bytes:
    return (f"<< {dictionary} /Length {len(data)} /Filter /FlateDecode >>\nstream\n".encode()
            + data + b"\nendstream")


def write_pdf(path: Path, doc: int, pages: int, illustrated: bool) -> None:
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"",
               b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    kids = []
    for p in range(pages):
        page_id, content_id = len(objects) + 1, len(objects) + 2
        kids.append(f"{page_id} 0 R")
        image = f"/XObject << /Im1 {content_id + 1} 0 R >>" if illustrated else ""
        objects.append(f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources "
                       f"<< /Font << /F1 3 0 R >> {image} >> /Contents {content_id} 0 R >>"
                       .encode())
        data = page_stream(doc, p)
        if illustrated:
            data = zlib.compress(zlib.decompress(data) + b"\nq 200 0 0 200 300 50 cm /Im1 Do Q")
        objects.append(stream("", data))
        if illustrated:
            objects.append(stream("/Type /XObject /Subtype /Image /Width 128 /Height 128 "
                                  "/ColorSpace /DeviceRGB /BitsPerComponent 8",
                                  picture(doc * 100 + p)))
    objects[1] = f"<< /Type /Pages /Kids [{' '.join(kids)}] /Count {pages} >>".encode()
    out = bytearray(b"%PDF-1.5\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n".encode() + body + b"\nendobj\n"
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode()
    out += (f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n"
            "%%EOF\n").encode()
    path.write_bytes(out)


if __name__ == "__main__":
    folder = Path(sys.argv[1])
    illustrated = "--illustrated" in sys.argv[2:]
    for doc in range(10):
        write_pdf(folder / f"doc{doc:02d}.pdf", doc, 50, illustrated)
