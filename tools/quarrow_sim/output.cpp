#include "output.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

namespace quarrow::sim {
namespace {

[[noreturn]] void Fail(std::string_view name, int error) {
  throw OutputFailed{"cannot write to " + Escaped(name) + ": " + std::strerror(error)};
}

}  // namespace

void RequireOpen(std::FILE* out, std::string_view name) {
  if (fcntl(fileno(out), F_GETFD) == -1) {
    Fail(name, errno);
  }
}

void Write(std::FILE* out, std::string_view text, std::string_view name) {
  if (text.empty()) {
    return;
  }
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
    Fail(name, errno != 0 ? errno : EIO);
  }
}

void Finish(std::FILE* out, std::string_view name) {
  errno = 0;
  if (std::fflush(out) != 0 || std::ferror(out) != 0) {
    Fail(name, errno != 0 ? errno : EIO);
  }
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (u < 0x20 || u == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 0xf];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace quarrow::sim
