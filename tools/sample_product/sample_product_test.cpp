// Starts copies of the sample product under the names the installer gives
// it and checks that each shows a visible window titled with its name and
// records its start.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

std::wstring widen(const std::string& text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], size);
  wide.resize(static_cast<size_t>(size) - 1);
  return wide;
}

// The build gives the program's host path; Wine shows the host's root as Z:.
std::wstring builtProgram() {
  std::wstring path = widen(SAMPLE_PRODUCT_EXE);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring scratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"sample_product_test_" +
                        std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK findProcessWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

template <typename Condition>
bool waitFor(Condition condition) {
  for (int i = 0; i < 400; ++i) {
    if (condition()) return true;
    Sleep(50);
  }
  return false;
}

std::string readAll(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[4096];
  DWORD count = 0;
  ReadFile(file, buffer, sizeof buffer, &count, nullptr);
  CloseHandle(file);
  return std::string(buffer, count);
}

class SampleProductTest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(SampleProductTest, ShowsItsNameAndRecordsItsStart) {
  std::wstring name = GetParam();
  std::wstring program = scratchFolder() + L"\\" + name + L".exe";
  ASSERT_TRUE(CopyFileW(builtProgram().c_str(), program.c_str(), FALSE));
  std::wstring marker = program + L".started";
  DeleteFileW(marker.c_str());

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::wstring commandLine = L"\"" + program + L"\"";
  ASSERT_TRUE(CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));

  WindowSearch search = {process.dwProcessId, nullptr};
  EXPECT_TRUE(waitFor([&] {
    search.found = nullptr;
    EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }));
  if (search.found) {
    wchar_t title[256] = {};
    GetWindowTextW(search.found, title, 256);
    EXPECT_EQ(std::wstring(title), name);
    EXPECT_FALSE(IsIconic(search.found));
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  }
  // It runs until its window is closed, then ends normally.
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  EXPECT_EQ(readAll(marker), "started pid=" + std::to_string(process.dwProcessId) + "\r\n");
  DeleteFileW(marker.c_str());
  DeleteFileW(program.c_str());
}

std::string caseName(const ::testing::TestParamInfo<const wchar_t*>& info) {
  const char* const names[] = {"Latin", "Chinese", "InnerDotExe"};
  return names[info.index];
}

// Only the last ".exe" goes from the title.
INSTANTIATE_TEST_SUITE_P(Names, SampleProductTest,
                         ::testing::Values(L"VIduva", L"LOL岚鲸助手", L"Setup.exe.copy"), caseName);

}  // namespace
