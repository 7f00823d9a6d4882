// Shared by the desktop tests: a main window on recording fakes whose window procedure
// notes every message, answers to modal dialogs given from inside their own loops, and
// looks at the pixels of the picture.
#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <set>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "platform/qt/canvas.h"
#include "platform/qt/main_window.h"

namespace brenavo::guitest {

// Every message the window procedure got, with its wParam, in order. Commands in
// `commandsNotRun` are noted but not run (they would open windows of their own).
inline std::vector<std::pair<uint32_t, uintptr_t>> received;
inline std::set<int> commandsNotRun;

inline int32_t recordingWindowFunc(Program& program, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) {
  received.push_back({message, wParam});
  if (message == WM_COMMAND && commandsNotRun.count(static_cast<int>(wParam & 0xFFFF))) return 0;
  return WindowFunc(program, message, wParam, lParam);
}

inline std::vector<uintptr_t> wParamsOf(uint32_t message) {
  std::vector<uintptr_t> found;
  for (const auto& [got, wParam] : received)
    if (got == message) found.push_back(wParam);
  return found;
}

// Acts on the next modal dialog, made active, from inside its own event loop; the dialog
// is closed afterwards whatever `act` did, so a failed step never hangs the test.
inline void whenModal(const std::function<void(QDialog&)>& act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    QWindow* window = dialog->windowHandle();
    window->requestActivate();  // keyboard shortcuts reach the active window only
    if (!QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window; }))
      qWarning("the dialog did not become active");
    act(*dialog);
    if (dialog->isVisible()) dialog->done(QDialog::Rejected + 100);
  });
  poll->start(0);
}

// What a message box showed before the test answered it.
struct BoxSeen {
  QString title, text;
  QStringList buttons;  // the texts of Yes, No and OK, those it has
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool ownerVisible = false;
};

inline void answerNextBox(QMessageBox::StandardButton answer, BoxSeen& seen) {
  whenModal([answer, &seen](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    if (box == nullptr) return;
    seen = {box->windowTitle(), box->text(), {}, box->icon(), box->parentWidget()->isVisible()};
    for (auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok})
      if (QAbstractButton* button = box->button(which)) seen.buttons << button->text();
    box->button(answer)->click();
  });
}

// Chooses "&A-D-G" and "GUAR&DAR" in the options dialog by their mnemonics; each clicks
// its button a moment after the key.
inline void chooseAdgAndSave(QDialog& dialog) {
  QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier);
  auto* adg = dialog.findChild<QAbstractButton*>("radio_1014");
  QVERIFY(QTest::qWaitFor([adg] { return adg->isChecked(); }));
  QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
  QVERIFY(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }));
}

inline bool isWhite(QRgb pixel) { return pixel == qRgb(255, 255, 255); }

// How many pixels of `area` lie within `tolerance` of `colour` in every channel.
inline int pixelsNear(const QImage& image, const QRect& area, QColor colour, int tolerance = 40) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      count += std::max({std::abs(p.red() - colour.red()), std::abs(p.green() - colour.green()),
                         std::abs(p.blue() - colour.blue())}) <= tolerance;
    }
  return count;
}

// Where a button's label is written, around its centre.
inline QRect labelBox(QPoint centre) { return {centre.x() - 15, centre.y() - 11, 30, 22}; }

// What is wrong with the circle of a button centred at `c` on a picture of `scale` device
// pixels to the logical pixel: it needs a dark outline at a radius of 16 to 22 on its
// right, `inside` colour above its label and white beyond it. Empty when all is well.
inline QString circleFault(const QImage& image, QPoint c, QRgb inside = qRgb(255, 255, 255),
                           int scale = 1) {
  const auto at = [&image, scale](int x, int y) { return image.pixel(x * scale, y * scale); };
  int darkest = 255;
  for (int dx = 16 * scale; dx <= 22 * scale; ++dx)
    darkest = std::min(darkest, qGray(image.pixel(c.x() * scale + dx, c.y() * scale)));
  const QString where = QString(" at %1,%2").arg(c.x()).arg(c.y());
  if (darkest >= 90) return "no outline" + where;
  if (at(c.x(), c.y() - 16) != inside) return "wrong inside" + where;
  if (!isWhite(at(c.x() + 26, c.y()))) return "not white beyond" + where;
  return {};
}

// The main window built on recording fakes; its messages are noted from then on.
struct TestWindow {
  fakes::RecordingPlatform fake;
  std::unique_ptr<qt::MainWindow> window;

  explicit TestWindow(bool midiOpens = true) {
    received.clear();
    commandsNotRun.clear();
    fake.midiOpenSucceeds = midiOpens;
    window = std::make_unique<qt::MainWindow>(fake, fake);
    window->program().windowProc = recordingWindowFunc;
  }
  bool showActive() {  // shown, with the keyboard
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
  }
  Program& program() { return window->program(); }
  QImage picture() const { return window->canvas().grab().toImage(); }
  QPoint button(int p) { return {buttonX(program(), p), buttonY(program(), p)}; }
  // The first fault of the circles of both keyboards, all white inside; empty when none.
  QString keyboardsFault(const QImage& image, int scale = 1) {
    QString fault;
    for (int p = 0; p < KB_POSITIONS && fault.isEmpty(); ++p)
      if (!isLabelSlot(p)) fault = circleFault(image, button(p), qRgb(255, 255, 255), scale);
    return fault;
  }
  // The first button of the scale on show, the one a run lights first.
  int firstOfScale() {
    const SelectionState& s = program().sel;
    return notePats[s.direcSel2].iFormat[s.formatSel2].iScale[s.scpIndex].note1[0];
  }
};

// The first G-C-F button labelled in the middle octave (drawn blue: a capital without
// "-") or in the upper one (drawn red: a small letter without "+").
inline int firstButtonInOctave(bool upper) {
  for (int p = 0; p < KB_POSITIONS; ++p) {
    const QByteArray name = keyConfig[0].szNoteName[p];
    if (!isLabelSlot(p) && !name.isEmpty() && QChar(name[0]).isLower() == upper &&
        QChar(name[0]).isLetter() && !name.contains(upper ? '+' : '-'))
      return p;
  }
  return -1;
}

}  // namespace brenavo::guitest
