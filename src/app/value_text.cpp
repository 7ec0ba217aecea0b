#include "app/value_text.h"

#include <cstdio>
#include <cstdlib>

std::string numberToText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.13g", value);
  return text;
}

std::string fullWidthToAscii(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else {
      out += text[i];
      out += text[i + 1];
    }
    ++i;
  }
  return out;
}

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Length of the longest prefix of s (after its blanks) that atof would read as a number.
size_t numberPrefixEnd(const std::string& s, size_t start) {
  size_t i = start;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return start;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t e = i + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
    if (e < s.size() && isDigit(s[e])) {
      while (e < s.size() && isDigit(s[e])) ++e;
      i = e;
    }
  }
  return i;
}

}  // namespace

double textToNumber(const std::string& text) {
  std::string s = fullWidthToAscii(text);
  size_t start = 0;
  while (start < s.size() && isBlank(s[start])) ++start;
  size_t end = numberPrefixEnd(s, start);
  if (end == start) return 0;
  // Only plain decimal syntax reaches strtod, so hex, "inf" and "nan" never count.
  return std::strtod(s.substr(start, end - start).c_str(), nullptr);
}

int32_t narrowToInt32(double value) {
  if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) return 0;
  auto wide = static_cast<int64_t>(value);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
}
