// The pool reader on any files: each is taken whole or refused with one line, never a crash or a
// hang. The input is cut at form feeds into up to four files, so that repeats across files are
// tried too; the files live in a folder of their own, removed at the end.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/match_pool.h"
#include "analysis/match_stats.h"
#include "fuzz_input.h"

namespace {

std::string folder;

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
      std::fclose(out) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "quarrow-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  folder = pattern;
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> files;
  for (const std::string& bytes : quarrow::fuzz::Pieces(data, size, '\f', 4)) {
    files.push_back(folder + "/" + std::to_string(files.size() + 1) + ".csv");
    WriteFile(files.back(), bytes);
  }
  quarrow::analysis::RunStats stats;
  try {
    quarrow::analysis::ReadPool(
        files, [&](const quarrow::MatchResult& result, const quarrow::analysis::CountRow& counts) {
          quarrow::analysis::AddMatch(stats, result, counts);
        });
  } catch (const quarrow::analysis::PoolRefused& refusal) {
    const std::string_view line = refusal.what();
    if (line.empty() || line.find('\n') != std::string_view::npos) {
      std::abort();  // a refusal is one line
    }
  }
  return 0;
}
