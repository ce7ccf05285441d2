#include "text/checked_output.h"

#include "text/escaped.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

namespace quarrow {
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

}  // namespace quarrow
