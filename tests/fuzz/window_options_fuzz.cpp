// The window's arguments, taken before Qt starts: any vector is answered without a display.

#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "fuzz_input.h"

namespace {

// A fresh argv for each call: the window's parser takes its options out of it in place.
struct Argv {
  explicit Argv(const std::vector<std::string>& arguments) : text(arguments) {
    text.insert(text.begin(), "quarrow");
    for (std::string& argument : text) {
      pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
  }
  int Count() const { return static_cast<int>(text.size()); }

  std::vector<std::string> text;
  std::vector<char*> pointers;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> arguments = quarrow::fuzz::Arguments(data, size);
  {
    Argv argv(arguments);
    quarrow::AnswerCommandLine(argv.Count(), argv.pointers.data());
  }
  Argv argv(arguments);
  int argc = argv.Count();
  quarrow::TakeWindowOptions(argc, argv.pointers.data());
  quarrow::NamesPlatform(argc, argv.pointers.data());
  quarrow::RefuseLeftoverArguments(argc, argv.pointers.data());
  return 0;
}
