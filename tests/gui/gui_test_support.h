// For the desktop tests: a main window on recording fakes, modal answers, circles drawn.
#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QWindow>
#include <QtTest>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "platform/qt/canvas.h"
#include "platform/qt/main_window.h"

namespace brenavo::guitest {

// Every message the TestWindow got, with its wParam; `commandsNotRun` are noted, not run.
inline std::vector<std::pair<uint32_t, uintptr_t>> received;
inline QList<int> commandsNotRun;

inline std::vector<uintptr_t> wParamsOf(uint32_t message) {
  std::vector<uintptr_t> found;
  for (const auto& [got, wParam] : received) if (got == message) found.push_back(wParam);
  return found;
}

// Acts on the next modal dialog, made active, from inside its loop; then closes it if open.
inline void whenModal(const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return whenModal(act);
    QWindow* window = dialog->windowHandle();
    window->requestActivate();  // keyboard shortcuts reach the active window only
    (void)QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window; });
    act(*dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected + 100);
  });
}

// Clicks `answer` in the next message box; `seen` becomes "title|text|buttons|icon|owner shown".
inline void answerNextBox(QMessageBox::StandardButton answer, QString& seen) {
  whenModal([answer, &seen](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    seen = box->windowTitle() + "|" + box->text() + "|";
    for (QAbstractButton* button : box->buttons()) seen += button->text() + ",";
    seen += QString("|%1|%2").arg(box->icon()).arg(box->parentWidget()->isVisible());
    box->button(answer)->click();
  });
}

// Whether a button's circle centred at `c` (`scale` device pixels a logical one) has a dark
// outline at a radius of 16 to 22 on its right, `inside` colour above its label, white beyond.
inline bool circleOk(const QImage& image, QPoint c, QRgb inside = qRgb(255, 255, 255), int scale = 1) {
  int darkest = 255;
  for (int dx = 16 * scale; dx <= 22 * scale; ++dx)
    darkest = std::min(darkest, qGray(image.pixel(c.x() * scale + dx, c.y() * scale)));
  const auto at = [&image, scale](int x, int y) { return image.pixel(x * scale, y * scale); };
  return darkest < 90 && at(c.x(), c.y() - 16) == inside && at(c.x() + 26, c.y()) == qRgb(255, 255, 255);
}

struct TestWindow {
  fakes::RecordingPlatform fake;
  std::unique_ptr<qt::MainWindow> window;
  explicit TestWindow(bool midiOpens = true) {
    received.clear(), commandsNotRun.clear(), fake.midiOpenSucceeds = midiOpens;
    window = std::make_unique<qt::MainWindow>(fake, fake);
    window->program().windowProc = [](Program& p, uint32_t message, uintptr_t wParam, intptr_t l) {
      received.push_back({message, wParam});
      const bool notRun = message == WM_COMMAND && commandsNotRun.contains(int(wParam & 0xFFFF));
      return notRun ? 0 : WindowFunc(p, message, wParam, l);
    };
  }
  bool showActive() {  // shown, with the keyboard
    window->show(), window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
  }
  Program& program() { return window->program(); }
  QImage picture() const { return window->canvas().grab().toImage(); }
  QPoint button(int p) { return {buttonX(program(), p), buttonY(program(), p)}; }
  int keyboardsFault(const QImage& image, int scale = 1) {  // the first bad circle, or -1
    for (int p = 0; p < KB_POSITIONS; ++p)
      if (!isLabelSlot(p) && !circleOk(image, button(p), qRgb(255, 255, 255), scale)) return p;
    return -1;
  }
  int firstOfScale() {  // the first button of the scale on show, the one a run lights first
    const SelectionState& s = program().sel;
    return notePats[s.direcSel2].iFormat[s.formatSel2].iScale[s.scpIndex].note1[0];
  }
};

// Runs the suite T at one and at two device pixels to the logical pixel; the scale is read when
// the application starts, so each gets an application of its own.
template <typename T>
int runAtBothScales(int argc, char* argv[]) {
  int failures = 0;
  for (const char* ratio : {"1", "2"}) {
    qputenv("QT_SCALE_FACTOR", ratio);
    QApplication application(argc, argv);
    T test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures;
}

}  // namespace brenavo::guitest
