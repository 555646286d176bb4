// Start-up checks: the product this build installs, and the installer version
// the server requires.
#pragma once

#include <vector>

#include "runtime/text.h"

struct ProductVariant {
  Text fullName;     // the stored text of the product-name label
  Text productCode;  // names the main program on the server
  Text brandName;    // prefixes the update key; written to the marker file
};

// The six products, in table order (GBK texts).
const std::vector<ProductVariant>& productVariants();

// Sets productCode and brandName from the row whose full name equals
// productName byte for byte; leaves both unchanged when no row matches.
void selectProductVariant(const Text& productName);

// The creation-complete handler of the main window: copies the product name
// to the other pages, runs the single-instance guard, then the version gate.
void onMainWindowCreated();

// Sets installerVersion and defaultDir, reads the description file, selects
// the product and builds its URLs, then returns when the server asks for this
// installer version; otherwise tells the user and ends the process with 0.
void runVersionGate();

// Pieces of the gate, for its callers and tests.
extern const char* const kInstallerVersion;
Text defaultDirIn(const Text& appDataFolder);
Text mainProgramUrl(const Text& host, const Text& productCode);
Text updateUrlKey(const Text& brandName);
// True only for an address the browser may be sent to: one that starts with
// "http://" or "https://" in any letter case.
bool isWebAddress(const Text& address);
