#include "outputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "text/checked_output.h"
#include "text/escaped.h"

namespace quarrow::runner {
namespace {

constexpr std::string_view kStandardOutput = "standard output";

struct FileIdentity {
  bool exists = false;
  bool shareable = false;
  dev_t device = 0;
  ino_t inode = 0;
  std::string path;  // what writing it names, or where it fails
};

FileIdentity Identify(const std::string& name) {
  FileIdentity id;
  struct stat info {};
  if (name == "-") {
    id.exists = fstat(STDOUT_FILENO, &info) == 0;
  } else {
    id.path = WriteTarget(name);
    if (id.path.empty()) {
      // Writing it fails; the same spelling fails the same way.
      std::error_code error;
      id.path = std::filesystem::absolute(name, error).lexically_normal().string();
    }
    id.exists = stat(id.path.c_str(), &info) == 0;
  }
  if (id.exists) {
    id.shareable = S_ISCHR(info.st_mode);
    id.device = info.st_dev;
    id.inode = info.st_ino;
  }
  return id;
}

}  // namespace

Output::Output(const std::optional<std::string>& path, std::string_view what) {
  if (!path) {
    return;
  }
  if (*path == "-") {
    stdout_ = true;
    return;
  }
  file_.emplace(*path, "the " + std::string(what) + " '" + Escaped(*path) + "'");
}

void Output::Spill(std::size_t atLeast) {
  if (buffer_.size() < atLeast || buffer_.empty()) {
    return;
  }
  if (file_) {
    file_->Write(buffer_);
  } else if (stdout_) {
    Write(stdout, buffer_, kStandardOutput);
  }
  buffer_.clear();
}

void Output::Complete() {
  Spill(0);
  if (file_) {
    file_->Complete();
  } else if (stdout_) {
    quarrow::Finish(stdout, kStandardOutput);
  }
}

void Output::PutInPlace() {
  if (file_) {
    file_->PutInPlace();
  }
}

void FinishTogether(std::initializer_list<Output*> outputs) {
  for (Output* out : outputs) {
    out->Complete();
  }
  for (Output* out : outputs) {
    out->PutInPlace();
  }
}

std::string SharedFileError(const std::vector<std::pair<std::string_view, std::string>>& named) {
  std::vector<FileIdentity> ids;
  for (const auto& [option, name] : named) {
    ids.push_back(Identify(name));
  }
  for (std::size_t a = 0; a < named.size(); ++a) {
    for (std::size_t b = a + 1; b < named.size(); ++b) {
      const FileIdentity& x = ids[a];
      const FileIdentity& y = ids[b];
      const bool same = x.exists && y.exists
                            ? x.device == y.device && x.inode == y.inode && !x.shareable
                            : !x.exists && !y.exists && x.path == y.path;
      if (same) {
        return std::string(named[a].first) + " and " + std::string(named[b].first) +
               " name the same file, '" + Escaped(named[b].second) + "'";
      }
    }
  }
  return {};
}

}  // namespace quarrow::runner
