#include "util/text.h"

#include <algorithm>

int32_t ParseDecimal(std::string_view text) {
  text = text.substr(0, TextLength(text));
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  uint32_t value = 0;
  for (char c : text) value = value * 10u + static_cast<uint8_t>(static_cast<uint8_t>(c) - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::string FormatDecimal(int32_t value) {
  // The magnitude as unsigned, so that -2147483648 has one.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits.push_back('-');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string CountedWord(int32_t count, std::string_view unit) {
  std::string text = FormatDecimal(count);
  text += unit;
  if (count != 1) text += 's';
  return text;
}

std::string ZeroPadded(uint32_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::size_t TextLength(std::string_view text) {
  std::size_t end = text.find('\0');
  return end == std::string_view::npos ? text.size() : end;
}

std::string& AppendText(std::string& destination, std::string_view source) {
  return destination.append(source.substr(0, TextLength(source)));
}

std::string LeftText(std::string_view source, std::size_t count) {
  return std::string(source.substr(0, count));
}

std::string MidText(std::string_view source, std::size_t start, std::size_t count) {
  if (start >= source.size()) return {};
  return std::string(source.substr(start, count));
}

std::string RightText(std::string_view source, std::size_t count) {
  count = std::min(count, source.size());
  return std::string(source.substr(source.size() - count));
}

std::string PathDirectory(std::string_view path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(0, slash + 1));
}
