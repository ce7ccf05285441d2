// Escaped on any bytes: what it gives is one line of well-formed UTF-8 without a control
// character, and gives back exactly the bytes it was given.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/escaped.h"

namespace {

int Hex(char c) {
  return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The escapes undone; false for an escape Escaped does not write.
bool Unescaped(std::string_view text, std::string& out) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] != '\\') {
      out += text[k];
      continue;
    }
    if (++k == text.size()) {
      return false;
    }
    switch (text[k]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case 'x':
        if (k + 2 >= text.size() || Hex(text[k + 1]) < 0 || Hex(text[k + 2]) < 0) {
          return false;
        }
        out += static_cast<char>(Hex(text[k + 1]) * 16 + Hex(text[k + 2]));
        k += 2;
        break;
      default:
        return false;
    }
  }
  return true;
}

// Decoded by the definition of UTF-8 rather than by Escaped's table of byte ranges: every code
// point in its shortest form, none a surrogate or past U+10FFFF, none a C0 or C1 control or DEL.
bool PrintableUtf8(std::string_view text) {
  for (std::size_t k = 0; k < text.size();) {
    const auto lead = static_cast<unsigned char>(text[k]);
    const std::size_t length = lead < 0x80       ? 1
                               : lead >> 5 == 6  ? 2
                               : lead >> 4 == 14 ? 3
                               : lead >> 3 == 30 ? 4
                                                 : 0;
    if (length == 0 || k + length > text.size()) {
      return false;
    }
    std::uint32_t point = length == 1 ? lead : lead & (0x7f >> length);
    for (std::size_t j = 1; j < length; ++j) {
      const auto next = static_cast<unsigned char>(text[k + j]);
      if (next >> 6 != 2) {
        return false;
      }
      point = point << 6 | (next & 0x3f);
    }
    constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kLeast[length] || point > 0x10ffff || (point >= 0xd800 && point <= 0xdfff) ||
        point < 0x20 || (point >= 0x7f && point <= 0x9f)) {
      return false;
    }
    k += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string escaped = quarrow::Escaped(text);
  std::string back;
  if (!PrintableUtf8(escaped) || !Unescaped(escaped, back) || back != text) {
    std::abort();
  }
  return 0;
}
