// A QApplication that notes when things happen: when the picture of a chosen widget is
// first on screen (the end of the first frame of its window, expose or update, painted
// and flushed, in which the widget was painted), and when each timer event is delivered.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <vector>

#include "clock.h"

namespace brenavo::bench {

class StampingApplication : public QApplication {
 public:
  StampingApplication(int& argc, char** argv) : QApplication(argc, argv) {
    timerEventsNs_.reserve(kTimerEventsExpected);
  }

  // then runs right after that first frame.
  void watch(const QWidget* widget, std::function<void()> then) {
    watched_ = widget;
    then_ = std::move(then);
  }
  int64_t firstPaintNs() const { return firstPaintNs_; }
  // When each timer event began to be handled, in order.
  const std::vector<int64_t>& timerEventsNs() const { return timerEventsNs_; }

  bool notify(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Timer && timerEventsNs_.size() < kTimerEventsExpected)
      timerEventsNs_.push_back(monotonicNs());
    const bool frame = firstPaintNs_ == 0 && watched_ != nullptr &&
                       receiver == watched_->window()->windowHandle() &&
                       (type == QEvent::Expose || type == QEvent::UpdateRequest);
    const bool handled = QApplication::notify(receiver, event);
    if (receiver == watched_ && type == QEvent::Paint) painted_ = true;
    if (frame && painted_) {
      firstPaintNs_ = monotonicNs();
      if (then_) then_();
    }
    return handled;
  }

 private:
  static constexpr size_t kTimerEventsExpected = 16384;

  const QWidget* watched_ = nullptr;
  std::function<void()> then_;
  bool painted_ = false;
  int64_t firstPaintNs_ = 0;
  std::vector<int64_t> timerEventsNs_;
};

}  // namespace brenavo::bench
