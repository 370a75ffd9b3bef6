#!/usr/bin/env python3
"""Writes a small one-page PDF user guide. Usage: make_guide.py OUTPUT.pdf TITLE LINE..."""
import sys


def escape(text):
    return text.replace('\\', '\\\\').replace('(', '\\(').replace(')', '\\)')


def main():
    out, title, lines = sys.argv[1], sys.argv[2], sys.argv[3:]
    content = ["BT /F1 20 Tf 72 760 Td (%s) Tj ET" % escape(title)]
    y = 720
    for line in lines:
        content.append("BT /F1 12 Tf 72 %d Td (%s) Tj ET" % (y, escape(line)))
        y -= 18
    stream = "\n".join(content).encode('latin-1')
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    ]
    pdf = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(pdf))
        pdf += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(pdf)
    pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        pdf += b"%010d 00000 n \n" % off
    pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(out, 'wb') as f:
        f.write(pdf)


if __name__ == '__main__':
    main()
