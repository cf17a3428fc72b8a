// Whole-file reads and atomic replacement for the data files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// How a data file was read.
enum class FileRead {
  Missing,  // no such file: nothing to lose
  Whole,  // every byte is in `bytes`
  Unread,  // there (or perhaps there), but not read in full: a folder of that
           // name, a file held without sharing by another program, a read error
};

// Reads the whole file into `bytes` (empty unless Whole). The file is shared
// for reading, writing and deleting, so that a backup or sync tool that holds
// it open does not make it unreadable.
FileRead ReadDataFile(const std::string& path, std::vector<uint8_t>& bytes);
// The file's bytes; empty when it is missing or unreadable.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// A data file that was not read whole holds what the program could not keep:
// before it is first replaced it is copied aside, to the first of `path`.bak,
// `path`.2.bak ... `path`.9.bak that is not there (the last when all are). A
// backup already there may hold what only it holds: it is never replaced.
std::string FreeBackupPath(const std::string& path);
// Copies `path` to `backup` unless something is there. True when that copy
// was made, or there is no file any more to copy.
bool CopyAside(const std::string& path, const std::string& backup);

// Whether something of that name is there (a file whose attributes cannot be
// read, other than for being missing, counts as there).
bool FileIsThere(const std::string& path);
// Whether a file can be made in `folder` (which ends with a backslash): tried
// with a temporary file that is gone again at once.
bool FolderIsWritable(const std::string& folder);

// Writes a temporary file beside `path`, flushes it and moves it over `path`
// (replace-existing, write-through). On any failure the previous file stays
// whole and false is returned.
bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
