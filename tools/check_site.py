#!/usr/bin/env python3
"""Checks a sample product site written by make_site.py: the archives hold
exactly the names of their listings, in GBK or UTF-8 as their flag bit 11
says, with the mix of entry kinds the unpacker must handle, and all data
passes its CRC check.

    check_site.py SITEDIR
"""

import os
import sys
import zipfile

FLAG_DATA_DESCRIPTOR = 0x0008
FLAG_UTF8 = 0x0800


def raw_name(info):
    # zipfile decodes names without flag bit 11 as cp437, which gives the
    # stored bytes back unchanged.
    if info.flag_bits & FLAG_UTF8:
        return info.filename.encode("utf-8")
    return info.filename.encode("cp437")


def real_name(info):
    raw = raw_name(info)
    return raw.decode("utf-8" if info.flag_bits & FLAG_UTF8 else "gbk")


def check_archive(site, name, problems):
    path = os.path.join(site, "vrk", "shuju", name + ".zip")
    with open(os.path.join(site, "expected", name + ".txt"), encoding="utf-8") as f:
        expected = f.read().splitlines()
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        names = [real_name(info) for info in infos]
        if names != expected:
            problems.append("%s: names differ from the listing: %r" % (name, names))
        bad = archive.testzip()
        if bad:
            problems.append("%s: entry %r fails its CRC check" % (name, bad))
    kinds = {
        "a GBK name with flag bit 11 clear":
            any(not i.flag_bits & FLAG_UTF8 and any(b >= 0x80 for b in raw_name(i)) for i in infos),
        "a UTF-8 name with flag bit 11 set":
            any(i.flag_bits & FLAG_UTF8 and any(b >= 0x80 for b in raw_name(i)) for i in infos),
        "a stored file": any(i.compress_type == zipfile.ZIP_STORED and not i.is_dir() for i in infos),
        "a deflated file": any(i.compress_type == zipfile.ZIP_DEFLATED for i in infos),
        "a data descriptor": any(i.flag_bits & FLAG_DATA_DESCRIPTOR for i in infos),
        "a folder entry": any(i.is_dir() for i in infos),
        "a nested folder": any(n.count("/") >= 2 for n in names),
        "a few dozen entries": len(infos) >= 20,
    }
    for kind, present in kinds.items():
        if not present:
            problems.append("%s: has no %s" % (name, kind))
    return names


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check_site.py SITEDIR")
    site = sys.argv[1]
    problems = []
    check_archive(site, "yxtx", problems)
    beauty = check_archive(site, "mhtp", problems)
    if "resource/" not in beauty or not any(n.startswith("resource/") and not n.endswith("/")
                                            for n in beauty):
        problems.append("mhtp: no resource/ folder with files")

    with open(os.path.join(site, "vrk", "azq.txt"), encoding="utf-8") as f:
        manifest = f.read()
    wanted = ["安装器版本号=（V11）", "更新提示=（"]
    wanted += ["%s自销更新跳转=（http://" % b for b in ["岚鲸", "橙屿", "KK", "雾匣", "赤隼", "PP"]]
    for key in wanted:
        if key not in manifest:
            problems.append("azq.txt: no %r" % key)
    for relative in ["update.html", "vrk/shuju/libcurl.dll", "vrk/shuju/HPSocket4C.dll"] + \
            ["vrk/exe/zcx/%s_z.exe" % c for c in ["lj", "cy", "KK", "wx", "cs", "PP"]]:
        if not os.path.isfile(os.path.join(site, relative)):
            problems.append("missing %s" % relative)

    for problem in problems:
        print(problem)
    print("site %s: %s" % (site, "bad" if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
