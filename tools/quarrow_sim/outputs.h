#pragma once

// The runner's outputs: each a file written whole or not at all, standard output, or nothing; all
// opened before the first match, so that a bad name fails with nothing touched.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/whole_file.h"

namespace quarrow::runner {

class Output {
 public:
  Output() = default;
  // path: a file name, "-" for standard output, or nothing when the output was not asked for;
  // what names the output in errors ("CSV").
  Output(const std::optional<std::string>& path, std::string_view what);

  bool Wanted() const { return stdout_ || file_.has_value(); }
  bool ToStandardOutput() const { return stdout_; }
  // What has gathered is written once it is worth a write; it always ends at a record's end.
  std::string& Buffer() { return buffer_; }
  void Spill(std::size_t atLeast = 1 << 16);
  // Writes the rest and completes the file; throws OutputFailed when anything was lost.
  void Complete();
  // Puts a completed file in place.
  void PutInPlace();

 private:
  bool stdout_ = false;
  std::optional<WholeFile> file_;
  std::string buffer_;
};

// Completes every output, then puts them all in place: one that cannot be completed leaves every
// file as it was before the run.
void FinishTogether(std::initializer_list<Output*> outputs);

// One line naming two options that name the same file (what writing each would name: the same
// path once links are followed, or the same device and inode, standard output included), or
// empty. Terminals and other character devices, such as /dev/null, may be shared.
std::string SharedFileError(const std::vector<std::pair<std::string_view, std::string>>& named);

}  // namespace quarrow::runner
