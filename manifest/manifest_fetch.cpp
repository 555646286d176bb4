#include "manifest/manifest_fetch.h"

#include <string>

#include "app/install_state.h"
#include "manifest/server_host.h"
#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/http_read.h"

Text manifestUrl(const Text& host) { return "http://" + host + ":5001/vrk/azq.txt"; }

Text fetchManifest() {
  processEvents();
  InstallState& state = installState();
  state.serverHost = decipherServerHost();
  const Bytes body = httpReadWhole(manifestUrl(state.serverHost));
  // The keys are GBK, so the file is converted to GBK whatever the system's
  // own code page is.
  return utf8ToText(std::string(body.begin(), body.end()));
}
