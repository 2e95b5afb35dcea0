// Files that survive a crash: whole files replaced through a temporary name,
// and lines appended and flushed to disk before the call returns.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes what `write` produces to "<path>.tmp" in the same folder, flushes it
// to disk and renames it over path, so path holds either the old or the whole
// new content. False (and no path touched) when the folder cannot be written.
bool writeFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write);

// Flushes the written file `temporary` to disk and renames it over path,
// then flushes the folder's entries. False (temporary removed, errno kept)
// when the flush or the rename fails.
bool replaceFileDurably(const std::string& temporary, const std::string& path);

// Appends text to path (created when missing) and flushes it to disk. False
// when the file cannot be opened or written.
bool appendToFileDurably(const std::string& path, const std::string& text);
