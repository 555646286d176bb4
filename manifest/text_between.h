// Marker search over GBK text.
#pragma once

#include "runtime/text.h"

// The text of source between the first occurrence of startMarker and the
// first occurrence of endMarker after it; empty when either is missing.
// In both markers every "#引号" stands for one double-quote character.
Text textBetween(const Text& source, const Text& startMarker, const Text& endMarker);
