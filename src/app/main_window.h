#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "app/destroy_watch.h"
#include "play/names.h"
#include "play/shell.h"
#include "render/picture.h"

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace quarrow {

class PicMainWidget;

// The window's size for a court interior: the button column at the left, the court beside it.
QSize WindowSizeFor(CourtSize court);

// Why a window around this court cannot be shown whole on the screen; empty when it can.
std::string CourtTooLarge(CourtSize court);

// The application-wide Qt settings the window relies on: no pixmap cache, and the accessible
// forms of its window and court. Once per process, after the application is made.
void ApplyWindowSettings();

// The window Main and the frame loop's view of it.
class Main final : public QWidget, public Shell {
 public:
  explicit Main(CourtSize court = kStandardCourt);

  void Show() override;
  void PumpEvents(bool midFrame) override;
  void WaitForEvents(std::int64_t tick) override;
  std::int64_t Ticks() override;
  CourtSize CourtInterior() override;
  Picture& PicMain() override { return picture_; }
  bool PictureDue(std::int64_t tick) override;
  void FrameDone(std::int64_t tick, bool drawn) override;
  bool AskYesNo(const std::string& text) override;
  // Prints the line on standard output, if that can take it at once.
  void MatchSetUp(const std::string& line) override;
  // Gives the sentence to assistive technology as the name of a label nobody sees.
  void Announce(const std::string& sentence) override;

  QWidget* CourtWidget() const;
  std::int64_t FramesRun() const { return framesRun_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Present(std::int64_t tick);
  void BeforePaint();
  void ThrowIfClosed() const;
  void WindowDestroyed(WId window);
  void ShowPace();

  Picture picture_;
  PicMainWidget* picMain_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* announcement_ = nullptr;
  QTimer wakeTimer_;
  DestroyWatch destroyWatch_;
  bool closed_ = false;
  bool midFrame_ = false;
  // Whether picture_ shows the last frame run; Max mode leaves most frames unrecorded.
  bool pictureCurrent_ = true;
  bool presentPending_ = false;
  std::int64_t framesRun_ = 0;
  std::int64_t lastPresent_ = 0;
  std::int64_t presentInterval_ = 16;
};

}  // namespace quarrow
