#include "text/whole_file.h"

#include "text/failure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quarrow {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The target changes only at Commit, keeps its mode or gets a plain create's, and no temporary
// file stays behind; a pipe is written as it is, not replaced.
TEST(WholeFile, TargetChangesOnlyAtCommit) {
  std::string pattern = (fs::temp_directory_path() / "whole_file_test.XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path dir = pattern, target = dir / "out.csv", fifo = dir / "fifo";
  std::ofstream(target) << "old\n";
  fs::permissions(target, fs::perms(0640));
  {
    WholeFile dropped(target.string(), "the CSV");
    dropped.Write("new\n");
  }
  EXPECT_EQ(Read(target), "old\n");
  WholeFile file(target.string(), "the CSV");
  file.Write("new\n");
  EXPECT_EQ(Read(target), "old\n");
  file.Commit();
  EXPECT_EQ(Read(target), "new\n");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
  const mode_t mask = umask(027);
  WholeFile((dir / "new.csv").string(), "the CSV").Commit();
  umask(mask);
  EXPECT_EQ(fs::status(dir / "new.csv").permissions(), fs::perms(0640));

  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  WholeFile pipe(fifo.string(), "the pipe");
  pipe.Write("through\n");
  pipe.Commit();
  char buffer[16] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 8);
  close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3);
  fs::remove_all(dir);
}

// A link to a file not made yet makes that file, as a plain create would, and stays a link; where
// a plain create fails, so does this, with nothing made.
TEST(WholeFile, LinkStaysALink) {
  std::string pattern = (fs::temp_directory_path() / "whole_file_test.XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path dir = pattern;
  fs::create_directory(dir / "sub");
  fs::create_directory_symlink("sub", dir / "folder");
  fs::create_symlink("folder/made.csv", dir / "o.csv");
  fs::create_symlink("nowhere/x.csv", dir / "p.csv");
  WholeFile file((dir / "o.csv").string(), "the CSV");
  file.Write("new\n");
  file.Commit();
  EXPECT_TRUE(fs::is_symlink(dir / "o.csv"));
  EXPECT_EQ(Read(dir / "sub" / "made.csv"), "new\n");
  EXPECT_THROW(WholeFile((dir / "p.csv").string(), "the CSV"), OutputFailed);
  EXPECT_TRUE(fs::is_symlink(dir / "p.csv"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 4);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quarrow
