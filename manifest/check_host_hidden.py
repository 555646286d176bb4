#!/usr/bin/env python3
"""Fails when any of the given program files holds the host as plain bytes
(ASCII or UTF-16).

usage: check_host_hidden.py HOST FILE...
"""
import sys


def main() -> int:
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    host = sys.argv[1]
    if not host:
        print("empty host: nothing to look for")
        return 0
    needles = [host.encode("ascii"), host.encode("utf-16-le")]
    bad = 0
    for path in (p for p in sys.argv[2:] if p):
        try:
            with open(path, "rb") as f:
                data = f.read()
        except OSError as e:
            print("cannot read %s (build it first): %s" % (path, e))
            bad += 1
            continue
        for n in needles:
            at = data.find(n)
            if at >= 0:
                print("%s holds the plain host at offset %d" % (path, at))
                bad += 1
        print("checked %s (%d bytes)" % (path, len(data)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
