#include "skin/host.h"

namespace skin {

std::unique_ptr<Host> makePlatformHost() { return std::make_unique<HeadlessHost>(); }

}  // namespace skin
