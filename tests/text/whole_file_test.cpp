#include "text/whole_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/checked_output.h"

namespace quarrow {
namespace {

namespace fs = std::filesystem;

class WholeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "whole_file_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::size_t Entries() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(WholeFileTest, TargetChangesOnlyAtCommit) {
  const fs::path target = dir_ / "out.csv";
  std::ofstream(target) << "old\n";
  fs::permissions(target, fs::perms(0640));
  {
    WholeFile file(target.string(), "the CSV");
    file.Write("new\n");
    EXPECT_EQ(Read(target), "old\n");
  }
  EXPECT_EQ(Read(target), "old\n");  // dropped, and its temporary file with it
  EXPECT_EQ(Entries(), 1u);
  WholeFile file(target.string(), "the CSV");
  file.Write("new\n");
  file.Commit();
  EXPECT_EQ(Read(target), "new\n");
  EXPECT_EQ(Entries(), 1u);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));

  // A new file gets what a plain create gives it.
  const mode_t mask = umask(027);
  WholeFile fresh((dir_ / "new.csv").string(), "the CSV");
  fresh.Commit();
  umask(mask);
  EXPECT_EQ(fs::status(dir_ / "new.csv").permissions(), fs::perms(0640));
}

TEST_F(WholeFileTest, FailedWriteLeavesTheTargetAsItWas) {
  const fs::path target = dir_ / "trace.jsonl";
  std::ofstream(target) << "kept\n";
  // A file size limit fails writes as a full disk would.
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit small{4096, limit.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  bool failed = false;
  try {
    WholeFile file(target.string(), "the trace");
    file.Write(std::string(8192, 'x'));
    file.Commit();
  } catch (const OutputFailed& failure) {
    failed = failure.what.starts_with("cannot write to the trace: ");
  }
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(failed);
  EXPECT_EQ(Read(target), "kept\n");
  EXPECT_EQ(Entries(), 1u);

  EXPECT_THROW(WholeFile((dir_ / "missing" / "x").string(), "x"), OutputFailed);
}

TEST_F(WholeFileTest, WritesAPipeDirectly) {
  const fs::path fifo = dir_ / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  WholeFile file(fifo.string(), "the pipe");
  file.Write("through\n");
  file.Commit();
  char buffer[16] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 8);
  close(reader);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace quarrow
