#include "win/file_io.h"

#include <windows.h>

#include "win/scoped.h"

namespace {
bool NoSuchFile(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
}  // namespace

FileRead ReadDataFile(const std::string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return NoSuchFile(GetLastError()) ? FileRead::Missing : FileRead::Unread;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FileRead::Unread;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return NoSuchFile(GetLastError()) ? FileRead::Missing : FileRead::Unread;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1 << 24)) return FileRead::Unread;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    bytes.clear();
    return FileRead::Unread;
  }
  return FileRead::Whole;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  ReadDataFile(path, bytes);
  return bytes;
}

std::string FreeBackupPath(const std::string& path) {
  // A name whose state cannot be read is as good as any: the copy never
  // replaces what is there.
  std::string backup = path + ".bak";
  for (char digit = '2'; digit <= '9' && GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES; ++digit) {
    const char number[] = {'.', digit};  // in place of the number before, if any
    backup.replace(path.size(), backup.size() - path.size() - 4, number, 2);
  }
  return backup;
}

bool CopyAside(const std::string& path, const std::string& backup) {
  return CopyFileA(path.c_str(), backup.c_str(), TRUE) || !FileIsThere(path);
}

bool FileIsThere(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES || !NoSuchFile(GetLastError());
}

bool FolderIsWritable(const std::string& folder) {
  const std::string probe = folder + "fumora-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  FileHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file) return false;
  file.Close();
  DeleteFileA(probe.c_str());
  return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;  // never a file in the current folder
  const std::string temporary = path + ".tmp";
  {
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    DWORD written = 0;
    bool ok = (bytes.empty() ||
               WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
              written == bytes.size() && FlushFileBuffers(file.get());
    if (!file.Close() || !ok) {
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}
