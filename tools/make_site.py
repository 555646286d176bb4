#!/usr/bin/env python3
"""Writes the sample product site that the demo server serves.

    make_site.py OUTDIR [--sample-exe PATH]

OUTDIR/vrk/azq.txt          installer description (UTF-8)
OUTDIR/update.html          the update page it points to
OUTDIR/vrk/shuju/*.zip      the two resource archives
OUTDIR/vrk/shuju/*.dll      stand-ins for the product's two libraries
OUTDIR/vrk/exe/zcx/*_z.exe  each product's main program
OUTDIR/expected/*.txt       the entry names of each archive, one UTF-8 path a
                            line in archive order, folders ending in "/"

Everything is deterministic: the same input gives the same bytes. Other files
in OUTDIR (a benchmark's big file, a test's fixtures) are left alone, and each
file is replaced in one step so a running server never serves half of it.
"""

import argparse
import os
import shutil
import struct
import sys
import tempfile
import zlib

UPDATE_URL = "http://127.0.0.1:5001/update.html"
BRANDS = ["岚鲸", "橙屿", "KK", "雾匣", "赤隼", "PP"]
PRODUCT_CODES = ["lj", "cy", "KK", "wx", "cs", "PP"]

# 2024-05-01 12:00:00 in MS-DOS form.
DOS_TIME = (12 << 11) | (0 << 5) | 0
DOS_DATE = ((2024 - 1980) << 9) | (5 << 5) | 1

FLAG_DATA_DESCRIPTOR = 0x0008
FLAG_UTF8 = 0x0800


def write_atomically(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    fd, temp = tempfile.mkstemp(dir=os.path.dirname(path), prefix=".part-")
    try:
        with os.fdopen(fd, "wb") as out:
            out.write(data)
        os.chmod(temp, 0o644)
        os.replace(temp, path)
    except BaseException:
        os.unlink(temp)
        raise


# --- sample content -------------------------------------------------------

def pseudo_random(seed, size):
    """Reproducible bytes that do not compress."""
    state = seed & 0xFFFFFFFF
    out = bytearray(size)
    for i in range(size):
        state = (state * 1103515245 + 12345) & 0xFFFFFFFF
        out[i] = (state >> 16) & 0xFF
    return bytes(out)


def png(width, height, seed):
    """A small valid RGB PNG with a pattern that depends on the seed."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            rows += bytes(((x * 7 + seed * 31) & 0xFF, (y * 5 + seed * 17) & 0xFF,
                           ((x ^ y) * 3 + seed) & 0xFF))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def text(body):
    return body.encode("utf-8")


# --- ZIP writer -----------------------------------------------------------
# Written by hand rather than with zipfile: the archives need names in GBK
# with the UTF-8 flag clear, as archivers on Chinese Windows write them, and
# entries with data descriptors.

class Entry:
    def __init__(self, name, data=None, encoding="gbk", method="deflate", descriptor=None):
        self.name = name              # "a/b.png"; folders end in "/"
        self.data = data              # None for a folder
        self.encoding = encoding      # "gbk" (flag bit 11 clear) or "utf-8" (set)
        self.method = method          # "store" or "deflate"
        self.descriptor = descriptor  # None, "signed" or "unsigned"

    @property
    def is_dir(self):
        return self.name.endswith("/")


def build_zip(entries):
    out = bytearray()
    central = bytearray()
    for entry in entries:
        raw_name = entry.name.encode(entry.encoding)
        flags = FLAG_UTF8 if entry.encoding == "utf-8" else 0
        data = b"" if entry.is_dir else entry.data
        method = 0
        stored = data
        if not entry.is_dir and entry.method == "deflate":
            method = 8
            packer = zlib.compressobj(9, zlib.DEFLATED, -15)
            stored = packer.compress(data) + packer.flush()
        crc = zlib.crc32(data) & 0xFFFFFFFF
        if entry.descriptor:
            flags |= FLAG_DATA_DESCRIPTOR
        needed = 20 if method == 8 or entry.is_dir else 10
        offset = len(out)
        # With a data descriptor the local header carries zeros; the real
        # values follow the data.
        local_crc, local_csize, local_usize = ((0, 0, 0) if entry.descriptor
                                               else (crc, len(stored), len(data)))
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, needed, flags, method, DOS_TIME, DOS_DATE,
                           local_crc, local_csize, local_usize, len(raw_name), 0)
        out += raw_name + stored
        if entry.descriptor == "signed":
            out += struct.pack("<IIII", 0x08074B50, crc, len(stored), len(data))
        elif entry.descriptor == "unsigned":
            out += struct.pack("<III", crc, len(stored), len(data))
        attributes = 0x10 if entry.is_dir else 0x20
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, needed, flags, method,
                               DOS_TIME, DOS_DATE, crc, len(stored), len(data), len(raw_name),
                               0, 0, 0, 0, attributes, offset)
        central += raw_name
    central_offset = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                       central_offset, 0)
    return bytes(out)


# --- the two archives -----------------------------------------------------

def avatar_entries():
    """头像.zip: unpacked into Data\\image\\head\\."""
    e = [Entry("默认/"),
         Entry("readme.txt", text("Avatar pack for the assistant.\r\n"), method="store")]
    for i in range(1, 9):
        # PNG data is already compressed: stored, as archivers do.
        e.append(Entry("默认/头像%02d.png" % i, png(24, 24, i), method="store"))
    e += [Entry("英雄/", encoding="utf-8"),
          Entry("英雄/战士/", encoding="utf-8")]
    for i, name in enumerate(["盖伦", "锐雯", "诺手", "剑姬"]):
        e.append(Entry("英雄/战士/%s.png" % name, png(32, 32, 20 + i), encoding="utf-8"))
    e.append(Entry("英雄/法师/"))
    for i, (name, descriptor) in enumerate([("安妮", "signed"), ("拉克丝", "signed"),
                                            ("瑞兹", "unsigned"), ("卡牌", None)]):
        e.append(Entry("英雄/法师/%s.png" % name, png(32, 32, 40 + i), descriptor=descriptor))
    # No folder entry for 英雄/刺客/: the unpacker must make it from the file names.
    for i, name in enumerate(["劫", "阿卡丽", "泰隆"]):
        e.append(Entry("英雄/刺客/%s.png" % name, png(28, 28, 60 + i), encoding="utf-8",
                       method="store"))
    e += [Entry("说明.txt", text("头像包说明\r\n" + "每个英雄一张头像，尺寸不一。\r\n" * 40)),
          Entry("数据/", encoding="utf-8"),
          Entry("数据/索引.dat", pseudo_random(7, 6000), encoding="utf-8", method="store"),
          Entry("数据/空文件.txt", b""),
          Entry("数据/头像列表.txt", text("\r\n".join("头像%02d.png" % i for i in range(1, 9)))
                , descriptor="signed")]
    return e


def beauty_entries():
    """美化.zip: unpacked into Data\\image\\, so it brings Data\\image\\resource."""
    e = [Entry("resource/")]
    for i in range(1, 7):
        e.append(Entry("resource/皮肤%02d.png" % i, png(40, 30, 100 + i), method="store"))
    e += [Entry("resource/config.ini", text("[skin]\r\ncurrent=皮肤01\r\ncount=6\r\n")),
          Entry("resource/字体/", encoding="utf-8"),
          Entry("resource/字体/字体说明.txt", text("使用系统自带的微软雅黑。\r\n" * 30),
                encoding="utf-8"),
          Entry("resource/缓存.bin", pseudo_random(11, 8000), method="store"),
          Entry("背景/"),
          Entry("背景/主界面.png", png(64, 48, 120), descriptor="signed"),
          Entry("背景/登录.png", png(64, 48, 121)),
          Entry("背景/设置.png", png(64, 48, 122), method="store"),
          Entry("图标/", encoding="utf-8"),
          Entry("图标/小/", encoding="utf-8")]
    for i, name in enumerate(["关闭", "最小化", "设置", "返回"]):
        e.append(Entry("图标/小/%s.png" % name, png(16, 16, 130 + i), encoding="utf-8"))
    e += [Entry("图标/大/"),
          Entry("图标/大/logo.png", png(48, 48, 140), method="store"),
          Entry("uncentered/"),
          Entry("uncentered/边框.png", png(20, 20, 150), descriptor="unsigned"),
          Entry("uncentered/阴影.png", png(20, 20, 151)),
          Entry("版本.txt", text("美化包 2024.05\r\n"), encoding="utf-8", method="store")]
    return e


# --- the rest of the site -------------------------------------------------

def manifest_text():
    lines = ["# 岚鲸系列助手 安装器配置",
             "# 改动安装器版本号后，旧安装器会提示用户下载新版本",
             "安装器版本号=（V11）",
             "更新提示=（发现新版本，请下载最新安装器）",
             "",
             "# 各品牌的自销更新页面"]
    lines += ["%s自销更新跳转=（%s）" % (brand, UPDATE_URL) for brand in BRANDS]
    lines += ["", "# 以上内容由发布工具生成，请勿手工修改", ""]
    return "\r\n".join(lines).encode("utf-8")


UPDATE_PAGE = """<!DOCTYPE html>
<html lang="zh-CN">
<head><meta charset="utf-8"><title>下载最新安装器</title></head>
<body>
<h1>发现新版本</h1>
<p>请下载最新安装器后重新安装。</p>
</body>
</html>
"""


def library_stand_in(name):
    """A few KB of recognisable bytes in place of a product library."""
    line = ("sample stand-in for %s\n" % name).encode("ascii")
    body = b"MZ" + b"\0" * 62 + line * (4096 // len(line))
    return body[:4096]


def main():
    parser = argparse.ArgumentParser(description="Writes the sample product site.")
    parser.add_argument("outdir")
    parser.add_argument("--sample-exe", help="the built sample product program to serve as "
                        "each product's main program")
    args = parser.parse_args()

    sample_exe = None
    if args.sample_exe:
        try:
            with open(args.sample_exe, "rb") as f:
                sample_exe = f.read()
        except OSError as error:
            sys.exit("make_site.py: cannot read the sample program: %s" % error)

    out = args.outdir
    write_atomically(os.path.join(out, "vrk", "azq.txt"), manifest_text())
    write_atomically(os.path.join(out, "update.html"), UPDATE_PAGE.encode("utf-8"))
    for zip_name, entries in (("yxtx", avatar_entries()), ("mhtp", beauty_entries())):
        write_atomically(os.path.join(out, "vrk", "shuju", zip_name + ".zip"), build_zip(entries))
        listing = "".join(entry.name + "\n" for entry in entries)
        write_atomically(os.path.join(out, "expected", zip_name + ".txt"), listing.encode("utf-8"))
    for library in ("libcurl.dll", "HPSocket4C.dll"):
        write_atomically(os.path.join(out, "vrk", "shuju", library), library_stand_in(library))
    for code in PRODUCT_CODES:
        program = sample_exe or ("MZ placeholder for %s_z.exe\n" % code).encode("ascii")
        write_atomically(os.path.join(out, "vrk", "exe", "zcx", code + "_z.exe"), program)
    return 0


if __name__ == "__main__":
    sys.exit(main())
