#!/usr/bin/env python3
"""Makes the archives the unpack benchmark times, once; later runs reuse them.

  many.zip  2,000 small files in 40 folders, about 10 MiB in all
  big.zip   one file of 256 MiB

Both hold mixed content: text-like runs that compress well and random runs
that do not, as the product's pictures and data files do.
"""
import os
import random
import sys
import zipfile

WORDS = ("install resource image head data config cache mount path value "
         "window button label progress server product archive entry folder").split()


def text_block(rng, size):
    out = []
    n = 0
    while n < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 12)))
        line += " %d\n" % rng.randint(0, 99999)
        out.append(line)
        n += len(line)
    return "".join(out).encode()[:size]


def mixed(rng, size):
    parts = []
    n = 0
    while n < size:
        k = min(size - n, rng.randint(256, 4096))
        parts.append(text_block(rng, k) if rng.random() < 0.7 else rng.randbytes(k))
        n += k
    return b"".join(parts)


def make_many(path):
    rng = random.Random(1)
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for i in range(2000):
            size = rng.randint(512, 9 * 1024)
            z.writestr("folder%02d/file%04d.dat" % (i % 40, i), mixed(rng, size))
    os.replace(tmp, path)


def make_big(path):
    rng = random.Random(2)
    # A pool of 1 MiB blocks, laid out in random order: enough variety that
    # the compressor cannot collapse the file, cheap enough to generate.
    pool = [mixed(rng, 1 << 20) for _ in range(24)]
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        with z.open("big.dat", "w") as f:
            for _ in range(256):
                f.write(rng.choice(pool))
    os.replace(tmp, path)


def main():
    work = sys.argv[1]
    os.makedirs(work, exist_ok=True)
    for name, make in (("many.zip", make_many), ("big.zip", make_big)):
        path = os.path.join(work, name)
        if not os.path.exists(path):
            print("making", path, flush=True)
            make(path)


if __name__ == "__main__":
    main()
