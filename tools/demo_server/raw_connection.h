// Direct access to a client connection for the responses the HTTP library
// cannot give: a body shorter than its announced length, a body without a
// length, and a connection reset.
#pragma once

#include <cstddef>
#include <string>

namespace demo {

// Finds the descriptor of our end of the connection with the given peer and
// local port. Returns -1 when there is none.
int findConnectionSocket(const std::string& peerAddress, int peerPort, int localPort);

bool sendAll(int socket, const char* data, size_t size);

// Sends our FIN after everything written so far; the peer sees the end of
// the body. Later writes on the socket fail.
void closeConnection(int socket);

// Waits until the peer has acknowledged what was written, then aborts the
// connection with a TCP reset.
void resetConnection(int socket);

}  // namespace demo
