// Seeded storms of real input events against the real window: after every event the game keeps its
// rules, or the program has ended as asked, with no frame after.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "app/main_window.h"
#include "game/game_state.h"
#include "play/frame_loop.h"
#include "support/invariants.h"

namespace quarrow {
namespace {

// The window as the loop sees it, counting match setups so that a check knows when a new match
// began.
class CountingShell final : public Shell {
 public:
  explicit CountingShell(Main& main) : main_(main) {}
  void Show() override {
    ++matches;
    main_.Show();
  }
  void PumpEvents(bool midFrame) override { main_.PumpEvents(midFrame); }
  void WaitForEvents(std::int64_t tick) override { main_.WaitForEvents(tick); }
  std::int64_t Ticks() override { return main_.Ticks(); }
  CourtSize CourtInterior() override { return main_.CourtInterior(); }
  Picture& PicMain() override { return main_.PicMain(); }
  bool PictureDue(std::int64_t tick) override { return main_.PictureDue(tick); }
  void FrameDone(std::int64_t tick, bool drawn) override { main_.FrameDone(tick, drawn); }
  bool AskYesNo(const std::string& text) override { return main_.AskYesNo(text); }

  int matches = 0;

 private:
  Main& main_;
};

class Storm {
 public:
  Storm(std::uint32_t seed, std::int64_t events) : random_(seed), target_(events) {}

  // Launches the program again and again until the events are spent; the first fault, or empty.
  std::string Run() {
    while (events_ < target_ && fault_.empty()) {
      Launch();
    }
    return fault_;
  }

  std::int64_t events_ = 0;
  std::int64_t launches_ = 0;
  std::int64_t questions_ = 0;
  std::int64_t frames_ = 0;

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  void Launch() {
    ++launches_;
    ResetGameState();
    Main window;
    CountingShell shell(window);
    window_ = &window;
    shell_ = &shell;
    endRequested_ = false;
    memoryMatch_ = -1;
    held_ = Qt::NoButton;
    QTimer driver;
    driver.setInterval(0);
    QObject::connect(&driver, &QTimer::timeout, [this] { Step(); });
    driver.start();
    try {
      Form_Load(shell);
    } catch (const ProgramEnd&) {
      if (!endRequested_) {
        Fail("the program ended unasked");
      } else if (window.FramesRun() != framesAtEnd_) {
        Fail("a frame was drawn after the end");
      }
    }
    frames_ += window.FramesRun();
  }

  void Fail(const std::string& what) {
    if (fault_.empty()) {
      fault_ = "after event " + std::to_string(events_) + ": " + what;
    }
  }

  void RequestEnd() {
    endRequested_ = true;
    framesAtEnd_ = window_->FramesRun();
  }

  // One event, then the check.
  void Step() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (endRequested_) {
      if (box != nullptr) {
        box->button(QMessageBox::No)->click();  // only after a fault
      }
      return;  // the loop has yet to notice
    }
    if (events_ >= target_ || !fault_.empty()) {
      if (box != nullptr) {
        box->button(QMessageBox::No)->click();
      } else {
        window_->close();
      }
      RequestEnd();
      return;
    }
    ++events_;
    if (box != nullptr) {
      Answer(*box);
    } else {
      Input();
    }
    if (endRequested_) {
      return;
    }
    const auto since =
        shell_->matches != memoryMatch_ ? testing::Since::MatchStart : testing::Since::LastCheck;
    const std::string broken = testing::Violation(memory_, since);
    if (!broken.empty()) {
      Fail(broken);
    }
    memory_ = testing::Remember();
    memoryMatch_ = shell_->matches;
  }

  void Answer(QMessageBox& box) {
    if (!box.property("counted").toBool()) {
      box.setProperty("counted", true);
      ++questions_;
    }
    switch (Pick(8)) {
      case 0:
        box.button(QMessageBox::Yes)->click();
        break;
      case 1:
        box.button(QMessageBox::No)->click();
        break;
      case 2:
        box.close();
        break;
      case 3:
        QTest::keyClick(&box, Qt::Key_Escape);
        break;
      case 4:
        QTest::keyClick(&box, Qt::Key_Tab);
        break;
      case 5:
        QTest::keyClick(&box, Chance(0.5) ? Qt::Key_Return : Qt::Key_Space);
        break;
      default:
        if (window_->close()) {
          Fail("the window closed while the question was open");
          RequestEnd();
        }
        return;
    }
    if (!box.isVisible() && box.clickedButton() != box.button(QMessageBox::Yes)) {
      RequestEnd();
    }
  }

  void Input() {
    // Mostly in Max mode, so that matches get decided and the question comes up.
    const bool max = MaxMode != kFalse;
    const int r = Pick(10000);
    if (r < (max ? 2 : 500)) {
      QTest::mouseClick(window_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    } else if (r < 600) {
      QTest::mouseClick(window_->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    } else if (r < 1600) {
      QWidget* focus = QApplication::focusWidget();
      const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return};
      // Space or Return on a focused button clicks it: rarely in Max mode, for the same reason.
      const Qt::Key key = keys[max && Pick(20) != 0 ? 0 : Pick(3)];
      QTest::keyClick(focus != nullptr ? focus : window_, key);
    } else if (r < 1602) {
      if (!window_->close()) {
        Fail("a close request was refused");
      }
      RequestEnd();
    } else {
      Mouse();
    }
  }

  void Mouse() {
    QWidget* court = window_->CourtWidget();
    const QPointF at = Chance(0.7) ? QPointF(Pick(2610) / 10.0, Pick(1730) / 10.0)
                                   : QPointF(Pick(4001) - 2000, Pick(4001) - 2000);
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = buttons[Pick(3)];
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton changed = Qt::NoButton;
    const int kind = Pick(4);
    if (kind == 0) {
      type = QEvent::MouseButtonPress;
      changed = button;
      held_ |= button;
    } else if (kind == 1) {
      type = QEvent::MouseButtonRelease;
      changed = button;
      held_ &= ~Qt::MouseButtons(button);
    }
    QMouseEvent event(type, at, court->mapToGlobal(at), changed, held_, Qt::NoModifier);
    QApplication::sendEvent(court, &event);
  }

  std::mt19937 random_;
  std::int64_t target_;
  std::string fault_;
  Main* window_ = nullptr;
  CountingShell* shell_ = nullptr;
  bool endRequested_ = false;
  std::int64_t framesAtEnd_ = 0;
  testing::Memory memory_;
  int memoryMatch_ = -1;
  Qt::MouseButtons held_;
};

std::int64_t FromEnvironment(const char* name, std::int64_t otherwise) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtoll(value, nullptr, 10) : otherwise;
}

TEST(EventStorm, TheWindowKeepsTheRulesOrEndsAsAsked) {
  const auto seed = static_cast<std::uint32_t>(
      FromEnvironment("QUARROW_STORM_SEED", static_cast<std::int64_t>(std::random_device{}())));
  Storm storm(seed, FromEnvironment("QUARROW_STORM_EVENTS", 10000));
  const std::string fault = storm.Run();
  EXPECT_EQ(fault, "") << "replay with QUARROW_STORM_SEED=" << seed;
  std::cout << "storm seed " << seed << ": " << storm.events_ << " events, " << storm.launches_
            << " launches, " << storm.questions_ << " questions, " << storm.frames_ << " frames\n";
  ResetGameState();
}

}  // namespace
}  // namespace quarrow
