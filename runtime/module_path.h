// The program's own executable file.
#pragma once

#include "runtime/text.h"

// Full path of the running program's file as GBK Text; empty when unknown.
Text moduleFilePath();

// The last component of moduleFilePath(), after the last folder separator.
Text moduleFileName();
