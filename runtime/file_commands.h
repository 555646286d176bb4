// The run time's file commands. Paths are GBK Text; on Windows they are
// converted with code page 936 and handed to the wide file functions.
#pragma once

#include "runtime/text.h"

// Creates that one directory when its parent exists. True when the path is a
// directory afterwards (it may have existed already).
bool createOneDirectory(const Text& path);

// Deletes the file; a missing file is not an error (true).
bool deleteOneFile(const Text& path);

bool fileExists(const Text& path);

// Reads the whole file. False when it cannot be opened or read.
bool readWholeFile(const Text& path, Bytes* out);

// Writes bytes as the whole content of path. The bytes go to a temporary
// file beside it that then replaces path, so a failed write never leaves a
// truncated file where a good one stood.
bool writeWholeFile(const Text& path, const Bytes& bytes);
