#include "platform/qt/live_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QtMath>
#include <cstring>

#include "live/key_map.h"
#include "model/ids.h"

namespace brenavo::qt {

namespace {

// What a US layout prints on the keys of each playing row, left to right.
constexpr const char* US_ROWS[KEY_COLUMNS] = {"QWERTYUIOP", "ASDFGHJKL;'", "ZXCVBNM,./"};

// Qt names a key of plain ASCII by its (upper-case) character.
int32_t scanCodeOfUsKey(int qtKey) {
  if (qtKey == Qt::Key_Space) return SCAN_SPACE;
  for (int column = 0; column < KEY_COLUMNS; ++column)
    for (size_t row = 0; row < std::strlen(US_ROWS[column]); ++row)
      if (US_ROWS[column][row] == qtKey) return KEY_ROWS[column][row].scanCode;
  return 0;
}

bool isShortcut(const QKeyEvent& key) {
  return key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool isMouseEvent(QEvent::Type type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
         type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
}

}  // namespace

// X11 and Wayland hand over the evdev code plus 8; Windows the set-1 code itself.
int32_t physicalScanCode(const QKeyEvent& key) {
  const QString platform = QGuiApplication::platformName();
  const quint32 native = key.nativeScanCode();
  if ((platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))) &&
      native > 8)
    return static_cast<int32_t>(native - 8);
  if (platform == QLatin1String("windows") && native != 0) return static_cast<int32_t>(native);
  return scanCodeOfUsKey(key.key());
}

LiveInput::LiveInput(QWidget& window, QWidget& clientArea, Send send)
    : window_(window), clientArea_(clientArea), send_(std::move(send)) {
  QCoreApplication::instance()->installEventFilter(this);
}

LiveInput::~LiveInput() { QCoreApplication::instance()->removeEventFilter(this); }

bool LiveInput::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease)
    return onKey(watched, static_cast<const QKeyEvent&>(*event));
  if (isMouseEvent(type) && watched == &clientArea_)
    onMouse(static_cast<const QMouseEvent&>(*event));
  else if ((type == QEvent::WindowDeactivate || type == QEvent::Hide) && watched == &window_)
    send_(WM_KILLFOCUS, 0, 0);
  return false;
}

// Only keys of the main window play, and none while a menu or a dialog is open.
bool LiveInput::onKey(QObject* watched, const QKeyEvent& key) {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (widget == nullptr || widget->window() != &window_ || QApplication::activeModalWidget() ||
      QApplication::activePopupWidget())
    return false;
  const int32_t scanCode = physicalScanCode(key);
  if (scanCode != SCAN_SPACE && pullPositionOfKey(scanCode) < 0) return false;
  if (key.type() == QEvent::KeyPress) {
    if (isShortcut(key)) return false;
    send_(WM_KEYDOWN, static_cast<uintptr_t>(scanCode), key.isAutoRepeat() ? KEY_WAS_DOWN : 0);
  } else if (!key.isAutoRepeat()) {
    send_(WM_KEYUP, static_cast<uintptr_t>(scanCode), 0);
  }
  return true;
}

// Positions are logical client pixels, whatever the screen's scale.
void LiveInput::onMouse(const QMouseEvent& mouse) {
  const intptr_t where =
      MAKELPARAM(qFloor(mouse.position().x()), qFloor(mouse.position().y()));
  switch (mouse.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (mouse.button() == Qt::LeftButton) send_(WM_LBUTTONDOWN, 0, where);
      break;
    case QEvent::MouseMove:
      if (mouse.buttons() & Qt::LeftButton) send_(WM_MOUSEMOVE, 0, where);
      break;
    default:
      if (mouse.button() == Qt::LeftButton) send_(WM_LBUTTONUP, 0, where);
      break;
  }
}

}  // namespace brenavo::qt
