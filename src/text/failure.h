#pragma once

// How a program ends before its work is done: the status to exit with and the one line to print.
// Both programs' main catch it, and std::exception after it.

#include <exception>
#include <string>
#include <utility>

namespace quarrow {

class ProgramExit : public std::exception {
 public:
  // line: what to print after the program's name; empty for an end that needs no word.
  ProgramExit(int status, std::string line) : status_(status), line_(std::move(line)) {}
  int Status() const noexcept { return status_; }
  const char* what() const noexcept override { return line_.c_str(); }

 private:
  int status_;
  std::string line_;
};

// A write that was lost, or an output that could not be made: status 1.
struct OutputFailed : ProgramExit {
  explicit OutputFailed(std::string line) : ProgramExit(1, std::move(line)) {}
};

// Arguments or input the program will not take: status 2, nothing written.
struct Refused : ProgramExit {
  explicit Refused(std::string line) : ProgramExit(2, std::move(line)) {}
};

}  // namespace quarrow
