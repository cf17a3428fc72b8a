// The QuitName value: any stored bytes. 1..128 bytes are taken: the name is
// the text before the first zero (at most 127 bytes), zero-padded; any other
// size leaves the name as it was. Encoding gives the text and one zero.
#include <cstring>
#include <string>

#include "formats/quit_name.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::vector<uint8_t> stored = input.Rest();
  char name[128];
  std::memset(name, 'x', sizeof(name));
  const bool taken = DecodeQuitName(stored, name);
  Check(taken == (!stored.empty() && stored.size() <= QuitNameCapacity));
  if (!taken) {
    for (char c : name) Check(c == 'x');
    return 0;
  }
  // The stored bytes (at most 127 of them) and zeros after them.
  const std::size_t kept = std::min(stored.size(), QuitNameCapacity - 1);
  Check(std::memcmp(name, stored.data(), kept) == 0);
  for (std::size_t i = kept; i < sizeof(name); ++i) Check(name[i] == '\0');
  const std::size_t length = strnlen(name, sizeof(name));

  const std::vector<uint8_t> encoded = EncodeQuitName(name);
  Check(encoded.size() == length + 1 && encoded.back() == 0);
  char again[128];
  Check(DecodeQuitName(encoded, again));
  Check(std::memcmp(again, name, length) == 0 && strnlen(again, sizeof(again)) == length);
  return 0;
}
