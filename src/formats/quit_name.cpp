#include "formats/quit_name.h"

#include <algorithm>
#include <cstring>

std::vector<uint8_t> EncodeQuitName(const char (&name)[128]) {
  const std::size_t length =
      std::find(name, name + QuitNameCapacity - 1, '\0') - name;  // at most 127: room for the zero
  std::vector<uint8_t> bytes(name, name + length);
  bytes.push_back(0);
  return bytes;
}

bool DecodeQuitName(std::span<const uint8_t> bytes, char (&name)[128]) {
  if (bytes.empty() || bytes.size() > QuitNameCapacity) return false;
  char text[QuitNameCapacity] = {};
  std::memcpy(text, bytes.data(), std::min(bytes.size(), QuitNameCapacity - 1));
  std::memcpy(name, text, sizeof(text));
  return true;
}
