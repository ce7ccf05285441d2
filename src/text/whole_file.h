#pragma once

// A file written whole or not at all. It is written to a temporary file beside its target, made
// with an unpredictable name that no link can stand in for, and renamed over the target only once
// complete and on disk: a failed write, an error or an interruption leaves whatever was there
// before exactly as it was. A target that is a link stays one: the file at the end of its links is
// replaced, or made where a plain create would make it. A target that exists and is not a regular
// file (a device, a pipe) has nothing to keep and is written directly.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace quarrow {

class WholeFile {
 public:
  // Creates the temporary file; throws OutputFailed with a line quoting name when that fails.
  WholeFile(const std::string& path, std::string name);
  WholeFile(WholeFile&&) noexcept;
  WholeFile& operator=(WholeFile&&) noexcept;
  // Removes the temporary file unless it was committed.
  ~WholeFile();

  // Where to write; flushes and writes are checked again by Commit.
  std::FILE* Stream() const { return stream_.get(); }
  // As errors show the file: "the CSV 'x.csv'".
  const std::string& Name() const { return name_; }
  // Writes all of text, or throws OutputFailed.
  void Write(std::string_view text);
  // Flushes, syncs and closes the file and gives it the permissions a plain create would have;
  // throws OutputFailed (the temporary file removed, the target untouched) when any of that fails.
  // Files that change together are all completed before any is put in place.
  void Complete();
  // Renames the completed file over the target; throws OutputFailed when that fails.
  void PutInPlace();
  void Commit() {
    Complete();
    PutInPlace();
  }

 private:
  void Discard() noexcept;

  std::string target_;
  std::unique_ptr<char[]> temporary_;  // none when writing the target directly, or once committed
  std::string name_;
  unsigned mode_ = 0;  // the permissions the committed file gets
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream_{nullptr, &std::fclose};
};

// The file that writing path replaces or makes: the end of its links, even one not made yet, in
// its folder named without links, dots or repeated slashes. Empty, with errno set, where a plain
// create would not get that far (a missing folder, a loop of links).
std::string WriteTarget(const std::string& path);

// Removes every temporary file not yet committed or discarded. Async-signal-safe: for a handler
// about to end the process at once.
void RemoveTemporaryFiles() noexcept;

}  // namespace quarrow
