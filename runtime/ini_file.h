// The run time's INI write. The file keeps GBK bytes whatever the system's
// code page, so a reader on any Windows sees the same text.
#pragma once

#include "runtime/text.h"

// Sets key=value in section of an INI text, the way the Windows profile
// functions do: section and key names match without regard to ASCII letter
// case and surrounding blanks; a missing section is appended at the end; a
// missing key is added after the last entry of its section. Lines end CRLF.
Bytes iniSetValue(const Bytes& content, const Text& section, const Text& key, const Text& value);

// Reads file (a missing file counts as empty), sets the value and writes the
// file back, in the encoding it had: GBK bytes, or UTF-16 when it starts with
// that byte-order mark. False when the file could not be read or written.
bool iniWrite(const Text& file, const Text& section, const Text& key, const Text& value);

// The value of key in section, or an empty text.
Text iniGetValue(const Bytes& content, const Text& section, const Text& key);
