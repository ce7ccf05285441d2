#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "analysis/match_csv.h"
#include "app/desktop_identity.h"
#include "app/main_window.h"
#include "build_info.h"
#include "game/game_state.h"
#include "play/frame_loop.h"
#include "render/draw_court.h"
#include "render/raster.h"
#include "sim/frame.h"

namespace quarrow {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }
  void TearDown() override { ResetGameState(); }

  template <typename T>
  T* Child(const char* name) {
    T* child = window.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  void Drag(QPointF at, Qt::MouseButtons buttons) {
    QWidget* court = window.CourtWidget();
    QMouseEvent move(QEvent::MouseMove, at, court->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(court, &move);
  }

  Main window;
};

TEST_F(WindowTest, TitleControlsGeometryAndFocusOrder) {
  window.show();
  EXPECT_EQ(window.windowTitle(), "Quarrow simulator");
  EXPECT_EQ(window.size(), QSize(309, 187));

  QWidget* court = Child<QWidget>("PicMain");
  auto* max = Child<QPushButton>("Command1");
  auto* fast = Child<QPushButton>("Command2");
  auto* label = Child<QLabel>("Label1");
  ASSERT_TRUE(court && max && fast && label);
  EXPECT_EQ(court->geometry(), QRect(36, 4, 261, 173));
  EXPECT_EQ(max->text(), "Max");
  EXPECT_EQ(max->geometry(), QRect(0, 40, 33, 21));
  EXPECT_EQ(fast->text(), "Fast");
  EXPECT_EQ(fast->geometry(), QRect(0, 64, 33, 21));
  EXPECT_EQ(label->text(), "Label1");
  EXPECT_EQ(label->geometry(), QRect(0, 100, 32, 13));
  EXPECT_TRUE(label->isHidden());

  const CourtSize interior = window.CourtInterior();
  EXPECT_EQ(interior.width, kStandardCourt.width);
  EXPECT_EQ(interior.height, kStandardCourt.height);

  EXPECT_EQ(court->nextInFocusChain(), max);
  EXPECT_EQ(max->nextInFocusChain(), fast);
  EXPECT_NE(court->focusPolicy() & Qt::TabFocus, 0);
  EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
}

TEST_F(WindowTest, ButtonsToggleThePaceSwitches) {
  window.show();
  auto* max = Child<QPushButton>("Command1");
  auto* fast = Child<QPushButton>("Command2");
  ASSERT_TRUE(max && fast);
  QTest::mouseClick(max, Qt::LeftButton);
  EXPECT_EQ(MaxMode, kTrue);
  EXPECT_EQ(FastMode, kFalse);
  QTest::mouseClick(fast, Qt::LeftButton);
  QTest::mouseClick(max, Qt::LeftButton);
  EXPECT_EQ(MaxMode, kFalse);
  EXPECT_EQ(FastMode, kTrue);
  EXPECT_EQ(max->text(), "Max");

  // The keys, from the court: M and F as the buttons, P pauses and says so in the title.
  QWidget* court = Child<QWidget>("PicMain");
  QTest::keyClick(court, Qt::Key_M);
  QTest::keyClick(court, Qt::Key_F);
  QTest::keyClick(court, Qt::Key_P);
  EXPECT_EQ(MaxMode, kTrue);
  EXPECT_EQ(FastMode, kFalse);
  EXPECT_TRUE(max->isChecked());
  EXPECT_EQ(window.windowTitle(), "Quarrow simulator (paused)");
  QTest::keyClick(court, Qt::Key_P);
  EXPECT_EQ(window.windowTitle(), "Quarrow simulator");
}

TEST_F(WindowTest, PaceAndCourtReachEveryoneButHiddenPlaceholdersDoNot) {
  window.show();
  auto* max = Child<QPushButton>("Command1");
  QWidget* court = Child<QWidget>("PicMain");
  ASSERT_TRUE(max && court);
  const QImage off = max->grab().toImage();
  QTest::mouseClick(max, Qt::LeftButton);
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(max)->state().checked);
  EXPECT_NE(max->grab().toImage(), off);
  QTest::mouseClick(max, Qt::LeftButton);
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(max)->state().checked);

  QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(court);
  EXPECT_EQ(picture->role(), QAccessible::Canvas);
  EXPECT_EQ(picture->text(QAccessible::Name), "Court");
  EXPECT_TRUE(picture->text(QAccessible::Description).contains("places a dead ball"));
  QAccessibleInterface* main = QAccessible::queryAccessibleInterface(&window);
  EXPECT_EQ(main->role(), QAccessible::Window);
  ASSERT_EQ(main->childCount(), 4);  // the court, the two buttons and the match's news
  for (int i = 0; i < main->childCount(); ++i) {
    EXPECT_EQ(main->indexOfChild(main->child(i)), i);
    EXPECT_NE(main->child(i)->object()->objectName(), "Label1");
  }
  SetDesktopIdentity();
  EXPECT_EQ(QAccessible::queryAccessibleInterface(qApp)->text(QAccessible::Name), "Quarrow");
}

TEST_F(WindowTest, TheCourtShowsWhenItHasTheFocusOnItsBorderOnly) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QWidget* court = window.CourtWidget();
  court->setFocus();
  const QImage focused = court->grab().toImage();
  court->clearFocus();
  const QImage unfocused = court->grab().toImage();
  const QRect inside = court->contentsRect();
  EXPECT_EQ(focused.copy(inside), unfocused.copy(inside));
  EXPECT_NE(focused.pixel(0, 0), unfocused.pixel(0, 0));
  EXPECT_NE(focused.pixel(1, 50), unfocused.pixel(1, 50));
}

TEST_F(WindowTest, DragPlacesADeadBallInInteriorCoordinates) {
  window.show();
  CourtWidth = kStandardCourt.width;
  BallSpeed = 2.0;
  Drag(QPointF(52.5, 33.0), Qt::NoButton);
  EXPECT_EQ(BallX, Fixed{});
  Drag(QPointF(52.5, 33.0), Qt::RightButton);  // the border is 2 pixels wide
  EXPECT_EQ(BallX, Fixed::FromCount(505000));
  EXPECT_EQ(BallY, Fixed::FromInt(31));
  EXPECT_EQ(BallSpeed, 0.0);
  Drag(QPointF(-10.0, 400.0), Qt::LeftButton);  // a drag reported outside the court
  EXPECT_EQ(BallX, Fixed::FromCount(1));        // rests just inside, where a zone claims it
  EXPECT_EQ(BallY, Fixed::FromInt(398));

  BallTeam = 4;
  Drag(QPointF(100.0, 100.0), Qt::LeftButton);
  EXPECT_EQ(BallX, Fixed::FromCount(1));
}

TEST_F(WindowTest, CourtPictureShowsTeamColoursAndWhiteBackPlayers) {
  CourtWidth = kStandardCourt.width;
  CourtHeight = kStandardCourt.height;
  BallX = Fixed::FromInt(-50);
  const int xs[] = {0, 237, 60, 70, 80, 90, 20, 150, 160, 170, 180};
  for (int i = 1; i <= kPlayerCount; ++i) {
    Players[i].Role = i <= 5 ? 1 : 2;
    Players[i].X = Fixed::FromInt(xs[i]);
    Players[i].Y = Fixed::FromInt(20 + 10 * i);
  }
  Teams[1].BackPlayer = 1;
  Teams[2].BackPlayer = 6;
  DrawCourt(window.PicMain());
  window.show();
  const QImage image = window.CourtWidget()->grab().toImage();
  const auto at = [&](int x, int y) { return image.pixelColor(x + 2, y + 2).rgb(); };

  EXPECT_EQ(at(70, 50), QColor(0, 0, 255).rgb());       // player 3
  EXPECT_EQ(at(160, 100), QColor(255, 0, 0).rgb());     // player 8
  EXPECT_EQ(at(237, 30), QColor(255, 255, 255).rgb());  // team 1's back player, right zone
  EXPECT_EQ(at(20, 80), QColor(255, 255, 255).rgb());   // team 2's back player, left zone
  EXPECT_EQ(at(10, 150), QColor(0, 150, 0).rgb());      // end zone
  EXPECT_EQ(at(128, 5), window.palette().color(QPalette::ButtonText).rgb());  // centre line
  EXPECT_EQ(at(110, 5), window.palette().color(QPalette::Button).rgb());
}

TEST_F(WindowTest, RasterisedCourtMatchesTheWindowsButForSmoothedCircles) {
  CourtWidth = 257;
  CourtHeight = 169;
  BallX = Fixed::FromCount(1234567);
  BallY = Fixed::FromCount(5000);
  // Box edges on and beside half pixels, partly off the court on every side.
  const std::int64_t xs[] = {0,       2370000, 605000,  704999,  805001, -20000,
                             2565000, 1500000, 1600000, 1700000, 1000000};
  const std::int64_t ys[] = {0,      300000,  405000, 504999,  10000,  600000,
                             700000, 1690000, -15000, 1234567, 1000000};
  for (int i = 1; i <= kPlayerCount; ++i) {
    Players[i].Role = i <= 5 ? 1 : 2;
    Players[i].X = Fixed::FromCount(xs[i]);
    Players[i].Y = Fixed::FromCount(ys[i]);
  }
  Teams[1].BackPlayer = 1;
  Teams[2].BackPlayer = 6;
  DrawCourt(window.PicMain());
  window.show();
  const QImage shown = window.CourtWidget()->grab().toImage();
  RasterSurface raster(CourtWidth, CourtHeight, Rgb{239, 239, 239}, Rgb{0, 0, 0});
  window.PicMain().Replay(raster);
  ASSERT_EQ(window.palette().color(QPalette::Button), QColor(239, 239, 239));

  const auto nearCircle = [&](int x, int y) {
    const auto off = [&](double cx, double cy, double r) {
      return std::abs(std::hypot(x + 0.5 - cx, y + 0.5 - cy) - r) < 1.5;
    };
    return off(128.5, 84.5, 10) || off(BallX.ToDouble(), BallY.ToDouble(), 4);
  };
  int compared = 0;
  for (int y = 0; y < CourtHeight; ++y) {
    for (int x = 0; x < CourtWidth; ++x) {
      if (nearCircle(x, y)) {
        continue;
      }
      const Rgb c = raster.Palette()[raster.Image().At(x, y)];
      ASSERT_EQ(shown.pixelColor(x + 2, y + 2).rgb(), QColor(c.red, c.green, c.blue).rgb())
          << x << "," << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, CourtWidth * CourtHeight * 9 / 10);
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
};

TEST_F(WindowTest, APictureReachesTheScreenOnlyWhenARefreshIsDue) {
  window.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  PaintCounter court(window.CourtWidget());
  const auto frameAt = [&](std::int64_t tick) {
    DrawCourt(window.PicMain());
    window.FrameDone(tick, true);
    QCoreApplication::processEvents();
    return court.paints;
  };
  const std::int64_t start = window.Ticks();
  EXPECT_EQ(frameAt(start), 1);
  EXPECT_FALSE(window.PictureDue(start + 1));
  EXPECT_EQ(frameAt(start + 1), 1);  // far faster than any screen refreshes
  EXPECT_TRUE(window.PictureDue(start + 1000));
  EXPECT_EQ(frameAt(start + 1000), 2);
  EXPECT_EQ(window.FramesRun(), 3);

  // A frame left unrecorded, as Max mode leaves most, is recorded when a paint comes all the same.
  CourtWidth = 257;
  CourtHeight = 169;
  Players[3].Role = 1;
  Players[3].X = Fixed::FromInt(70);
  Players[3].Y = Fixed::FromInt(50);
  window.FrameDone(start + 1001, false);
  const QImage image = window.CourtWidget()->grab().toImage();
  EXPECT_EQ(image.pixelColor(72, 52).rgb(), QColor(0, 0, 255).rgb());
}

// Runs action at every pass of the event pump, inside the loop or inside the question box.
class EveryPump {
 public:
  explicit EveryPump(std::function<void()> action) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, action);
    timer_.start();
  }

 private:
  QTimer timer_;
};

TEST_F(WindowTest, QuestionAtMatchEndYesPlaysOnKeepingThePaceNoEnds) {
  MaxMode = kTrue;
  FastMode = kTrue;
  int phase = 0;
  std::int64_t framesAtFirstQuestion = -1;
  std::int64_t framesAtLastQuestion = -1;
  std::int16_t holderAfterRestart = 0;
  const EveryPump driver([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (phase == 0 && box == nullptr) {
      Teams[1].Lives = 0;
      phase = 1;
    } else if (phase == 1 && box != nullptr) {
      EXPECT_EQ(box->text(), "Team 2 won the game. Restart?");
      EXPECT_EQ(box->icon(), QMessageBox::Information);
      EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
      EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
      EXPECT_EQ(box->windowTitle(), "Quarrow");
      EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
      framesAtFirstQuestion = window.FramesRun();
      box->button(QMessageBox::Yes)->click();
      phase = 2;
    } else if (phase == 2 && box == nullptr && Teams[1].Lives > 0) {
      // The new match, before its first frame.
      EXPECT_EQ(window.FramesRun(), framesAtFirstQuestion);
      EXPECT_EQ(Teams[1].Lives, 3);
      EXPECT_EQ(Teams[2].Lives, 3);
      holderAfterRestart = BallHolder;
      Teams[2].Lives = 0;
      phase = 3;
    } else if (phase == 3 && box != nullptr) {
      EXPECT_EQ(box->text(), "Team 1 won the game. Restart?");
      framesAtLastQuestion = window.FramesRun();
      box->button(QMessageBox::No)->click();
      phase = 4;
    }
  });
  EXPECT_THROW(Form_Load(window), ProgramEnd);
  EXPECT_EQ(phase, 4);
  EXPECT_EQ(holderAfterRestart, 6);
  EXPECT_EQ(MaxMode, kTrue);
  EXPECT_EQ(FastMode, kTrue);
  EXPECT_EQ(window.FramesRun(), framesAtLastQuestion);  // no frame after No
}

TEST_F(WindowTest, ASeededMatchEndsAsTheRunnersRowForItSays) {
  MaxMode = kTrue;
  std::vector<std::int64_t> stalled;
  const WindowRun run = SeededRun(1, 2, {257, 169}, stalled);
  std::string shown;
  const EveryPump driver([&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      if (shown.empty()) {
        analysis::AppendCsvRow(
            shown, analysis::RowOf(1, 2, {Winner(), window.FramesRun()}, CountValues(Counts), {}));
      }
      box->button(QMessageBox::No)->click();
    }
  });
  EXPECT_THROW(Form_Load(window, run), ProgramEnd);

  SeededPlatform headless(1);
  const PlatformInstallation installation(headless);
  PlayMatch(kStallFrames, [](std::int64_t) {});
  std::string played;
  const MatchResult result = PlayMatch(kStallFrames, [](std::int64_t) {});
  analysis::AppendCsvRow(played, analysis::RowOf(1, 2, result, CountValues(Counts), {}));
  EXPECT_EQ(shown, played);
}

TEST_F(WindowTest, CloseIsRefusedWhileTheQuestionIsOpenAndEscapeOrClosingItMeansNo) {
  MaxMode = kTrue;
  for (const bool escape : {true, false}) {
    bool refused = false;
    std::int64_t framesAtQuestion = -1;
    const EveryPump driver([&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) {
        Teams[1].Lives = 0;
      } else if (framesAtQuestion < 0) {
        framesAtQuestion = window.FramesRun();
        refused = !window.close() && window.isVisible();
        if (escape) {
          QTest::keyClick(box, Qt::Key_Escape);
        } else {
          box->close();
        }
      }
    });
    EXPECT_THROW(Form_Load(window), ProgramEnd) << escape;
    EXPECT_TRUE(refused) << escape;
    EXPECT_EQ(window.FramesRun(), framesAtQuestion) << escape;
  }
}

TEST_F(WindowTest, ClosingTheWindowDuringAWaitEndsTheLoop) {
  std::int64_t framesAtClose = -1;
  // At the normal pace the loop spends nearly all its time blocked in a wait.
  QTimer::singleShot(120, &window, [&] {
    framesAtClose = window.FramesRun();
    window.close();
  });
  EXPECT_THROW(Form_Load(window), ProgramEnd);
  EXPECT_GE(framesAtClose, 1);
  EXPECT_EQ(window.FramesRun(), framesAtClose);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, ClosingInMaxModeEndsTheLoop) {
  MaxMode = kTrue;
  std::int64_t framesAtClose = -1;
  const EveryPump closer([&] {
    // Max mode pumps once a tick, and a short match can end before the pump past frame 100: the
    // question would wait for ever, so play on.
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      box->button(QMessageBox::Yes)->click();
      return;
    }
    if (framesAtClose < 0 && window.FramesRun() >= 100) {
      framesAtClose = window.FramesRun();
      window.close();
    }
  });
  EXPECT_THROW(Form_Load(window), ProgramEnd);
  EXPECT_EQ(window.FramesRun(), framesAtClose);
}

}  // namespace
}  // namespace quarrow

namespace quarrow {
namespace {

TEST(DesktopIdentity, WindowsCarryTheIconAtEverySize) {
  SetDesktopIdentity();
  const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
  for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
    EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
  }
  EXPECT_EQ(QGuiApplication::desktopFileName(), kAppId);
}

}  // namespace
}  // namespace quarrow
