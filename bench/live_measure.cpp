// Live play: from a key or mouse press reaching the program to its note-on handed to the
// synth, and to the lit button painted on the window.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "display/geometry.h"
#include "measurements.h"
#include "measuring_program.h"
#include "platform/qt/canvas.h"
#include "platform/qt/main_window.h"

namespace brenavo::bench {

namespace {

constexpr int kPresses = 1000;
constexpr Qt::Key kKeys[] = {Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_F};

// Even presses by a key, odd ones by the mouse on a button of the push side.
void press(qt::MainWindow& window, int n, bool down) {
  if (n % 2 == 0) {
    QKeyEvent key(down ? QEvent::KeyPress : QEvent::KeyRelease, kKeys[n / 2 % 4], Qt::NoModifier);
    QApplication::sendEvent(&window, &key);
    return;
  }
  const int p = KB_BUTTONS + 12 + n / 2 % 8;
  const QPointF at(buttonX(window.program(), p), buttonY(window.program(), p));
  QMouseEvent mouse(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, at,
                    window.canvas().mapToGlobal(at), Qt::LeftButton,
                    down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&window.canvas(), &mouse);
}

}  // namespace

void measureLive(int& argc, char** argv, const std::string& drivers) {
  MeasuredProgram program(argc, argv, deviceOptions(drivers));
  program.showAndWaitForFirstPaint();
  PacedRenderer renderer(program.synth());
  qt::MainWindow& window = program.window();
  std::vector<double> toNoteOn, toPainted;
  for (int n = 0; n < kPresses; ++n) {
    const size_t before = program.midi().noteOnNs().size();
    const int64_t startNs = monotonicNs();
    press(window, n, true);
    window.canvas().repaint();
    const int64_t paintedNs = monotonicNs();
    if (program.midi().noteOnNs().size() != before + 1) fail("a press sounded no note");
    toNoteOn.push_back(nsToMs(program.midi().noteOnNs().back() - startNs));
    toPainted.push_back(nsToMs(paintedNs - startNs));
    press(window, n, false);
    QApplication::processEvents();
  }
  report("live_note_on_ms", toNoteOn);
  report("live_painted_ms", toPainted);
  finish();
}

}  // namespace brenavo::bench
