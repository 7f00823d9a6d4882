// Turns the mouse on the client area, the keys of the main window and its losing the focus
// into the program's live-play messages. Keys that are shortcuts (F1-F12, Ctrl or Alt
// with a key) pass on untouched; a key that plays is kept from the window's controls, so
// the space bar pushes the bellows instead of pressing a focused button.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace brenavo::qt {

// The scan code (PC set 1) of the key's place on the keyboard: from the platform where it
// tells one, else from the key a US layout prints there; 0 for a key of no interest.
int32_t physicalScanCode(const QKeyEvent& key);

class LiveInput : public QObject {
 public:
  using Send = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;
  LiveInput(QWidget& window, QWidget& clientArea, Send send);
  ~LiveInput() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool onKey(QObject* watched, const QKeyEvent& key);
  void onMouse(const QMouseEvent& mouse);

  QWidget& window_;
  QWidget& clientArea_;
  Send send_;
};

}  // namespace brenavo::qt
