#!/usr/bin/env python3
"""Writes the C++ header that holds the product server's host enciphered with
RC4, so that the plain host never appears in the program's bytes.

usage: encipher_host.py HOST KEY OUT_HEADER
"""
import sys


def rc4(data: bytes, key: bytes) -> bytes:
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) & 0xFF
        s[i], s[j] = s[j], s[i]
    out = bytearray()
    i = j = 0
    for byte in data:
        i = (i + 1) & 0xFF
        j = (j + s[i]) & 0xFF
        s[i], s[j] = s[j], s[i]
        out.append(byte ^ s[(s[i] + s[j]) & 0xFF])
    return bytes(out)


def c_string(text: str) -> str:
    return '"' + "".join(c if c.isalnum() else "\\x%02x\"\"" % ord(c) for c in text) + '"'


def main() -> int:
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    host, key, out = sys.argv[1], sys.argv[2], sys.argv[3]
    if len(key) != 13 or not key.isascii():
        print("the key text must be 13 ASCII characters", file=sys.stderr)
        return 2
    if "\0" in host or not host.isascii():
        print("the host must be a plain ASCII host name or address", file=sys.stderr)
        return 2
    # The zero byte ends the host when deciphered; it also keeps the array
    # non-empty for an empty host.
    cipher = rc4(host.encode("ascii") + b"\0", key.encode("ascii"))
    body = ", ".join("0x%02x" % b for b in cipher)
    text = (
        "// Generated when the program is built. Do not edit.\n"
        "#pragma once\n\n"
        "static const unsigned char kServerHostCipher[] = {%s};\n"
        "static const char kServerHostKey[] = %s;\n" % (body, c_string(key))
    )
    try:
        with open(out, encoding="ascii") as f:
            if f.read() == text:
                return 0  # unchanged: keep the timestamp, nothing to rebuild
    except OSError:
        pass
    with open(out, "w", encoding="ascii") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
