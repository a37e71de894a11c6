#pragma once
// Byte-wise scrambling of a test file's body and whole-file reads and writes.

#include <cstddef>
#include <string>

// Each byte is shifted up by the key character at (position mod key length),
// positions counted from 1, modulo 256. The result has the same length.
// An empty key leaves the data as it is.
std::string Scramble(const std::string& data, const std::string& key);

// The inverse of Scramble with the same key.
std::string Unscramble(const std::string& data, const std::string& key);

// Unscrambles in place a piece of a body whose first byte has the given
// position (counted from 1), so a body read in pieces comes out as if whole.
void UnscrambleAt(char* data, size_t size, const std::string& key, unsigned long long position);

// The file's bytes unchanged; "" when no file exists at the path. Other
// failures (a folder, no permission, a read error) raise EInOutError.
std::string ReadWholeFile(const std::string& path);

// Replaces the file with exactly these bytes, through a temporary file beside
// it, so a failed write leaves the old file intact; the failure raises EInOutError.
void WriteWholeFile(const std::string& path, const std::string& data);
