// The run time's text search and replacement, aware of two-byte GBK
// characters: a byte of 0x80 or above starts a two-byte character, and a
// match never begins on the second byte of one.
#pragma once

#include "runtime/text.h"

// 1-based position of the first occurrence of needle in source at or after
// the 1-based position start, or -1 when there is none.
int textFind(const Text& source, const Text& needle, int start = 1);

// Every occurrence of from replaced by to, scanning left to right.
Text textReplaceAll(const Text& source, const Text& from, const Text& to);

// The part of text before the first occurrence of marker, or an empty text
// when the marker is not found.
Text textLeftOf(const Text& text, const Text& marker);
