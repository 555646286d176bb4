// Deciphers the built-in server host and compares it with the host given on
// the command line (a test program: the product reads no command line).
#include <cstdio>
#include <cstring>

#include "manifest/server_host.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: server_host_probe EXPECTED_HOST\n");
    return 2;
  }
  const Text host = decipherServerHost();
  if (host != argv[1]) {
    std::fprintf(stderr, "deciphered host differs from the configured one (%zu bytes)\n",
                 host.size());
    return 1;
  }
  std::printf("deciphered host matches\n");
  return 0;
}
