// Path and directory operations of the install: GBK Text <-> UTF-16
// WideText, the directory test, a sanity check for absolute drive paths, a
// recursive delete, the creation of every directory along a path and the
// refresh that empties a directory.
//
// Every file-system call goes through the wide Windows functions with paths
// converted from GBK by code page 936 (InstallState::codePage), so Chinese
// paths work on a Windows of any locale. Nothing here shows a message or
// processes window events; results describe the end state.
#pragma once

#include "runtime/text.h"

// --- Both builds ---------------------------------------------------------

// UTF-16LE bytes of text, ended by a two-byte zero that the length counts;
// empty for an empty text. The text ends at its first NUL byte. Converted
// with InstallState::codePage (936 while it is still 0).
WideText textToWide(const Text& text);

// wide cut at its first zero unit (an odd trailing byte is dropped), with a
// two-byte terminator appended when addTerminator is true. Empty when
// nothing comes before the cut.
WideText trimAtNul(const WideText& wide, bool addTerminator);

// True for an absolute path on a drive letter (C:\x, d:/games) once runs of
// backslashes and of slashes are collapsed; a bare drive root such as C:\ is
// refused when rejectRoot is true.
bool isValidPath(const Text& path, bool rejectRoot);

// --- Windows build only (wide file-system calls) -------------------------

// True when path names an existing directory; false for an empty path.
bool isDirectory(const Text& path);
bool isDirectoryWide(const WideText& path);

// Deletes the directory path with everything below it, making read-only
// files writable first. Directory junctions and symbolic links are removed
// as links, never entered, so their targets survive; when path itself is
// such a link only the link goes. Refuses (false, nothing touched) an empty
// path or one that begins with a backslash. True when the top directory is
// gone.
bool deleteTree(const Text& path);
bool deleteTreeWide(const WideText& path);

// Creates every directory along path, the drive part excepted, from the
// top down. True when the whole path is a directory afterwards. Paths of
// fewer than three characters create nothing.
bool createDirectoryChain(const Text& path);
void createDirectoryChainWide(const WideText& path);

// Empties an existing directory: deletes it with its contents and creates
// it again. A path that is not an existing directory, or is a drive root or
// not an absolute drive path, is left alone (nothing is created).
void refreshDirectory(const Text& path);

// Test seam: called after every CreateDirectoryW of createDirectoryChainWide
// with the path it was given (terminator included) and whether it succeeded.
using CreateDirectoryObserver = void (*)(const WideText& path, bool created);
void setCreateDirectoryObserverForTesting(CreateDirectoryObserver observer);
