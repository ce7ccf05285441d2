#include "text/escaped.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(Escaped, KeepsCharactersAndEscapesEverythingElse) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a\\b\n\t\x1b[2J", "a\\\\b\\n\\t\\x1b[2J"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xbe", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xbe"},
      {"\xff\xfe", "\\xff\\xfe"},
      {"\xc2\x85", "\\xc2\\x85"},                    // a C1 control
      {"\xc0\xaf", "\\xc0\\xaf"},                    // an overlong '/'
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},           // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xe2\x82", "\\xe2\\x82"},                    // cut short
  };
  for (auto [raw, shown] : cases) {
    EXPECT_EQ(Escaped(raw), shown);
  }
}

}  // namespace
}  // namespace quarrow
