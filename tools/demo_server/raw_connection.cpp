#include "tools/demo_server/raw_connection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace demo {
namespace {

bool addressText(const sockaddr_storage& address, std::string& text, int& port) {
  char buffer[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
    inet_ntop(AF_INET, &v4->sin_addr, buffer, sizeof buffer);
    port = ntohs(v4->sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
    inet_ntop(AF_INET6, &v6->sin6_addr, buffer, sizeof buffer);
    port = ntohs(v6->sin6_port);
  } else {
    return false;
  }
  text = buffer;
  return true;
}

bool isConnection(int fd, const std::string& peerAddress, int peerPort, int localPort) {
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode)) return false;
  sockaddr_storage local = {}, peer = {};
  socklen_t localSize = sizeof local, peerSize = sizeof peer;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0) return false;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) return false;
  std::string localText, peerText;
  int localSeen = 0, peerSeen = 0;
  return addressText(local, localText, localSeen) && addressText(peer, peerText, peerSeen) &&
         localSeen == localPort && peerSeen == peerPort && peerText == peerAddress;
}

}  // namespace

int findConnectionSocket(const std::string& peerAddress, int peerPort, int localPort) {
  // The library does not hand its socket to request handlers; the
  // connection's ports identify it among our open descriptors.
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  int found = -1;
  while (dirent* entry = readdir(dir)) {
    char* end = nullptr;
    long fd = strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0' || fd == dirfd(dir)) continue;
    if (isConnection(static_cast<int>(fd), peerAddress, peerPort, localPort)) {
      found = static_cast<int>(fd);
      break;
    }
  }
  closedir(dir);
  if (found >= 0) {
    // Small writes go out at once, so the peer sees exactly what was sent
    // before the connection ends.
    int on = 1;
    setsockopt(found, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  return found;
}

bool sendAll(int socket, const char* data, size_t size) {
  while (size > 0) {
    ssize_t sent = send(socket, data, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

void closeConnection(int socket) {
  shutdown(socket, SHUT_RDWR);
}

void resetConnection(int socket) {
  // A reset throws away whatever is still queued, so first let the peer
  // acknowledge the bytes it is meant to get (bounded: a peer that stopped
  // reading gets its reset anyway).
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  for (;;) {
    int unacknowledged = 0;
    if (ioctl(socket, SIOCOUTQ, &unacknowledged) != 0 || unacknowledged == 0) break;
    if (std::chrono::steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Disconnecting a TCP socket (connect to AF_UNSPEC) aborts it with a
  // reset and no FIN; the library's later close of the descriptor is then
  // harmless.
  sockaddr disconnect = {};
  disconnect.sa_family = AF_UNSPEC;
  if (connect(socket, &disconnect, sizeof disconnect) != 0) {
    linger abort = {1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    shutdown(socket, SHUT_RD);
  }
}

}  // namespace demo
