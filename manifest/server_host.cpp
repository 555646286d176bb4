#include "manifest/server_host.h"

#include "manifest/server_host_cipher.h"
#include "runtime/rc4.h"

namespace {
Text g_testHost;
}

Text decipherServerHost() {
  if (!g_testHost.empty()) return g_testHost;
  const Bytes cipher(kServerHostCipher, kServerHostCipher + sizeof kServerHostCipher);
  return rc4DecipherText(cipher, Text(kServerHostKey, sizeof kServerHostKey - 1));
}

void setServerHostForTesting(const Text& host) { g_testHost = host; }
