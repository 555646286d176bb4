// One running copy per product: a named event marks the copy that runs.
#pragma once

#include <cstdint>

#include "runtime/text.h"

// Returns when no other copy with instanceName runs (this copy then owns the
// event until it ends). Otherwise shows messageText with the caption
// "友情提醒:" and messageStyle, brings the running copy's window forward and
// ends the process with code 0. An empty instanceName is replaced by
// defaultInstanceName().
void guardSingleInstance(const Text& instanceName, const Text& messageText, int32_t messageStyle);

// The instance name of a build whose product name is empty: md5Hex of a
// fixed text's GBK bytes.
Text defaultInstanceName();

// MD5 of data as 32 lower-case hexadecimal digits; empty when the digest
// cannot be computed.
Text md5Hex(const Bytes& data);

// Identifier of the first other process in the system's list whose
// executable file name equals exeName, ignoring letter case; 0 when there is
// none. The calling process is skipped.
uint32_t findProcessByExeName(const Text& exeName);

// A visible top-level window without parent that belongs to processId, found
// within about 100 ms; null when none turns up.
void* findProcessWindow(uint32_t processId);

// Makes window the active window although another process owns it.
void activateWindow(void* window);
