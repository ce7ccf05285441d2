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
    : target_(path), name_(std::move(name)), mode_(NewFileMode()) {
  struct stat existing {};
  const bool exists = stat(path.c_str(), &existing) == 0;
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string base = path.substr(directory.size());
  if ((exists && !S_ISREG(existing.st_mode)) || base.empty() || base == "." || base == "..") {
    // Nothing to keep, or nothing a rename could replace: the file itself, as a plain open would.
    stream_.reset(std::fopen(path.c_str(), "wb"));
    if (stream_ == nullptr) {
      Fail(name_, errno);
    }
    return;
  }
  if (exists) {
    // A file the user may not write stays unwritten, although its folder would allow a rename;
    // through a link, the file it names is the one replaced.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
      Fail(name_, errno);
    }
    mode_ = existing.st_mode & 0777;
    if (char* real = realpath(path.c_str(), nullptr); real != nullptr) {
      target_ = real;
      std::free(real);
    }
  }
  const std::size_t targetSlash = target_.rfind('/');
  const std::string targetDirectory =
      targetSlash == std::string::npos ? "" : target_.substr(0, targetSlash + 1);
  // Short enough for any file system's names however long the target's is.
  std::string pattern =
      targetDirectory + "." + target_.substr(targetDirectory.size(), 200) + ".XXXXXX";
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

void WholeFile::Commit() {
  if (temporary_ == nullptr) {
    Finish(stream_.get(), name_);
    return;
  }
  errno = 0;
  const int fd = fileno(stream_.get());
  if (std::fflush(stream_.get()) != 0 || std::ferror(stream_.get()) != 0 || fsync(fd) != 0 ||
      fchmod(fd, static_cast<mode_t>(mode_)) != 0 || std::fclose(stream_.release()) != 0 ||
      rename(temporary_.get(), target_.c_str()) != 0) {
    const int error = errno != 0 ? errno : EIO;
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

void RemoveTemporaryFiles() noexcept {
  for (auto& slot : temporaries) {
    if (const char* path = slot.load(); path != nullptr) {
      unlink(path);
    }
  }
}

}  // namespace quarrow
