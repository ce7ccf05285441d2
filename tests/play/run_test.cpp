#include "play/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_shell.h"
#include "game/game_state.h"
#include "play/check_winner.h"
#include "play/frame_loop.h"
#include "play/pace.h"
#include "sim/frame.h"
#include "text/option_table.h"

namespace quarrow {
namespace {

using testing::FakeShell;

TEST(RunAddressTest, ReadsWhatTheWindowsOptionsTakeAndSaysWhatItDidNot) {
  RunAddress a = ReadAddress("?seed=2&court=1200x800&match=2&seed=9");
  EXPECT_EQ(a.seed, 2u);
  EXPECT_EQ(a.match, 2);
  EXPECT_EQ(a.court.width, 1200);
  EXPECT_EQ(a.court.height, 800);
  EXPECT_EQ(a.problem, "");
  EXPECT_EQ(ShareLink(a.match, *a.seed, true, a.court), "?seed=2&match=2&court=1200x800");
  EXPECT_EQ(ShareLink(1, 77, false, kStandardCourt), "?seed=77");

  a = ReadAddress("?seed=%37&court=82x100");  // below the narrowest court
  EXPECT_EQ(a.seed, 7u);
  EXPECT_EQ(a.court.width, kStandardCourt.width);
  EXPECT_EQ(a.problem,
            "The court \"82x100\" is not WIDTHxHEIGHT, 83 to 6553 by 1 to 6553: "
            "playing on 257x169.");
  a = ReadAddress("?seed=1&match=10000000000000000000");
  EXPECT_FALSE(a.seed);
  EXPECT_EQ(a.problem, "The match \"10000000000000000000\" is not a whole number from 1 to " +
                           std::to_string(kMaxCount) + ": playing from the clock.");
  EXPECT_EQ(ReadAddress("?match=2").problem,
            "A match number needs a seed: playing from the clock.");

  // Decoded as a browser decodes a form; a quoted value is cut whole and kept on one line.
  a = ReadAddress("x&%73eed=%34%32&seed=9&match=9+");
  EXPECT_EQ(a.seed, std::nullopt);
  EXPECT_EQ(ReadAddress("x&%73eed=%34%32&seed=9").seed, 42u);
  EXPECT_EQ(ReadAddress("?seed=0%2").problem,
            "The seed \"0%2\" is not a whole number from 0 to 4294967295: playing from the clock.");
  EXPECT_EQ(ReadAddress("?seed=+-%0A%E2%80%AE%ff\xc3\xa9"
                        "abcdefghijklmnopqrstuvwxyz")
                .problem,
            "The seed \" -\\n\\xe2\\x80\\xae\\xff\xc3\xa9"
            "abcdefghijklmno\xe2\x80\xa6\" is not a whole number from 0 to 4294967295: playing "
            "from the clock.");
}

double fakeNow = 0;
double FakeClock() {
  fakeNow += 50;  // a slow machine: 50 ms between readings
  return fakeNow;
}

TEST(PlayOnTest, SaysItsProgressTwiceASecondAndRefusesWhatItCannotReachInTenMinutes) {
  SeededPlatform platform(1);
  const PlatformInstallation installation(platform);
  PlayOn on = PlayOnTo(1, 4'000'000);
  std::vector<std::string> said;
  while (!PlayOnSlice(on, FakeClock, kSliceMs)) {
    if (!on.news.empty()) {
      said.push_back(on.news);
      on.news.clear();
    }
  }
  // Measured over a second, at a reading per kSliceFrames frames.
  EXPECT_EQ(said.size(), 1u);
  EXPECT_EQ(said.at(0).substr(0, 42), "Playing on to match 4000000 of seed 1: at ");
  const std::string refusal =
      "Match 4000000 of seed 1 is further than this machine plays on to in "
      "about 10 minutes: match ";
  EXPECT_EQ(on.refusal.substr(0, refusal.size()), refusal);
  EXPECT_TRUE(on.refusal.ends_with(" at most"));
  EXPECT_LT(on.match, 100);
}

TEST(StallTest, TheMatchOnScreenIsGivenUpWhereTheRunnerGivesItUp) {
  ResetGameState();
  FakeShell shell;
  shell.court = {1200, 800};
  shell.answers = {true, false};
  shell.stopAfterFrames = kStallFrames + 100'000;
  MaxMode = kTrue;
  std::vector<std::int64_t> stalled;
  // Match 1 of seed 2 on this court stalls in the runner, and its match 2 takes 79,459 frames.
  EXPECT_THROW(Form_Load(shell, SeededRun(2, 1, shell.court, stalled)), ProgramEnd);
  EXPECT_EQ(shell.questions,
            (std::vector<std::string>{
                "No team won the game in 200000 frames, so it was given up. Restart?",
                "Team 1 won the game. Restart?"}));
  EXPECT_EQ(shell.questionAtFrame, (std::vector<int>{200000, 200000 + 79459}));
  ResetGameState();
}

}  // namespace
}  // namespace quarrow
