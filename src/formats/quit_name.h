// The QuitName value: the user's name with its terminating zero, stored as
// text length + 1 bytes and read back into the 128-byte name field.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "formats/settings_records.h"

inline constexpr std::size_t QuitNameCapacity = sizeof(QuitDetailsRecord::name);

// The bytes to store: the text up to its first zero (at most 127 bytes) and one zero.
std::vector<uint8_t> EncodeQuitName(const char (&name)[128]);

// Takes 1..128 stored bytes into `name`, always zero-terminated (an
// unterminated 128-byte value loses its last byte) and zero-padded. Any other
// size returns false and leaves `name` as it was.
bool DecodeQuitName(std::span<const uint8_t> bytes, char (&name)[128]);
