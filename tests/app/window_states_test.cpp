// Also run on Wayland by wayland_test.sh, where a window refusing its size loses the connection.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/main_window.h"
#include "game/game_state.h"
#include "render/draw_court.h"

namespace quarrow {
namespace {

TEST(WindowStates, AnySizeKeepsTheCourtAndButtonsInPlace) {
  ResetGameState();
  Main window;
  window.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QSize own = window.size();
  auto* fast = window.findChild<QPushButton*>("Command2");
  const QRect court = window.CourtWidget()->geometry(), button = fast->geometry();
  // Frames keep the window committing pictures, as the frame loop would.
  const auto drawUntil = [&](const std::function<bool()>& done, int frames = 200) {
    for (int k = 0; k < frames && !done(); ++k) {
      DrawCourt(window.PicMain());
      window.FrameDone(window.Ticks() + 1000, true);
      QTest::qWait(10);
    }
    return done();
  };
  for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
    window.setWindowState(state);
    EXPECT_TRUE(drawUntil([&] { return window.width() > own.width(); })) << state;
    drawUntil([] { return false; }, 20);
    EXPECT_TRUE(window.CourtWidget()->geometry() == court && fast->geometry() == button) << state;
    window.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(drawUntil([&] { return window.size() == own; }))
        << state << ": " << window.width() << " x " << window.height();
  }
  ResetGameState();
}

}  // namespace
}  // namespace quarrow
