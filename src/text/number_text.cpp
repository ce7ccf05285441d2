#include "text/number_text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// libc++ (the WebAssembly build's library) has no floating-point to_chars; printf serves there.
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define QUARROW_FLOAT_TO_CHARS 1
#else
#define QUARROW_FLOAT_TO_CHARS 0
#endif

namespace quarrow {

void AppendPrecise(std::string& out, double v) {
  char buffer[40];
#if QUARROW_FLOAT_TO_CHARS
  // to_chars in general form with precision 17 prints what printf's %.17g prints, faster.
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
  out.append(buffer, result.ptr);
#else
  out.append(buffer, static_cast<std::size_t>(std::snprintf(buffer, sizeof buffer, "%.17g", v)));
#endif
}

void AppendShortest(std::string& out, double v) {
#if QUARROW_FLOAT_TO_CHARS
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
#else
  detail::AppendShortestByPrintf(out, v);
#endif
}

namespace detail {

void AppendShortestByPrintf(std::string& out, double v) {
  char sci[40];
  int precision = 0;  // digits after the first
  for (; precision < 17; ++precision) {
    std::snprintf(sci, sizeof sci, "%.*e", precision, v);
    if (std::strtod(sci, nullptr) == v) {
      break;
    }
  }
  const std::string_view text(sci);
  const std::size_t e = text.find('e');
  if (e == std::string_view::npos) {
    out += text;  // inf or nan
    return;
  }
  const int exponent = std::atoi(sci + e + 1);
  const bool negative = text[0] == '-';
  std::string digits;  // the significant digits, no point
  for (const char c : text.substr(0, e)) {
    if (c >= '0' && c <= '9') {
      digits += c;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
  }
  const int n = static_cast<int>(digits.size());
  // to_chars writes the exponent with at least two digits, and keeps the shorter form.
  const int expDigits = std::abs(exponent) >= 100 ? 3 : 2;
  const int sciLength = n + (n > 1 ? 1 : 0) + 2 + expDigits;
  const int fixedLength =
      exponent >= 0 ? (n <= exponent + 1 ? exponent + 1 : n + 1) : n + 1 - exponent;
  if (negative) {
    out += '-';
  }
  if (fixedLength <= sciLength) {
    if (exponent + 1 >= n) {
      // A whole number: to_chars writes its exact digits, beyond 2^53 more than the shortest.
      char whole[320];
      std::snprintf(whole, sizeof whole, "%.0f", negative ? -v : v);
      out += whole;
    } else if (exponent >= 0) {
      for (int k = 0; k < n; ++k) {
        if (k == exponent + 1) {
          out += '.';
        }
        out += k < n ? digits[static_cast<std::size_t>(k)] : '0';
      }
    } else {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    }
    return;
  }
  out += digits[0];
  if (n > 1) {
    out += '.';
    out.append(digits, 1);
  }
  char tail[16];
  std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  out += tail;
}

}  // namespace detail
}  // namespace quarrow
