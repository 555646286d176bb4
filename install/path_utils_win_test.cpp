// The file-system operations on real folders in a temporary directory.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "install/path_utils.h"
#include "runtime/codepage.h"

namespace {

// --- Fixture helpers, independent of the code under test -----------------

std::u16string u16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
Text gbkPath(const std::wstring& w) { return utf16ToGbk(u16(w)); }

bool exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isPlainDirectory(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isEmptyDirectory(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool empty = true;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") empty = false;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return empty;
}

void makeDirectory(const std::wstring& path) {
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << GetLastError();
}

void makeFile(const std::wstring& path, bool readOnly = false) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  WriteFile(h, "data", 4, &written, nullptr);
  CloseHandle(h);
  if (readOnly) {
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  }
}

bool runningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine's view of a Windows path on the Unix side (Wine only).
std::string unixPathOf(const std::wstring& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  // Through void* : the exported symbol's real type is not FARPROC's.
  auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return std::string();
  char* name = toUnix(path.c_str());
  if (!name) return std::string();
  std::string out = name;
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// Runs a Unix program from inside Wine. Wine hands back no real process to
// wait for, so callers poll for the effect.
bool runUnixCommand(const std::wstring& program, const std::string& arguments) {
  std::wstring commandLine = program + L" " + std::wstring(arguments.begin(), arguments.end());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const std::wstring image = L"Z:" + program;  // Z: is the Unix root
  if (!CreateProcessW(image.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool waitUntil(bool (*condition)(const std::wstring&), const std::wstring& path) {
  for (int i = 0; i < 100; ++i) {
    if (condition(path)) return true;
    Sleep(50);
  }
  return false;
}

// Cleans up after a test. Only ever used on the test's own folder, whose
// links all point inside it. Wine removes a Unix link only from the Unix
// side.
void removeAll(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    return;
  }
  if (!(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") removeAll(path + L"\\" + name);
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
  }
  if (RemoveDirectoryW(path.c_str()) || !(a & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  if (runningUnderWine() && runUnixCommand(L"/bin/rm", "-f \"" + unixPathOf(path) + "\"")) {
    waitUntil([](const std::wstring& p) { return !exists(p); }, path);
  }
}

bool isDirectoryLinkOnDisk(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) &&
         (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool makeJunction(const std::wstring& link, const std::wstring& target) {
  if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
  HANDLE h = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::wstring substitute = L"\\??\\" + target;
  std::vector<uint8_t> buffer(16 + (substitute.size() + target.size() + 2) * 2, 0);
  auto put16 = [&buffer](size_t at, size_t v) {
    buffer[at] = uint8_t(v);
    buffer[at + 1] = uint8_t(v >> 8);
  };
  const uint32_t tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(buffer.data(), &tag, 4);
  put16(4, buffer.size() - 8);                      // reparse data length
  put16(8, 0);                                      // substitute name offset
  put16(10, substitute.size() * 2);                 // substitute name length
  put16(12, (substitute.size() + 1) * 2);           // print name offset
  put16(14, target.size() * 2);                     // print name length
  std::memcpy(buffer.data() + 16, substitute.c_str(), substitute.size() * 2);
  std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * 2, target.c_str(), target.size() * 2);
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(), DWORD(buffer.size()),
                                  nullptr, 0, &returned, nullptr);
  CloseHandle(h);
  if (!ok) RemoveDirectoryW(link.c_str());
  return ok;
}

// A link to a directory, made whichever way this system allows: a symbolic
// link, else a junction, else (Wine, which fakes the first and refuses the
// second) a Unix symbolic link, which Wine reports as a directory link.
bool makeDirectoryLink(const std::wstring& link, const std::wstring& target) {
  const DWORD kAllowUnprivileged = 0x2;
  CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivileged);
  if (isDirectoryLinkOnDisk(link)) return true;
  if (!exists(link) && makeJunction(link, target) && isDirectoryLinkOnDisk(link)) return true;
  if (!runningUnderWine()) return false;
  const std::string unixTarget = unixPathOf(target);
  const std::string unixParent = unixPathOf(link.substr(0, link.rfind(L'\\')));
  const std::wstring name = link.substr(link.rfind(L'\\') + 1);
  if (unixTarget.empty() || unixParent.empty()) return false;
  const std::string unixLink = unixParent + "/" + utf16ToUtf8(u16(name));
  if (!runUnixCommand(L"/bin/ln", "-s \"" + unixTarget + "\" \"" + unixLink + "\"")) return false;
  return waitUntil(isDirectoryLinkOnDisk, link);
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    static int serial = 0;
    root_ = std::wstring(temp) + L"path-utils-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    makeDirectory(root_);
    GetCurrentDirectoryW(MAX_PATH, previousDirectory_);
  }
  void TearDown() override {
    SetCurrentDirectoryW(previousDirectory_);
    setCreateDirectoryObserverForTesting(nullptr);
    removeAll(root_);
    // Wine cannot remove a Unix link, dangling ones included; rm -rf does
    // not follow links.
    if (exists(root_) && runningUnderWine()) {
      runUnixCommand(L"/bin/rm", "-rf \"" + unixPathOf(root_) + "\"");
      waitUntil([](const std::wstring& p) { return !exists(p); }, root_);
    }
  }
  std::wstring at(const std::wstring& relative) const { return root_ + L"\\" + relative; }

  std::wstring root_;
  wchar_t previousDirectory_[MAX_PATH + 1] = {};
};

// --- isDirectory -----------------------------------------------------------

using IsDirectoryTest = TempFolder;

TEST_F(IsDirectoryTest, OnlyExistingDirectories) {
  makeFile(at(L"file.txt"));
  makeDirectory(at(L"dir"));
  makeDirectory(at(L"中文目录"));
  struct Case {
    Text path;
    bool expected;
  } cases[] = {
      {"", false},
      {gbkPath(at(L"file.txt")), false},
      {gbkPath(at(L"missing")), false},
      {gbkPath(at(L"dir")), true},
      {gbkPath(at(L"dir\\")), true},
      {gbkPath(at(L"中文目录")), true},
  };
  for (const Case& c : cases) EXPECT_EQ(isDirectory(c.path), c.expected) << c.path;
}

TEST_F(IsDirectoryTest, WideValueWithoutTerminatorIsNotReadPastItsEnd) {
  makeDirectory(at(L"dir"));
  WideText wide = textToWide(gbkPath(at(L"dir")));
  wide.resize(wide.size() - 2);
  EXPECT_TRUE(isDirectoryWide(wide));
  EXPECT_FALSE(isDirectoryWide(WideText{0x41}));
}

// --- deleteTree ------------------------------------------------------------

using DeleteTreeTest = TempFolder;

TEST_F(DeleteTreeTest, RemovesNestedTreeWithReadOnlyFiles) {
  makeDirectory(at(L"tree"));
  makeFile(at(L"tree\\plain.txt"));
  makeFile(at(L"tree\\locked.txt"), true);
  makeDirectory(at(L"tree\\sub"));
  makeFile(at(L"tree\\sub\\locked.txt"), true);
  makeDirectory(at(L"tree\\sub\\empty"));
  makeDirectory(at(L"tree\\中文"));
  makeFile(at(L"tree\\中文\\文件.txt"), true);

  EXPECT_TRUE(deleteTree(gbkPath(at(L"tree"))));
  EXPECT_FALSE(exists(at(L"tree")));
}

TEST_F(DeleteTreeTest, TrailingBackslashIsAccepted) {
  makeDirectory(at(L"tree"));
  makeFile(at(L"tree\\a.txt"));
  EXPECT_TRUE(deleteTree(gbkPath(at(L"tree\\"))));
  EXPECT_FALSE(exists(at(L"tree")));
}

TEST_F(DeleteTreeTest, MissingDirectoryGivesFalse) {
  EXPECT_FALSE(deleteTree(gbkPath(at(L"missing"))));
}

TEST_F(DeleteTreeTest, FileThatCannotBeDeletedKeepsItsDirectories) {
  makeDirectory(at(L"tree"));
  makeDirectory(at(L"tree\\sub"));
  makeFile(at(L"tree\\sub\\busy.txt"));
  makeFile(at(L"tree\\other.txt"));
  HANDLE busy = CreateFileW(at(L"tree\\sub\\busy.txt").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);  // no sharing: delete fails
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  const bool removed = deleteTree(gbkPath(at(L"tree")));
  CloseHandle(busy);
  EXPECT_FALSE(removed);
  EXPECT_TRUE(exists(at(L"tree\\sub\\busy.txt")));
  EXPECT_FALSE(exists(at(L"tree\\other.txt")));
}

// A drive letter whose root is a folder of the test. Tests of the guards
// against paths that begin with a backslash or name a drive root run on it,
// so that if a guard ever broke, only the sandbox would be hit.
class SandboxDrive {
 public:
  bool map(const std::wstring& folder) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t l = L'P'; l <= L'Y' && !letter_; ++l) {
      if (!(used & (1u << (l - L'A')))) letter_ = l;
    }
    if (!letter_) return false;
    if (runningUnderWine()) {
      // Wine maps drives through links in the prefix's dosdevices folder.
      const std::string unixC = unixPathOf(L"C:\\");
      const size_t cut = unixC.rfind("/c:");
      if (cut == std::string::npos) return false;
      unixLink_ = unixC.substr(0, cut) + "/" + char(std::tolower(letter_)) + ":";
      runUnixCommand(L"/bin/ln", "-sfn \"" + unixPathOf(folder) + "\" \"" + unixLink_ + "\"");
      mapped_ = waitUntil(isPlainDirectory, root());
    } else {
      mapped_ = DefineDosDeviceW(0, drive().c_str(), folder.c_str()) != 0;
    }
    return mapped_;
  }
  ~SandboxDrive() {
    if (!mapped_) return;
    if (!unixLink_.empty()) {
      runUnixCommand(L"/bin/rm", "-f \"" + unixLink_ + "\"");
      waitUntil([](const std::wstring& d) { return !exists(d); }, root());
    } else {
      DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive().c_str(), nullptr);
    }
  }
  std::wstring drive() const { return std::wstring(1, letter_) + L":"; }
  std::wstring root() const { return drive() + L"\\"; }
  Text driveText() const { return Text(1, char(letter_)) + ":"; }

 private:
  wchar_t letter_ = 0;
  bool mapped_ = false;
  std::string unixLink_;
};

// Every path that begins with a backslash is refused, the empty one too:
// the current drive is the sandbox, so such paths would land in it.
TEST_F(DeleteTreeTest, RefusesEmptyPathAndLeadingBackslash) {
  makeDirectory(at(L"sandbox"));
  makeDirectory(at(L"sandbox\\victim"));
  makeFile(at(L"sandbox\\victim\\keep.txt"));
  makeFile(at(L"sandbox\\keep.txt"));
  SandboxDrive sandbox;
  if (!sandbox.map(at(L"sandbox")) || !SetCurrentDirectoryW(sandbox.root().c_str())) {
    GTEST_SKIP() << "no sandbox drive: the refusal is not exercised";
  }

  for (const Text& path : {Text(""), Text("\\"), Text("\\victim"), Text("\\victim\\"),
                           Text("\\\\server\\share\\victim")}) {
    EXPECT_FALSE(deleteTree(path)) << path;
  }
  EXPECT_FALSE(deleteTreeWide(WideText()));
  EXPECT_FALSE(deleteTreeWide(WideText{0x5C, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(exists(at(L"sandbox\\victim\\keep.txt")));
  EXPECT_TRUE(exists(at(L"sandbox\\keep.txt")));
  SetCurrentDirectoryW(previousDirectory_);
}

// A link inside the tree that points outside it is removed as a link; the
// walk never enters it, so the target and its files survive.
TEST_F(DeleteTreeTest, LinkInsideTreeLeavesItsTargetAlone) {
  makeDirectory(at(L"outside"));
  makeFile(at(L"outside\\keep.txt"));
  makeFile(at(L"outside\\locked.txt"), true);
  makeDirectory(at(L"tree"));
  makeFile(at(L"tree\\a.txt"));
  makeDirectory(at(L"tree\\sub"));
  if (!makeDirectoryLink(at(L"tree\\sub\\link"), at(L"outside"))) {
    GTEST_SKIP() << "this system can make no directory link";
  }

  const bool removed = deleteTree(gbkPath(at(L"tree")));
  EXPECT_TRUE(exists(at(L"outside\\keep.txt")));
  EXPECT_TRUE(exists(at(L"outside\\locked.txt")));
  EXPECT_TRUE(GetFileAttributesW(at(L"outside\\locked.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(exists(at(L"tree\\a.txt")));
  if (runningUnderWine()) {
    // Wine cannot remove a Unix link through any Windows call, so the link
    // and the folders above it stay, and the result says so.
    EXPECT_FALSE(removed);
  } else {
    EXPECT_TRUE(removed);
    EXPECT_FALSE(exists(at(L"tree")));
  }
}

TEST_F(DeleteTreeTest, RootThatIsALinkRemovesOnlyTheLink) {
  makeDirectory(at(L"outside"));
  makeFile(at(L"outside\\keep.txt"));
  makeDirectory(at(L"outside\\sub"));
  makeFile(at(L"outside\\sub\\keep.txt"));
  struct Case {
    std::wstring name;
    std::wstring spelling;  // as given to deleteTree
  } cases[] = {{L"link", L"link"}, {L"link2", L"link2\\"}};
  for (const Case& c : cases) {
    const std::wstring& spelling = c.spelling;
    const std::wstring& name = c.name;
    if (!makeDirectoryLink(at(name), at(L"outside"))) {
      GTEST_SKIP() << "this system can make no directory link";
    }
    const bool removed = deleteTree(gbkPath(at(spelling)));
    EXPECT_TRUE(exists(at(L"outside\\keep.txt"))) << gbkPath(spelling);
    EXPECT_TRUE(exists(at(L"outside\\sub\\keep.txt"))) << gbkPath(spelling);
    if (!runningUnderWine()) {
      EXPECT_TRUE(removed) << gbkPath(spelling);
      EXPECT_FALSE(exists(at(name))) << gbkPath(spelling);
    } else {
      EXPECT_FALSE(removed) << gbkPath(spelling);
    }
  }
}

// Wine lets paths grow past 260 characters without the \\?\ form; the
// operations keep working there.
TEST_F(DeleteTreeTest, DeepChineseTreeBeyond260Characters) {
  std::wstring deep = at(L"deep");
  while (deep.size() < 400) deep += L"\\第十一层目录abcdefgh";
  ASSERT_TRUE(createDirectoryChain(gbkPath(deep)));
  makeFile(deep + L"\\文件.txt", true);
  EXPECT_TRUE(isDirectory(gbkPath(deep)));
  EXPECT_TRUE(deleteTree(gbkPath(at(L"deep"))));
  EXPECT_FALSE(exists(at(L"deep")));
}

// --- createDirectoryChain ----------------------------------------------------

std::vector<std::pair<std::wstring, bool>> gCreateCalls;

void recordCreate(const WideText& path, bool created) {
  const std::u16string units(reinterpret_cast<const char16_t*>(path.data()), path.size() / 2 - 1);
  gCreateCalls.emplace_back(std::wstring(units.begin(), units.end()), created);
}

using CreateDirectoryChainTest = TempFolder;

TEST_F(CreateDirectoryChainTest, CreatesEachDirectoryFromTheTopDown) {
  struct Case {
    std::wstring relative;
    std::vector<std::wstring> created;  // the calls below root_, in order
  } cases[] = {
      {L"a\\b\\c", {L"a", L"a\\b", L"a\\b\\c"}},
      {L"中文\\目录", {L"中文", L"中文\\目录"}},
      {L"x\\y\\", {L"x", L"x\\y"}},  // the trailing backslash adds a second, failing call
  };
  for (const Case& c : cases) {
    gCreateCalls.clear();
    setCreateDirectoryObserverForTesting(recordCreate);
    EXPECT_TRUE(createDirectoryChain(gbkPath(at(c.relative)))) << gbkPath(c.relative);

    // Every prefix before a backslash (the drive excepted) and the whole path.
    std::vector<std::wstring> expectedPaths;
    const std::wstring full = at(c.relative);
    for (size_t i = full.find(L'\\'); (i = full.find(L'\\', i + 1)) != std::wstring::npos;) {
      expectedPaths.push_back(full.substr(0, i));
    }
    expectedPaths.push_back(full);
    std::vector<std::wstring> calledPaths;
    std::vector<std::wstring> newlyCreated;
    for (const auto& call : gCreateCalls) {
      calledPaths.push_back(call.first);
      if (call.second) newlyCreated.push_back(call.first.substr(root_.size() + 1));
    }
    EXPECT_EQ(calledPaths, expectedPaths);
    EXPECT_EQ(newlyCreated, c.created);
    EXPECT_TRUE(isPlainDirectory(full));
  }
}

TEST_F(CreateDirectoryChainTest, ShortTextsCreateNothing) {
  ASSERT_TRUE(SetCurrentDirectoryW(root_.c_str()));
  gCreateCalls.clear();
  setCreateDirectoryObserverForTesting(recordCreate);
  for (const Text& path : {Text(""), Text("a"), Text("ab"), gbk("中"), gbk("中文")}) {
    EXPECT_FALSE(createDirectoryChain(path)) << path;
  }
  EXPECT_TRUE(gCreateCalls.empty());
  EXPECT_TRUE(isEmptyDirectory(root_));
}

TEST_F(CreateDirectoryChainTest, FalseWhenAFileIsInTheWay) {
  makeFile(at(L"file"));
  EXPECT_FALSE(createDirectoryChain(gbkPath(at(L"file\\sub"))));
  EXPECT_FALSE(exists(at(L"file\\sub")));
}

// --- refreshDirectory --------------------------------------------------------

using RefreshDirectoryTest = TempFolder;

TEST_F(RefreshDirectoryTest, EmptiesAnExistingDirectory) {
  for (const std::wstring& spelling : {std::wstring(L"资源"), std::wstring(L"资源\\")}) {
    makeDirectory(at(L"资源"));
    makeFile(at(L"资源\\a.txt"), true);
    makeDirectory(at(L"资源\\sub"));
    makeFile(at(L"资源\\sub\\b.txt"));
    refreshDirectory(gbkPath(at(spelling)));
    EXPECT_TRUE(isPlainDirectory(at(L"资源")));
    EXPECT_TRUE(isEmptyDirectory(at(L"资源")));
    removeAll(at(L"资源"));
  }
}

TEST_F(RefreshDirectoryTest, CreatesNothingWhereNoDirectoryIs) {
  makeFile(at(L"file"));
  gCreateCalls.clear();
  setCreateDirectoryObserverForTesting(recordCreate);
  refreshDirectory(gbkPath(at(L"missing")));
  refreshDirectory(gbkPath(at(L"missing\\deeper")));
  refreshDirectory(gbkPath(at(L"file")));
  refreshDirectory("");
  EXPECT_TRUE(gCreateCalls.empty());
  EXPECT_FALSE(exists(at(L"missing")));
  EXPECT_TRUE(exists(at(L"file")));
}

TEST_F(RefreshDirectoryTest, DriveRootIsLeftAlone) {
  makeDirectory(at(L"sandbox"));
  makeDirectory(at(L"sandbox\\keep"));
  makeFile(at(L"sandbox\\keep.txt"));
  SandboxDrive sandbox;
  if (!sandbox.map(at(L"sandbox"))) GTEST_SKIP() << "no sandbox drive";
  gCreateCalls.clear();
  setCreateDirectoryObserverForTesting(recordCreate);
  const Text d = sandbox.driveText();
  for (const Text& root : {d + "\\", d, d + "/", d + "\\\\", d + "\\/", d + "/\\", d + "\\.",
                           d + "\\keep\\..", d + "/keep/../."}) {
    refreshDirectory(root);
    EXPECT_TRUE(gCreateCalls.empty()) << root;
  }
  EXPECT_TRUE(gCreateCalls.empty());
  EXPECT_TRUE(isPlainDirectory(at(L"sandbox\\keep")));
  EXPECT_TRUE(exists(at(L"sandbox\\keep.txt")));
}

}  // namespace
