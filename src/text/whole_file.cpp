#include "text/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "text/checked_output.h"

namespace quarrow {
namespace {

// The temporary files a signal handler may have to remove. The handler only reads the slots, so
// each holds a name that stays valid until it is taken out again.
std::array<std::atomic<const char*>, 256> temporaries{};

void Register(const char* path) {
  for (auto& slot : temporaries) {
    const char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, path)) {
      return;
    }
  }
}

void Unregister(const char* path) {
  for (auto& slot : temporaries) {
    const char* expected = path;
    if (slot.compare_exchange_strong(expected, nullptr)) {
      return;
    }
  }
}

// What a plain create gives a new file: 0666 less the umask. Setting the umask is the only
// portable way to read it, and would hold for a moment for every thread's files, so Linux's own
// report of it is asked first.
unsigned NewFileMode() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re"); status != nullptr) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    std::fclose(status);
    if (found) {
      return 0666 & ~mask;
    }
  }
  const mode_t mask = umask(022);
  umask(mask);
  return 0666 & ~mask;
}

[[noreturn]] void Fail(const std::string& name, int error) {
  throw OutputFailed{"cannot write to " + name + ": " + std::strerror(error)};
}

}  // namespace

WholeFile::WholeFile(const std::string& path, std::string name)
    : name_(std::move(name)), mode_(NewFileMode()) {
  target_ = WriteTarget(path);
  if (target_.empty()) {
    Fail(name_, errno);
  }
  struct stat existing {};
  const bool exists = stat(target_.c_str(), &existing) == 0;
  const std::size_t slash = target_.rfind('/');
  const std::string base = target_.substr(slash + 1);
  if ((exists && !S_ISREG(existing.st_mode)) || base.empty() || base == "." || base == "..") {
    // Nothing to keep, or nothing a rename could replace: the file itself, as a plain open would.
    stream_.reset(std::fopen(path.c_str(), "wb"));
    if (stream_ == nullptr) {
      Fail(name_, errno);
    }
    return;
  }
  // A file the user may not write stays unwritten, although its folder would allow a rename.
  if (exists && faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
    Fail(name_, errno);
  }
  if (exists) {
    mode_ = existing.st_mode & 0777;
  }
  // Short enough for any file system's names however long the target's is.
  std::string pattern = target_.substr(0, slash + 1) + "." + base.substr(0, 200) + ".XXXXXX";
  const int fd = mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    Fail(name_, errno);
  }
  // On the heap, where a move of this leaves it, so that the registered name stays valid.
  temporary_ = std::make_unique<char[]>(pattern.size() + 1);
  std::memcpy(temporary_.get(), pattern.c_str(), pattern.size() + 1);
  Register(temporary_.get());
  stream_.reset(fdopen(fd, "wb"));
  if (stream_ == nullptr) {
    const int error = errno;
    close(fd);
    Discard();
    Fail(name_, error);
  }
}

WholeFile::WholeFile(WholeFile&& other) noexcept = default;

WholeFile& WholeFile::operator=(WholeFile&& other) noexcept {
  if (this != &other) {
    Discard();
    target_ = std::move(other.target_);
    temporary_ = std::move(other.temporary_);
    name_ = std::move(other.name_);
    mode_ = other.mode_;
    stream_ = std::move(other.stream_);
  }
  return *this;
}

WholeFile::~WholeFile() {
  Discard();
}

void WholeFile::Write(std::string_view text) {
  quarrow::Write(stream_.get(), text, name_);
}

void WholeFile::Complete() {
  if (temporary_ == nullptr) {
    Finish(stream_.get(), name_);
    return;
  }
  if (stream_ == nullptr) {
    return;  // completed already
  }
  errno = 0;
  const int fd = fileno(stream_.get());
  if (std::fflush(stream_.get()) != 0 || std::ferror(stream_.get()) != 0 || fsync(fd) != 0 ||
      fchmod(fd, static_cast<mode_t>(mode_)) != 0 || std::fclose(stream_.release()) != 0) {
    const int error = errno != 0 ? errno : EIO;
    Discard();
    Fail(name_, error);
  }
}

void WholeFile::PutInPlace() {
  if (temporary_ == nullptr) {
    return;
  }
  if (rename(temporary_.get(), target_.c_str()) != 0) {
    const int error = errno;
    Discard();
    Fail(name_, error);
  }
  Unregister(temporary_.get());
  temporary_.reset();
}

void WholeFile::Discard() noexcept {
  stream_.reset();
  if (temporary_ != nullptr) {
    unlink(temporary_.get());
    Unregister(temporary_.get());
    temporary_.reset();
  }
}

std::string WriteTarget(const std::string& path) {
  std::string current = path;
  // As many links as the kernel follows before it calls them a loop.
  for (int links = 0;; ++links) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      break;
    }
    char link[PATH_MAX];
    const ssize_t length = readlink(current.c_str(), link, sizeof link);
    if (links == 40 || length < 0 || length == sizeof link) {
      errno = links == 40 ? ELOOP : length < 0 ? errno : ENAMETOOLONG;
      return {};
    }
    const std::size_t slash = current.rfind('/');
    const std::string_view next(link, static_cast<std::size_t>(length));
    current = next.starts_with('/') || slash == std::string::npos
                  ? std::string(next)
                  : current.substr(0, slash + 1) + std::string(next);
  }
  const std::size_t slash = current.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : current.substr(0, slash + 1);
  char* real = realpath(folder.c_str(), nullptr);
  if (real == nullptr) {
    return {};
  }
  std::string target = real;
  std::free(real);
  if (target.back() != '/') {
    target += '/';
  }
  return target + current.substr(slash + 1);
}

void RemoveTemporaryFiles() noexcept {
  for (auto& slot : temporaries) {
    if (const char* path = slot.load(); path != nullptr) {
      unlink(path);
    }
  }
}

}  // namespace quarrow
