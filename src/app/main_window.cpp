#include "app/main_window.h"

#include <poll.h>
#include <unistd.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <algorithm>
#include <climits>

#include "app/pic_main.h"
#include "game/game_state.h"
#include "play/frame_loop.h"
#include "play/inputs.h"
#include "play/tick_clock.h"
#include "render/draw_court.h"

namespace quarrow {
namespace {

// The pace buttons stand in a column left of the court, which fills the rest of the window.
constexpr QRect kCommand1{0, 40, 33, 21};
constexpr QRect kCommand2{0, 64, 33, 21};
constexpr QRect kLabel1{0, 100, 32, 13};
constexpr QPoint kCourtAt{36, 4};
// The court's frame around its interior, and the window's margin beyond the court.
constexpr int kCourtFrame = PicMainWidget::kBorder;
constexpr QSize kMargin{12, 10};

QRect CourtRect(CourtSize court) {
  return {kCourtAt, QSize(court.width + 2 * kCourtFrame, court.height + 2 * kCourtFrame)};
}

// The window as assistive technology sees it: a window, without the children nobody can see.
class MainAccessible final : public QAccessibleWidget {
 public:
  explicit MainAccessible(QWidget* main) : QAccessibleWidget(main, QAccessible::Window) {}
  int childCount() const override { return static_cast<int>(Shown().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = Shown();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                              : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr ? static_cast<int>(Shown().indexOf(child->object())) : -1;
  }

 private:
  QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QObject* object : widget()->children()) {
      auto* w = qobject_cast<QWidget*>(object);
      if (w != nullptr && !w->isWindow() && !w->isHidden()) {
        shown.append(w);
      }
    }
    return shown;
  }
};

QAccessibleInterface* AccessibleFor(const QString& /*key*/, QObject* object) {
  if (dynamic_cast<Main*>(object) != nullptr) {
    return new MainAccessible(static_cast<QWidget*>(object));
  }
  if (object->objectName() == QLatin1String("PicMain") && object->isWidgetType()) {
    // A picture that changes every frame and takes the mouse: a canvas, not a frame.
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Canvas);
  }
  if (object->objectName() == QLatin1String("Announcement") && object->isWidgetType()) {
    // The match's news: a notification, not a label of anything.
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
  }
  return nullptr;
}

}  // namespace

QSize WindowSizeFor(CourtSize court) {
  const QRect at = CourtRect(court);
  // Never shorter than the button column.
  return {at.right() + 1 + kMargin.width(),
          std::max(at.bottom() + 1 + kMargin.height(), kCommand2.bottom() + 1 + kCourtAt.y())};
}

std::string CourtTooLarge(CourtSize court) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return {};
  }
  // In the screen's own units, which a zoom has already divided.
  const QSize room = screen->availableGeometry().size();
  const QSize window = WindowSizeFor(court);
  if (window.width() <= room.width() && window.height() <= room.height()) {
    return {};
  }
  const QSize largest = room - (window - QSize(court.width, court.height));
  return "a " + std::to_string(court.width) + "x" + std::to_string(court.height) +
         " court does not fit the screen; at this zoom it takes at most " +
         std::to_string(std::max(largest.width(), 0)) + "x" +
         std::to_string(std::max(largest.height(), 0));
}

void ApplyWindowSettings() {
  // While Qt's pixmap cache holds anything it keeps a timer, and a pass of the event loop with a
  // timer reads the clock; Max mode makes a pass every frame. Without the cache the style redraws
  // its few button pieces when they change, which costs nothing anybody sees.
  QPixmapCache::setCacheLimit(0);
  QAccessible::installFactory(AccessibleFor);
}

Main::Main(CourtSize court) : destroyWatch_([this](WId window) { WindowDestroyed(window); }) {
  setObjectName("Main");
  setWindowTitle(kProgramTitle);
  // Its own size, but any larger one the window system gives it (maximized, full screen) is taken:
  // on Wayland a window that refuses the size it was configured to loses its connection. The
  // controls keep their places, the rest is background. The minimum brings it back to its own
  // size when restored, which Qt's Wayland plugin may otherwise shrink by its own title bar.
  resize(WindowSizeFor(court));
  setMinimumSize(WindowSizeFor(court));

  picMain_ = new PicMainWidget(
      picture_, [this] { BeforePaint(); }, this);
  picMain_->setGeometry(CourtRect(court));

  // Checkable, so that the pace shows on the buttons and reaches assistive technology.
  command1_ = new QPushButton("Max", this);
  command1_->setObjectName("Command1");
  command1_->setGeometry(kCommand1);
  command1_->setCheckable(true);
  command1_->setToolTip("Max: frames back to back (key M)");
  command1_->setAccessibleDescription("Runs frames back to back. Key: M.");
  connect(command1_, &QPushButton::clicked, [this] {
    Command1_Click();
    ShowPace();
  });

  command2_ = new QPushButton("Fast", this);
  command2_->setObjectName("Command2");
  command2_->setGeometry(kCommand2);
  command2_->setCheckable(true);
  command2_->setToolTip("Fast: a frame every 3 ms (key F)");
  command2_->setAccessibleDescription("A frame every 3 ms instead of 50. Key: F.");
  connect(command2_, &QPushButton::clicked, [this] {
    Command2_Click();
    ShowPace();
  });

  label1_ = new QLabel("Label1", this);
  label1_->setObjectName("Label1");
  label1_->setGeometry(kLabel1);
  // Nothing reads or changes it; shown, its caption would only puzzle the user.
  label1_->hide();

  // Shown but of no size, so that assistive technology has it and the window's look is the same.
  announcement_ = new QLabel(this);
  announcement_->setObjectName("Announcement");
  announcement_->setGeometry(0, 0, 0, 0);

  QWidget::setTabOrder(picMain_, command1_);
  QWidget::setTabOrder(command1_, command2_);
  picMain_->setFocus();

  // Wakes a blocked wait at its deadline; the timer event alone ends the wait.
  wakeTimer_.setSingleShot(true);
  wakeTimer_.setTimerType(Qt::PreciseTimer);
}

void Main::ShowPace() {
  command1_->setChecked(MaxMode != kFalse);
  command2_->setChecked(FastMode != kFalse);
  const QString title = QString::fromStdString(WindowTitle());
  if (title != windowTitle()) {
    setWindowTitle(title);
    // Qt tells assistive technology of a new title only on some platforms; a screen reader on
    // AT-SPI hears the pause from this.
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
  }
}

// The keys of the play loop, wherever the focus is: P pauses, "." steps, M and F are the buttons.
void Main::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_P:
      PauseClick();
      break;
    case Qt::Key_Period:
      StepClick();
      break;
    case Qt::Key_M:
      Command1_Click();
      break;
    case Qt::Key_F:
      Command2_Click();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  ShowPace();
}

void Main::Show() {
  ShowPace();
  show();
  if (const QScreen* s = screen(); s != nullptr && s->refreshRate() > 1.0) {
    presentInterval_ =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(1000.0 / s->refreshRate()));
  }
}

void Main::PumpEvents(bool midFrame) {
  midFrame_ = midFrame;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  midFrame_ = false;
  ThrowIfClosed();
}

void Main::WaitForEvents(std::int64_t tick) {
  const std::int64_t remaining = tick - Ticks();
  if (remaining <= 0) {
    return;
  }
  wakeTimer_.start(static_cast<int>(std::min<std::int64_t>(remaining, INT_MAX)));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  wakeTimer_.stop();
  ThrowIfClosed();
}

std::int64_t Main::Ticks() {
  return MonotonicTicks();
}

CourtSize Main::CourtInterior() {
  const QRect interior = picMain_->contentsRect();
  return {interior.width(), interior.height()};
}

bool Main::PictureDue(std::int64_t tick) {
  return tick - lastPresent_ >= presentInterval_;
}

void Main::FrameDone(std::int64_t tick, bool drawn) {
  ++framesRun_;
  pictureCurrent_ = drawn;
  // A screen shows only so many pictures: the ones in between are never rasterised. The next frame
  // comes within 51 ms at any pace, and the question shows the last one.
  if (drawn && PictureDue(tick)) {
    Present(tick);
  }
}

void Main::Present(std::int64_t tick) {
  if (!pictureCurrent_) {
    DrawCourt(picture_);
    pictureCurrent_ = true;
  }
  lastPresent_ = tick;
  presentPending_ = true;
  picMain_->update();
}

void Main::BeforePaint() {
  // A paint asked for by a present shows the frame it was asked at, as every pace always has. Any
  // other (the window uncovered) shows the state as it stands, unless a point search is halfway
  // through a frame: then the last picture recorded.
  if (presentPending_) {
    presentPending_ = false;
    return;
  }
  if (!pictureCurrent_ && !midFrame_) {
    DrawCourt(picture_);
    pictureCurrent_ = true;
  }
}

bool Main::AskYesNo(const std::string& text) {
  Present(Ticks());
  QMessageBox box(QMessageBox::Information, kApplicationTitle, QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::Yes);
  box.setWindowModality(Qt::ApplicationModal);
  const int answer = box.exec();
  ThrowIfClosed();
  return answer == QMessageBox::Yes;
}

void Main::MatchSetUp(const std::string& line) {
  // Nobody reading, a full pipe or a closed descriptor: the line is dropped rather than let it
  // hold up the window. A line this short is written whole or not at all.
  const std::string text = line + "\n";
  pollfd out{STDOUT_FILENO, POLLOUT, 0};
  if (poll(&out, 1, 0) == 1 && (out.revents & POLLOUT) != 0) {
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
  }
}

void Main::Announce(const std::string& sentence) {
  // A name change is what assistive technology hears; cleared first, so that a sentence said again
  // (the same news in a later match) is a change too.
  announcement_->setAccessibleName({});
  announcement_->setAccessibleName(QString::fromStdString(sentence));
}

QWidget* Main::CourtWidget() const {
  return picMain_;
}

void Main::closeEvent(QCloseEvent* event) {
  // The window takes no input while the question is open; otherwise a close is never refused. The
  // loop notices once the pump has returned, outside Qt.
  if (QApplication::activeModalWidget() != nullptr) {
    event->ignore();
    return;
  }
  closed_ = true;
  event->accept();
}

void Main::WindowDestroyed(WId window) {
  // The window gone without a close request ends the program as if closed, an open question with
  // it; the question gone counts as No, which ends it too.
  QWidget* question = QApplication::activeModalWidget();
  const bool ours =
      window == internalWinId() || (question != nullptr && window == question->internalWinId());
  if (window == 0 || !ours) {
    return;
  }
  closed_ = true;
  if (question != nullptr) {
    question->close();
  }
}

void Main::ThrowIfClosed() const {
  if (closed_) {
    throw ProgramEnd{};
  }
}

}  // namespace quarrow
