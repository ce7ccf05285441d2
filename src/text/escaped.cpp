#include "text/escaped.h"

#include <cstddef>

namespace quarrow {
namespace {

// The marks and embeddings that reorder right-to-left and left-to-right text: quoted, they could
// make a terminal show the rest of the line in another order than it was written.
bool ReordersText(char32_t c) {
  return c == 0x061c || c == 0x200e || c == 0x200f || (c >= 0x202a && c <= 0x202e) ||
         (c >= 0x2066 && c <= 0x2069);
}

// The length of the well-formed UTF-8 sequence of a character at the start of text that is not a
// control character, or 0: overlong forms, surrogates, code points past U+10FFFF, the C1
// controls and the bidirectional controls all count as bytes to escape.
std::size_t PrintableSequence(std::string_view text) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(0);
  if (lead >= 0x20 && lead < 0x7f) {
    return 1;
  }
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xbf;  // the range of the second byte
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    if (lead == 0xc2) {
      low = 0xa0;  // U+0080 to U+009F are controls
    }
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    low = lead == 0xe0 ? 0xa0 : 0x80;
    high = lead == 0xed ? 0x9f : 0xbf;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    low = lead == 0xf0 ? 0x90 : 0x80;
    high = lead == 0xf4 ? 0x8f : 0xbf;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) {
    return 0;
  }
  char32_t c = lead & (0x7f >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if (byte(k) < 0x80 || byte(k) > 0xbf) {
      return 0;
    }
    c = c << 6 | (byte(k) & 0x3f);
  }
  return ReordersText(c) ? 0 : length;
}

}  // namespace

std::string Escaped(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const char c = text.front();
    std::size_t length = 1;
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (const std::size_t printable = PrintableSequence(text); printable > 0) {
      out += text.substr(0, printable);
      length = printable;
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      const auto u = static_cast<unsigned char>(c);
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 0xf];
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace quarrow
