#!/usr/bin/env python3
"""Writes a copy of a signed program whose signature (PKCS #7 SignedData) carries a second signer:
the same authenticated attributes as the first signer, signed with another key.
Usage: add_signer.py SIGNED.exe CERT.pem KEY.pem OUT.exe"""
import subprocess
import sys


def read_tlv(data, pos):
    tag, length = data[pos], data[pos + 1]
    pos += 2
    if length & 0x80:
        count = length & 0x7F
        length = int.from_bytes(data[pos:pos + count], 'big')
        pos += count
    return tag, pos, pos + length  # tag, content start, content end


def children(data, start, end):
    items, pos = [], start
    while pos < end:
        tag, cs, ce = read_tlv(data, pos)
        items.append((tag, data[pos:ce], data[cs:ce]))  # tag, whole, content
        pos = ce
    return items


def encode(tag, content):
    n = len(content)
    if n < 0x80:
        return bytes([tag, n]) + content
    raw = n.to_bytes((n.bit_length() + 7) // 8, 'big')
    return bytes([tag, 0x80 | len(raw)]) + raw + content


def certificate_entry(pe):
    lfanew = int.from_bytes(pe[0x3C:0x40], 'little')
    magic = int.from_bytes(pe[lfanew + 24:lfanew + 26], 'little')
    return lfanew + 24 + (96 if magic == 0x10B else 112) + 4 * 8


def issuer_and_serial(cert):
    tbs = children(cert, read_tlv(cert, 0)[1], len(cert))[0]
    fields = children(tbs[1], read_tlv(tbs[1], 0)[1], len(tbs[1]))
    if fields[0][0] == 0xA0:  # explicit version
        fields = fields[1:]
    return encode(0x30, fields[2][1] + fields[0][1])  # issuer, serial number


def main():
    pe_path, cert_path, key_path, out_path = sys.argv[1:5]
    pe = bytearray(open(pe_path, 'rb').read())
    entry = certificate_entry(pe)
    offset = int.from_bytes(pe[entry:entry + 4], 'little')
    signature = bytes(pe[offset + 8:read_tlv(pe, offset + 8)[2]])

    content_type, explicit = children(signature, read_tlv(signature, 0)[1], len(signature))[:2]
    signed = explicit[2]
    parts = children(signed, read_tlv(signed, 0)[1], len(signed))
    first = children(parts[-1][2], 0, len(parts[-1][2]))[0]
    version, _, digest, attributes, algorithm = children(first[2], 0, len(first[2]))[:5]
    signed_digest = subprocess.run(['openssl', 'dgst', '-sha256', '-sign', key_path],
                                   input=encode(0x31, attributes[2]), check=True,
                                   capture_output=True).stdout
    cert = subprocess.run(['openssl', 'x509', '-in', cert_path, '-outform', 'DER'], check=True,
                          capture_output=True).stdout
    second = encode(0x30, version[1] + issuer_and_serial(cert) + digest[1] + attributes[1] +
                    algorithm[1] + encode(0x04, signed_digest))

    rebuilt = [encode(0xA0, content + cert) if tag == 0xA0 else whole for tag, whole, content in parts[:-1]]
    rebuilt.append(encode(0x31, parts[-1][2] + second))
    out = encode(0x30, content_type[1] + encode(0xA0, encode(0x30, b''.join(rebuilt))))

    blob = out + b'\0' * (-len(out) % 8)
    table = (8 + len(blob)).to_bytes(4, 'little') + (0x200).to_bytes(2, 'little') + \
        (2).to_bytes(2, 'little') + blob
    pe = pe[:offset] + table
    pe[entry + 4:entry + 8] = len(table).to_bytes(4, 'little')
    open(out_path, 'wb').write(bytes(pe))


if __name__ == '__main__':
    main()
