#include "play/frame_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fake_shell.h"
#include "game/game_state.h"
#include "game/match_setup.h"
#include "game/platform.h"
#include "play/check_winner.h"
#include "sim/frame.h"

namespace quarrow {
namespace {

using testing::FakeShell;

class FrameLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }
  void TearDown() override { ResetGameState(); }

  // Runs the program until the shell ends it.
  void Run() { EXPECT_THROW(Form_Load(shell), ProgramEnd); }

  std::vector<std::int64_t> Gaps() const {
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < shell.frameStarts.size(); ++i) {
      gaps.push_back(shell.frameStarts[i] - shell.frameStarts[i - 1]);
    }
    return gaps;
  }

  FakeShell shell;
};

TEST_F(FrameLoopTest, NormalPaceWaitsPastFiftyMillisecondsWithoutSpinning) {
  shell.stopAfterFrames = 4;
  shell.At(FakeShell::kStart + 50, [] {});  // an event at the deadline itself is not past it
  Run();
  EXPECT_EQ(shell.shows, 1);
  ASSERT_EQ(shell.frameStarts.size(), 4u);
  EXPECT_EQ(shell.frameStarts[0], FakeShell::kStart);  // the first frame does not wait
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{51, 51, 51}));
  EXPECT_EQ(shell.waits, 4);  // a blocking wait per frame and per event, not a spin
}

TEST_F(FrameLoopTest, FastOnDuringAWaitShortensOnlyTheNextWait) {
  shell.stopAfterFrames = 4;
  shell.At(FakeShell::kStart + 10, [] { FastMode = kTrue; });
  Run();
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{51, 4, 4}));
}

TEST_F(FrameLoopTest, APauseRunsNoFrameAndBlocksWhileAStepPlaysExactlyOne) {
  shell.stopAfterFrames = 4;
  shell.At(FakeShell::kStart + 10, [] { PauseClick(); });
  shell.At(FakeShell::kStart + 500, [] { StepClick(); });
  shell.At(FakeShell::kStart + 1000, [] { PauseClick(); });
  Run();
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{500, 500, 51}));
  EXPECT_EQ(shell.waits, 4);  // blocked until each event, never a spin
}

TEST_F(FrameLoopTest, ClickOnMaxEndsTheWaitAtOnce) {
  shell.stopAfterFrames = 3;
  shell.At(FakeShell::kStart + 10, [] { MaxMode = kTrue; });
  Run();
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{10, 0}));
}

TEST_F(FrameLoopTest, MaxRunsBackToBackAndSwitchingOffResumesFromTheLastDeadline) {
  MaxMode = kTrue;
  FastMode = kTrue;
  shell.workPerFrame = 1;
  shell.stopAfterFrames = 7;
  shell.afterFrame = [](int frame) {
    if (frame == 5) {
      MaxMode = kFalse;
    }
  };
  Run();
  // Frame 5 started at +4 with its deadline at +7; its work ended at +5.
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{1, 1, 1, 1, 4, 4}));
  EXPECT_EQ(shell.waits, 2);
}

TEST_F(FrameLoopTest, SlowFrameIsFollowedAfterOnePumpAndTimeIsNotMadeUp) {
  shell.workPerFrame = 70;
  shell.stopAfterFrames = 3;
  Run();
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{70, 70}));
  EXPECT_EQ(shell.waits, 0);
}

TEST_F(FrameLoopTest, MaxModeServesEventsOnceATickAndAClosedWindowEndsAMidFrameSearch) {
  MaxMode = kTrue;
  shell.stopAfterFrames = 100000;
  shell.readingsPerTick = 3;
  std::set<std::int64_t> passTicks;
  bool twiceInATick = false;
  int framesWhenClosed = -1;
  shell.onPump = [&](int) {
    twiceInATick = twiceInATick || !passTicks.insert(shell.now).second;
    if (shell.midFramePumps > 0) {
      framesWhenClosed = static_cast<int>(shell.frameStarts.size());
      throw ProgramEnd{};
    }
  };
  Run();
  EXPECT_FALSE(twiceInATick);
  ASSERT_GE(framesWhenClosed, 0) << "no point search served events in the frames run";
  EXPECT_EQ(static_cast<int>(shell.frameStarts.size()), framesWhenClosed);
  ASSERT_FALSE(shell.pumpsBeforeFrame.empty());
  EXPECT_EQ(*std::min_element(shell.pumpsBeforeFrame.begin(), shell.pumpsBeforeFrame.end()), 0);
}

TEST_F(FrameLoopTest, MaxModeRecordsOnlyThePicturesDueAndOtherPacesEveryOne) {
  MaxMode = kTrue;
  shell.workPerFrame = 1;
  shell.stopAfterFrames = 40;
  shell.afterFrame = [](int frame) {
    if (frame == 35) {
      MaxMode = kFalse;
    }
  };
  Run();
  ASSERT_EQ(shell.drawn.size(), 40u);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(shell.drawn[i], i % 16 == 0 || i >= 35) << "frame " << i + 1;
  }
}

TEST_F(FrameLoopTest, YesRestartsAtOnceKeepingThePaceAndNoEndsWithoutAnotherFrame) {
  FastMode = kTrue;
  shell.answers = {true};
  shell.afterFrame = [&](int frame) {
    if (frame == 3 || frame == 5) {
      Teams[1].Lives = 0;
    }
  };
  Run();
  EXPECT_EQ(shell.shows, 2);
  EXPECT_EQ(shell.questions, (std::vector<std::string>{"Team 2 won the game. Restart?",
                                                       "Team 2 won the game. Restart?"}));
  EXPECT_EQ(shell.questionAtFrame, (std::vector<int>{3, 5}));
  // The last picture is the one the second question was asked over.
  EXPECT_EQ(shell.frameStarts.size(), 5u);
  // The new match's first frame does not wait for the old deadline.
  EXPECT_EQ(Gaps(), (std::vector<std::int64_t>{4, 4, 0, 4}));
  EXPECT_EQ(FastMode, kTrue);
  EXPECT_EQ(MaxMode, kFalse);
  EXPECT_EQ(Restarting, kTrue);
}

TEST_F(FrameLoopTest, RestartsRepeatOnTheSameStackDepth) {
  constexpr int kMatches = 1000;
  shell.answers.assign(kMatches - 1, true);
  shell.afterFrame = [](int) { Teams[1].Lives = 0; };
  std::vector<const void*> depths;
  shell.onPump = [&](int) {
    if (depths.size() < static_cast<std::size_t>(shell.shows)) {
      depths.push_back(__builtin_frame_address(0));
    }
  };
  Run();
  ASSERT_EQ(depths.size(), static_cast<std::size_t>(kMatches));
  EXPECT_EQ(depths.front(), depths.back());
}

bool SamePlaces(const PlayerTable& a, const PlayerTable& b) {
  for (int i = 1; i <= kPlayerCount; ++i) {
    if (a[i].X != b[i].X || a[i].Y != b[i].Y || a[i].Speed != b[i].Speed) {
      return false;
    }
  }
  return true;
}

TEST_F(FrameLoopTest, EveryLaunchSetsUpADifferentMatchFromTheSeedItPrints) {
  // The window's draws are seeded from the clock at every setup; without that, every launch would
  // play the same match.
  shell.stopAfterFrames = 0;
  Run();
  const PlayerTable first = Players;
  FakeShell again;
  again.stopAfterFrames = 0;
  EXPECT_THROW(Form_Load(again), ProgramEnd);
  EXPECT_FALSE(SamePlaces(Players, first));

  // The seed printed sets up the same match headless.
  ASSERT_EQ(shell.seedLines.size(), 1u);
  const std::string line = shell.seedLines[0];
  ASSERT_TRUE(line.starts_with("match 1: seed ")) << line;
  SeededPlatform headless(static_cast<std::uint32_t>(std::stoul(line.substr(14))));
  const PlatformInstallation installation(headless);
  InitGame();
  EXPECT_TRUE(SamePlaces(Players, first));
}

TEST_F(FrameLoopTest, ASeededRunIsNotReseededBetweenMatches) {
  std::vector<std::int64_t> stalled;
  FakeShell seeded;
  seeded.stopAfterFrames = 0;
  EXPECT_THROW(Form_Load(seeded, SeededRun(7, 3, {257, 169}, stalled)), ProgramEnd);
  EXPECT_EQ(seeded.seedLines, (std::vector<std::string>{"match 3 of seed 7"}));
  EXPECT_TRUE(stalled.empty());
  const PlayerTable third = Players;
  SeededPlatform headless(7);
  const PlatformInstallation installation(headless);
  PlayMatch(kStallFrames, [](std::int64_t) {});
  PlayMatch(kStallFrames, [](std::int64_t) {});
  InitGame();
  EXPECT_TRUE(SamePlaces(Players, third));
}

TEST(CheckWinnerTest, BothOutNamesTeamOneAndNoEndsTheProgram) {
  ResetGameState();
  FakeShell shell;
  Teams[1].Lives = 0;
  Teams[2].Lives = 0;
  EXPECT_THROW(CheckWinner(shell), ProgramEnd);
  EXPECT_EQ(shell.questions, (std::vector<std::string>{"Team 1 won the game. Restart?"}));
  EXPECT_EQ(Restarting, kTrue);

  Teams[1].Lives = 1;
  Teams[2].Lives = -1;  // below zero counts as out
  shell.answers = {true};
  CheckWinner(shell);
  EXPECT_EQ(shell.questions.back(), "Team 1 won the game. Restart?");

  Teams[2].Lives = 1;
  Restarting = kFalse;
  CheckWinner(shell);
  EXPECT_EQ(shell.questions.size(), 2u);
  EXPECT_EQ(Restarting, kFalse);
  ResetGameState();
}

}  // namespace
}  // namespace quarrow
