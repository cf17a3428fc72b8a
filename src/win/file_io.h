// Whole-file reads and atomic replacement for the data files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The file's bytes; empty when it is missing or unreadable.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Writes a temporary file beside `path`, flushes it and moves it over `path`
// (replace-existing, write-through). On any failure the previous file stays
// whole and false is returned.
bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
