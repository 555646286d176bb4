#include <windows.h>
#include <wincrypt.h>
#include <tlhelp32.h>
#include <mbstring.h>

#include "app/single_instance.h"
#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "runtime/module_path.h"
#include "runtime/scoped_handle_win.h"

namespace {

constexpr DWORD kEventAllAccess = 0x1F0003;
constexpr DWORD kWindowSearchBudgetMs = 100;

struct CryptContextTraits {
  using Handle = HCRYPTPROV;
  static Handle invalid() { return 0; }
  static bool close(Handle h) { return CryptReleaseContext(h, 0) != 0; }
};

struct CryptHashTraits {
  using Handle = HCRYPTHASH;
  static Handle invalid() { return 0; }
  static bool close(Handle h) { return CryptDestroyHash(h) != 0; }
};

// Empty strings, not null pointers, for the container and the provider.
HCRYPTPROV acquireCryptContext() {
  HCRYPTPROV h = 0;
  if (CryptAcquireContextA(&h, "", "", PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) ||
      CryptAcquireContextA(&h, "", "", PROV_RSA_FULL, 0))
    return h;
  return 0;
}

HCRYPTHASH createHash(HCRYPTPROV provider, ALG_ID algorithm) {
  HCRYPTHASH h = 0;
  return CryptCreateHash(provider, algorithm, 0, 0, &h) ? h : 0;
}

// The event marks this copy as running for as long as the process lives, so
// its handle is never closed.
HANDLE g_instanceEvent = nullptr;

void bringForward(HWND w) {
  if (!IsWindowVisible(w))
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  if (IsIconic(w)) OpenIcon(w);
  activateWindow(w);
}

}  // namespace

Text defaultInstanceName() {
  const Text fixed = gbk("你懒得输入，我就写死，略略");
  return md5Hex(Bytes(fixed.begin(), fixed.end()));
}

Text md5Hex(const Bytes& data) {
  ScopedHandle<CryptContextTraits> context(acquireCryptContext());
  if (!context.get()) return Text();
  ScopedHandle<CryptHashTraits> hash(createHash(context.get(), CALG_MD5));
  if (!hash.get()) return Text();
  if (!CryptHashData(hash.get(), data.empty() ? nullptr : data.data(), DWORD(data.size()), 0))
    return Text();
  BYTE digest[16];
  DWORD size = sizeof digest;
  if (!CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &size, 0) || size != sizeof digest)
    return Text();
  static const char kDigits[] = "0123456789ABCDEF";
  Text hex;
  for (BYTE b : digest) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xF];
  }
  // The digits are written upper case, then the whole text is lowered.
  for (char& c : hex)
    if (c >= 'A' && c <= 'F') c = char(c - 'A' + 'a');
  return hex;
}

uint32_t findProcessByExeName(const Text& exeName) {
  ScopedFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  const auto* wanted = reinterpret_cast<const unsigned char*>(exeName.c_str());
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    // This copy has the same name; it is never the running copy sought.
    if (entry.th32ProcessID == self) continue;
    // Case-insensitive, with GBK two-byte characters compared as units.
    if (_mbsicmp(reinterpret_cast<const unsigned char*>(entry.szExeFile), wanted) == 0)
      return entry.th32ProcessID;
  }
  return 0;
}

void* findProcessWindow(uint32_t processId) {
  const DWORD t0 = GetTickCount();
  HWND w = nullptr;
  while (GetTickCount() - t0 < kWindowSearchBudgetMs) {
    w = FindWindowExA(nullptr, w, nullptr, nullptr);
    if (!w) return nullptr;
    if (!IsWindowVisible(w)) continue;
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && !GetParent(w)) return w;
    // Keep this copy's own window alive while the search goes on.
    processEvents();
  }
  return nullptr;
}

void activateWindow(void* window) {
  HWND w = static_cast<HWND>(window);
  const DWORD target = GetWindowThreadProcessId(w, nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(target, self, TRUE);
  SetActiveWindow(w);
  AttachThreadInput(target, self, FALSE);
}

void guardSingleInstance(const Text& instanceName, const Text& messageText, int32_t messageStyle) {
  const Text name = instanceName.empty() ? defaultInstanceName() : instanceName;
  ScopedKernelHandle running(OpenEventA(kEventAllAccess, FALSE, name.c_str()));
  if (!running.valid()) {
    g_instanceEvent = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
    return;
  }
  showMessageBox(nullptr, messageText, gbk("友情提醒:"), unsigned(messageStyle));
  const uint32_t pid = findProcessByExeName(moduleFileName());
  if (pid != 0) {
    if (HWND w = static_cast<HWND>(findProcessWindow(pid))) bringForward(w);
  }
  exitProgram(0);
}
