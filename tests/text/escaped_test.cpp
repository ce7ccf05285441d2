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
      // Bidirectional controls, each beside a neighbour that is kept.
      {"\xe2\x80\xa9\xe2\x80\xaa", "\xe2\x80\xa9\\xe2\\x80\\xaa"},  // U+2029, U+202A
      {"\xe2\x80\xae\xe2\x80\xaf", "\\xe2\\x80\\xae\xe2\x80\xaf"},  // U+202E, U+202F
      {"\xe2\x81\xa5\xe2\x81\xa6", "\xe2\x81\xa5\\xe2\\x81\\xa6"},  // U+2065, U+2066
      {"\xe2\x81\xa9\xe2\x81\xaa", "\\xe2\\x81\\xa9\xe2\x81\xaa"},  // U+2069, U+206A
      {"\xd8\x9c\xe2\x80\x8f", "\\xd8\\x9c\\xe2\\x80\\x8f"},        // U+061C, U+200F
  };
  for (auto [raw, shown] : cases) {
    EXPECT_EQ(Escaped(raw), shown);
  }
}

}  // namespace
}  // namespace quarrow
