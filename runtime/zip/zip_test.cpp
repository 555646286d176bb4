#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/zip/zip_unpack.h"

namespace fs = std::filesystem;

namespace {

// ---- A small ZIP writer, so every fixture (good or hostile) is exact ----

struct FixtureEntry {
  std::string name;  // raw bytes as stored
  std::string data;  // the uncompressed content
  uint16_t method = 8;
  uint16_t flags = 0;
  enum Descriptor { kNoDescriptor, kDescriptorWithSignature, kDescriptorWithoutSignature };
  Descriptor descriptor = kNoDescriptor;
  bool useCompressed = false;
  std::string compressed;  // with useCompressed: the entry's bytes as given
  // Overrides for the central directory (-1: the true value).
  int64_t crc = -1, compressedSize = -1, uncompressedSize = -1, localOffset = -1;
  int shareLocalWith = -1;  // no local header of its own: points at that entry's
  std::string centralExtra;
};

void put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}
void put64(std::string& s, uint64_t v) {
  put32(s, uint32_t(v));
  put32(s, uint32_t(v >> 32));
}

std::string deflateRaw(const std::string& data) {
  z_stream z = {};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, uLong(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = uInt(data.size());
  z.next_out = reinterpret_cast<Bytef*>(&out[0]);
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

uint32_t crcOf(const std::string& s) {
  return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(s.data()), uInt(s.size())));
}

std::string buildZip(const std::vector<FixtureEntry>& entries, const std::string& comment = "",
                     bool zip64 = false) {
  std::string out, central;
  std::vector<uint64_t> offsets;
  for (const FixtureEntry& e : entries) {
    std::string body = e.useCompressed ? e.compressed : e.method == 8 ? deflateRaw(e.data) : e.data;
    uint32_t crc = crcOf(e.data);
    uint64_t offset = out.size();
    if (e.shareLocalWith >= 0) {
      offset = offsets[size_t(e.shareLocalWith)];
    } else {
      bool dd = e.descriptor != FixtureEntry::kNoDescriptor;
      put32(out, 0x04034b50);
      put16(out, 20);
      put16(out, e.flags | (dd ? 8 : 0));
      put16(out, e.method);
      put32(out, 0);  // time, date
      put32(out, dd ? 0 : crc);
      put32(out, dd ? 0 : uint32_t(body.size()));
      put32(out, dd ? 0 : uint32_t(e.data.size()));
      put16(out, uint32_t(e.name.size()));
      put16(out, 0);
      out += e.name;
      out += body;
      if (dd) {
        if (e.descriptor == FixtureEntry::kDescriptorWithSignature) put32(out, 0x08074b50);
        put32(out, crc);
        put32(out, uint32_t(body.size()));
        put32(out, uint32_t(e.data.size()));
      }
    }
    offsets.push_back(offset);

    uint64_t csize = e.compressedSize >= 0 ? uint64_t(e.compressedSize) : body.size();
    uint64_t usize = e.uncompressedSize >= 0 ? uint64_t(e.uncompressedSize) : e.data.size();
    uint64_t loff = e.localOffset >= 0 ? uint64_t(e.localOffset) : offset;
    std::string extra = e.centralExtra;
    if (zip64) {
      put16(extra, 0x0001);
      put16(extra, 24);
      put64(extra, usize);
      put64(extra, csize);
      put64(extra, loff);
    }
    put32(central, 0x02014b50);
    put16(central, 20);
    put16(central, 20);
    put16(central, e.flags | (e.descriptor != FixtureEntry::kNoDescriptor ? 8 : 0));
    put16(central, e.method);
    put32(central, 0);
    put32(central, e.crc >= 0 ? uint32_t(e.crc) : crc);
    put32(central, zip64 ? 0xFFFFFFFFu : uint32_t(csize));
    put32(central, zip64 ? 0xFFFFFFFFu : uint32_t(usize));
    put16(central, uint32_t(e.name.size()));
    put16(central, uint32_t(extra.size()));
    put16(central, 0);  // comment
    put16(central, 0);  // disk
    put16(central, 0);  // internal attributes
    put32(central, 0);  // external attributes
    put32(central, zip64 ? 0xFFFFFFFFu : uint32_t(loff));
    central += e.name;
    central += extra;
  }
  uint64_t centralOffset = out.size();
  out += central;
  if (zip64) {
    uint64_t end64 = out.size();
    put32(out, 0x06064b50);
    put64(out, 44);
    put16(out, 45);
    put16(out, 45);
    put32(out, 0);
    put32(out, 0);
    put64(out, entries.size());
    put64(out, entries.size());
    put64(out, central.size());
    put64(out, centralOffset);
    put32(out, 0x07064b50);
    put32(out, 0);
    put64(out, end64);
    put32(out, 1);
  }
  put32(out, 0x06054b50);
  put16(out, 0);
  put16(out, 0);
  put16(out, zip64 ? 0xFFFF : uint32_t(entries.size()));
  put16(out, zip64 ? 0xFFFF : uint32_t(entries.size()));
  put32(out, zip64 ? 0xFFFFFFFFu : uint32_t(central.size()));
  put32(out, zip64 ? 0xFFFFFFFFu : uint32_t(centralOffset));
  put16(out, uint32_t(comment.size()));
  out += comment;
  return out;
}

FixtureEntry file(const std::string& name, const std::string& data, uint16_t method = 8) {
  FixtureEntry e;
  e.name = name;
  e.data = data;
  e.method = method;
  return e;
}

FixtureEntry directory(const std::string& name) { return file(name, "", 0); }

std::string mixedContent(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < size) {
    if (rng() % 2) {
      s += "line of fairly repetitive text " + std::to_string(rng() % 50) + "\n";
    } else {
      for (int i = 0; i < 40; ++i) s += char(rng() & 0xFF);
    }
  }
  s.resize(size);
  return s;
}

void recordProgress(void* context, int32_t percent) {
  static_cast<std::vector<int32_t>*>(context)->push_back(percent);
}

Text gbkPath(const fs::path& p) { return utf8ToText(p.u8string()); }

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeFile(const fs::path& p, const std::string& data) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << data;
}

struct Outcome {
  bool ok = false;
  UnzipReport report;
  std::vector<int32_t> progress;
};

// ---- The fixture: a target three levels below a scratch root that holds a
// sentinel, so an escape by ".." lands where the listing sees it ----

class ZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    root_ = fs::temp_directory_path() /
            ("zip_test_" + std::to_string(rd()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    target_ = root_ / "a" / "b" / "target";
    fs::create_directories(root_ / "a" / "b");
    writeFile(root_ / "sentinel.txt", "sentinel");
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(target_ / "keep.txt", fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }

  Outcome unpack(const std::string& zip, const UnzipOptions& options = UnzipOptions()) {
    Outcome o;
    o.ok = unzipFromMemory(reinterpret_cast<const uint8_t*>(zip.data()), zip.size(),
                           gbkPath(target_), recordProgress, &o.progress, &o.report, options);
    return o;
  }

  // Every path under the root, relative, '/' between components.
  std::set<std::string> listing() {
    std::set<std::string> names;
    for (auto it = fs::recursive_directory_iterator(root_);
         it != fs::recursive_directory_iterator(); ++it)
      names.insert(fs::relative(it->path(), root_).generic_u8string());
    return names;
  }

  // The listing expected when the target holds exactly these names.
  std::set<std::string> expectedWith(std::initializer_list<std::string> targetNames) {
    std::set<std::string> names = {"sentinel.txt", "a", "a/b", "a/b/target"};
    for (const std::string& n : targetNames) names.insert("a/b/target/" + n);
    return names;
  }

  void expectSentinelIntact() { EXPECT_EQ(readFile(root_ / "sentinel.txt"), "sentinel"); }

  fs::path root_;
  fs::path target_;
};

// ---- Main paths ----

TEST_F(ZipTest, UnpacksStoredDeflatedAndDirectoryEntries) {
  std::string big = mixedContent(300000, 1);  // more than one output buffer
  std::string zip = buildZip({directory("docs/"), file("docs/a.txt", "hello, world"),
                              file("b.bin", std::string("\0\1\2\3", 4), 0),
                              file("deep/x/y/big.dat", big), directory("empty/")});
  Outcome o = unpack(zip);
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(o.report.entries, 5);
  EXPECT_EQ(o.report.written, 5);
  EXPECT_TRUE(o.report.failed.empty());
  EXPECT_EQ(readFile(target_ / "docs" / "a.txt"), "hello, world");
  EXPECT_EQ(readFile(target_ / "b.bin"), std::string("\0\1\2\3", 4));
  EXPECT_EQ(readFile(target_ / "deep" / "x" / "y" / "big.dat"), big);
  EXPECT_EQ(listing(), expectedWith({"docs", "docs/a.txt", "b.bin", "deep", "deep/x", "deep/x/y",
                                     "deep/x/y/big.dat", "empty"}));
}

TEST_F(ZipTest, ProgressAfterEachEntryThenHundred) {
  struct Case {
    std::vector<FixtureEntry> entries;
    std::vector<int32_t> progress;
  };
  const Case cases[] = {
      {{}, {100}},
      {{file("one.txt", "1")}, {0, 100}},
      {{directory("d/"), file("d/x.txt", "x"), file("y.txt", "y", 0)}, {0, 33, 66, 100}},
      {{directory("d/"), file("d/1", "1"), file("d/2", "2"), directory("e/"), file("e/3", "3"),
        file("4", "4", 0), file("5", "5")},
       {0, 14, 28, 42, 57, 71, 85, 100}},
  };
  for (const Case& c : cases) {
    fs::remove_all(target_);
    Outcome o = unpack(buildZip(c.entries));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.progress, c.progress) << c.entries.size() << " entries";
    EXPECT_EQ(o.report.written, int(c.entries.size()));
  }
}

TEST_F(ZipTest, ArchiveThatCannotBeOpenedGivesASingleZero) {
  std::string good = buildZip({file("x.txt", "x")});
  std::string farDirectory = good;
  farDirectory[farDirectory.size() - 3] = '\x7F';  // central directory offset far past the end
  std::string split = good;
  split[split.size() - 18] = 1;  // a second disk
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"garbage", "this is not a zip archive, only some text that goes on for a while"},
      {"no end record", good.substr(0, good.size() - 22)},
      {"does not start with a header", "MZ" + good},
      {"directory outside the file", farDirectory},
      {"split archive", split},
  };
  for (const auto& c : cases) {
    Outcome o = unpack(c.second);
    EXPECT_FALSE(o.ok) << c.first;
    EXPECT_EQ(o.progress, std::vector<int32_t>{0}) << c.first;
    EXPECT_EQ(o.report.entries, 0) << c.first;
    EXPECT_FALSE(fs::exists(target_)) << c.first;
  }
  std::vector<int32_t> progress;
  UnzipReport report;
  EXPECT_FALSE(unzipArchive(gbkPath(root_ / "missing.zip"), gbkPath(target_), recordProgress,
                            &progress, &report));
  EXPECT_EQ(progress, std::vector<int32_t>{0});
  EXPECT_EQ(listing(), (std::set<std::string>{"sentinel.txt", "a", "a/b"}));
}

TEST_F(ZipTest, DirectoryEndingEarlyStopsWithHundred) {
  std::string zip = buildZip({file("1", "1"), file("2", "2"), file("3", "3")});
  zip[zip.size() - 12] = 4;  // the end record announces 4 entries, the directory holds 3
  zip[zip.size() - 14] = 4;
  Outcome o = unpack(zip);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.progress, (std::vector<int32_t>{0, 25, 50, 100}));
  EXPECT_EQ(o.report.entries, 4);
  EXPECT_EQ(o.report.written, 3);
}

TEST_F(ZipTest, ArchiveOnDiskWithChineseNamesAndTrailingSeparator) {
  fs::path dir = root_ / fs::path(u"安装") / "head";
  fs::create_directories(dir);
  fs::path archive = dir / fs::path(u"头像.zip");
  writeFile(archive, buildZip({file(gbk("头像/默认.png"), "png bytes")}));
  std::vector<int32_t> progress;
  Text target = gbkPath(dir) + char(fs::path::preferred_separator);
  EXPECT_TRUE(unzipArchive(gbkPath(archive), target, recordProgress, &progress));
  EXPECT_EQ(readFile(dir / fs::path(u"头像/默认.png")), "png bytes");
  EXPECT_EQ(progress, (std::vector<int32_t>{0, 100}));
}

// Many small entries span several read-ahead windows of the file reader;
// a large one is read past them.
TEST_F(ZipTest, ArchiveFileWithManyEntries) {
  std::vector<FixtureEntry> entries;
  for (int i = 0; i < 300; ++i)
    entries.push_back(file("f" + std::to_string(i % 7) + "/" + std::to_string(i),
                           mixedContent(500 + i * 7, i), i % 3 ? 8 : 0));
  entries.push_back(file("large.bin", mixedContent(700000, 999)));
  fs::path archive = root_ / "many.zip";
  writeFile(archive, buildZip(entries));
  UnzipReport report;
  EXPECT_TRUE(unzipArchive(gbkPath(archive), gbkPath(target_), nullptr, nullptr, &report));
  EXPECT_EQ(report.written, 301);
  for (const FixtureEntry& e : entries) EXPECT_EQ(readFile(target_ / e.name), e.data) << e.name;
}

TEST_F(ZipTest, NamesInGbkOrUtf8) {
  std::string unicodePathExtra;  // names the entry in UTF-8 over a stored name in another code page
  std::string storedName = "\xD2\xEC.txt";
  put16(unicodePathExtra, 0x7075);
  put16(unicodePathExtra, uint32_t(5 + std::string(u8"异体.txt").size()));
  unicodePathExtra += '\1';
  put32(unicodePathExtra, crcOf(storedName));
  unicodePathExtra += u8"异体.txt";
  FixtureEntry withExtra = file(storedName, "extra");
  withExtra.centralExtra = unicodePathExtra;

  FixtureEntry utf8 = file(u8"美化/图片.png", "utf8");
  utf8.flags = 0x800;
  std::string zip = buildZip({file(gbk("资源/头像.png"), "gbk"), utf8,
                              // 0x81 0x5C is one character; its second byte is not a separator
                              file("\x81\x5C.txt", "trail"), withExtra});
  Outcome o = unpack(zip);
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(readFile(target_ / fs::path(u"资源/头像.png")), "gbk");
  EXPECT_EQ(readFile(target_ / fs::path(u"美化/图片.png")), "utf8");
  EXPECT_EQ(readFile(target_ / fs::path(u"乗.txt")), "trail");
  EXPECT_EQ(readFile(target_ / fs::path(u"异体.txt")), "extra");
  EXPECT_EQ(listing(), expectedWith({u8"资源", u8"资源/头像.png", u8"美化", u8"美化/图片.png",
                                     u8"乗.txt", u8"异体.txt"}));
}

TEST_F(ZipTest, DataDescriptorsTakeSizesFromTheCentralDirectory) {
  FixtureEntry signed_ = file("signed.txt", mixedContent(5000, 2));
  signed_.descriptor = FixtureEntry::kDescriptorWithSignature;
  FixtureEntry bare = file("bare.txt", mixedContent(7000, 3));
  bare.descriptor = FixtureEntry::kDescriptorWithoutSignature;
  FixtureEntry stored = file("stored.txt", "stored with a descriptor", 0);
  stored.descriptor = FixtureEntry::kDescriptorWithSignature;
  Outcome o = unpack(buildZip({signed_, bare, stored}));
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(readFile(target_ / "signed.txt"), signed_.data);
  EXPECT_EQ(readFile(target_ / "bare.txt"), bare.data);
  EXPECT_EQ(readFile(target_ / "stored.txt"), stored.data);
}

TEST_F(ZipTest, OverwritesExistingFilesAndKeepsOthers) {
  fs::create_directories(target_ / "sub");
  writeFile(target_ / "keep.txt", "old");
  writeFile(target_ / "sub" / "other.txt", "other");
  // A read-only file of an earlier install is overwritten too.
  fs::permissions(target_ / "keep.txt",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  Outcome o =
      unpack(buildZip({file("keep.txt", "new"), directory("sub/"), file("sub/new.txt", "n")}));
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(readFile(target_ / "keep.txt"), "new");
  EXPECT_EQ(readFile(target_ / "sub" / "other.txt"), "other");
  EXPECT_EQ(listing(), expectedWith({"keep.txt", "sub", "sub/other.txt", "sub/new.txt"}));
}

TEST_F(ZipTest, HarmlessNameFormsLandInsideTheTarget) {
  Outcome o = unpack(buildZip({file("./x.txt", "x"), file("a//b.txt", "b"), file("a\\c.txt", "c"),
                               file("a/../d.txt", "d")}));
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(listing(), expectedWith({"x.txt", "a", "a/b.txt", "a/c.txt", "d.txt"}));
  EXPECT_EQ(readFile(target_ / "d.txt"), "d");
}

TEST_F(ZipTest, CommentsAfterTheEndRecord) {
  std::string fakeEnd;
  put32(fakeEnd, 0x06054b50);
  for (const std::string& comment :
       {std::string("made by hand"), "x" + fakeEnd + "0123456789abcdefghijk"}) {
    fs::remove_all(target_);
    Outcome o = unpack(buildZip({file("c.txt", "c")}, comment));
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(readFile(target_ / "c.txt"), "c");
  }
}

TEST_F(ZipTest, Zip64Records) {
  Outcome o = unpack(buildZip({file("z/one.txt", "one"), file("two.txt", "two", 0)}, "", true));
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(readFile(target_ / "z" / "one.txt"), "one");
  EXPECT_EQ(readFile(target_ / "two.txt"), "two");
}

// ---- Hostile entries: each fails alone; the entry after it still unpacks,
// the file it names keeps its old content, and nothing appears elsewhere ----

TEST_F(ZipTest, HostileEntriesFailAndNothingLeavesTheTarget) {
  std::string payload = mixedContent(4000, 4);
  std::string deflated = deflateRaw(payload);
  auto withCompressed = [&](const std::string& bytes) {
    FixtureEntry e = file("keep.txt", payload);
    e.useCompressed = true;
    e.compressed = bytes;
    return e;
  };
  auto tweak = [&](auto change) {
    FixtureEntry e = file("keep.txt", payload);
    change(e);
    return e;
  };
  FixtureEntry utf8Escape = file(u8"../逃.txt", "x");
  utf8Escape.flags = 0x800;
  std::string absolute = root_.generic_u8string() + "/evil.txt";
  std::string absoluteNative = root_.u8string() + char(fs::path::preferred_separator) + "evil.txt";

  const std::pair<const char*, FixtureEntry> cases[] = {
      {"parent", file("../evil.txt", "x")},
      {"parent, backslash", file("..\\evil.txt", "x")},
      {"parent after a folder", file("sub/../../evil.txt", "x")},
      {"up to the root", file("../../../evil.txt", "x")},
      {"only dots", file("..", "x")},
      {"only a slash", file("/", "x")},
      {"absolute", file(absolute, "x")},
      {"absolute, native", file(absoluteNative, "x")},
      {"rooted backslash", file("\\evil.txt", "x")},
      {"UNC", file("\\\\host\\share\\evil.txt", "x")},
      {"drive relative", file("C:evil.txt", "x")},
      {"drive absolute", file("C:\\evil.txt", "x")},
      {"alternate stream", file("keep.txt:stream", "x")},
      {"NUL in the name", file(std::string("keep.txt\0.png", 13), "x")},
      {"device name", file("sub/NUL.txt", "x")},
      {"trailing dot", file("keep.txt.", "x")},
      {"UTF-8 parent", utf8Escape},
      {"wrong CRC-32", tweak([](FixtureEntry& e) { e.crc = 12345; })},
      {"deflate stream cut short", withCompressed(deflated.substr(0, deflated.size() / 2))},
      {"corrupt deflate stream", withCompressed(std::string(64, '\xFF'))},
      {"stored data past the end", tweak([](FixtureEntry& e) {
         e.method = 0;
         e.compressedSize = e.uncompressedSize = 100000;
       })},
      {"inflates past its size", tweak([](FixtureEntry& e) { e.uncompressedSize = 100; })},
      {"inflates short of its size", tweak([](FixtureEntry& e) { e.uncompressedSize = 4001; })},
      {"unknown method", tweak([](FixtureEntry& e) {
         e.method = 12;
         e.useCompressed = true;
         e.compressed = "BZh9";
       })},
      {"encrypted", tweak([](FixtureEntry& e) { e.flags = 1; })},
      {"no local header there", tweak([](FixtureEntry& e) { e.localOffset = 3; })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    fs::remove_all(target_);
    fs::create_directories(target_);
    writeFile(target_ / "keep.txt", "old");
    Outcome o = unpack(buildZip({c.second, file("ok.txt", "fine")}));
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.report.entries, 2);
    EXPECT_EQ(o.report.written, 1);
    Text name = (c.second.flags & 0x800) ? utf8ToText(c.second.name) : c.second.name;
    EXPECT_EQ(o.report.failed, std::vector<Text>{name});
    EXPECT_EQ(o.progress, (std::vector<int32_t>{0, 50, 100}));
    EXPECT_EQ(readFile(target_ / "keep.txt"), "old");
    EXPECT_EQ(readFile(target_ / "ok.txt"), "fine");
    EXPECT_EQ(listing(), expectedWith({"keep.txt", "ok.txt"}));
    expectSentinelIntact();
  }
}

TEST_F(ZipTest, OverlappingEntriesFail) {
  // The second and third records point at the first entry's bytes: the way
  // small archives expand to enormous output.
  FixtureEntry again = file("again.txt", "fine");
  again.shareLocalWith = 0;
  FixtureEntry inside = file("inside.txt", "fine");
  inside.shareLocalWith = 0;
  Outcome o = unpack(buildZip({file("ok.txt", "fine", 0), again, inside}));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.report.written, 1);
  EXPECT_EQ(o.report.failed, (std::vector<Text>{"again.txt", "inside.txt"}));
  EXPECT_EQ(listing(), expectedWith({"ok.txt"}));
}

TEST_F(ZipTest, FilesAndFoldersThatCollideFail) {
  FixtureEntry folderWithData = directory("withdata/");
  folderWithData.data = "ignored";
  Outcome o = unpack(buildZip({directory("d/"), file("d", "file over a folder"), file("f", "f"),
                               file("f/g.txt", "below a file"), folderWithData}));
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.report.failed, (std::vector<Text>{"d", "f/g.txt"}));
  EXPECT_EQ(listing(), expectedWith({"d", "f", "withdata"}));
  EXPECT_TRUE(fs::is_directory(target_ / "d"));
  EXPECT_TRUE(fs::is_directory(target_ / "withdata"));
}

TEST_F(ZipTest, ByteLimitStopsABomb) {
  UnzipOptions limits;
  limits.maxTotalBytes = 10000;
  Outcome o =
      unpack(buildZip({file("small.txt", "small"), file("bomb.bin", std::string(1 << 20, '\0')),
                       file("after.txt", "after")}),
             limits);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.report.failed, std::vector<Text>{"bomb.bin"});
  EXPECT_EQ(listing(), expectedWith({"small.txt", "after.txt"}));
}

// Every truncation and every single-byte change of a small archive: no
// crash, a defined progress end, nothing outside the target.
TEST_F(ZipTest, DamagedArchivesNeverWriteOutside) {
  std::string zip =
      buildZip({directory("sub/"), file("sub/x.txt", "some text, some text, some text"),
                file("y.bin", "stored bytes", 0)});
  for (size_t n = 0; n < zip.size(); ++n) {
    Outcome o = unpack(zip.substr(0, n));
    ASSERT_FALSE(o.ok) << n;
    ASSERT_EQ(o.progress, std::vector<int32_t>{0}) << n;
  }
  for (size_t i = 0; i < zip.size(); ++i) {
    std::string damaged = zip;
    damaged[i] = char(damaged[i] ^ 0x5A);
    Outcome o = unpack(damaged);
    ASSERT_FALSE(o.progress.empty()) << i;
    ASSERT_TRUE(o.progress.back() == 0 || o.progress.back() == 100) << i;
    for (const std::string& name : listing()) {
      ASSERT_TRUE(name == "sentinel.txt" || name == "a" || name == "a/b" ||
                  name.rfind("a/b/target", 0) == 0)
          << "byte " << i << " wrote " << name;
    }
    expectSentinelIntact();
  }
}

}  // namespace
