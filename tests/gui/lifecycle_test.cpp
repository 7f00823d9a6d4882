// Start-up and shutdown of the main window: the MIDI warning before the window shows,
// the exit command and the close box each taking the program down exactly once.
// (Ending the program ends Qt's event loops for good, so these cases live apart.)
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <QtTest>
#include <memory>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "platform/qt/main_window.h"

using namespace brenavo;

namespace {

std::vector<uint32_t> received;

int32_t recordingWindowFunc(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  received.push_back(message);
  return WindowFunc(program, message, wParam, lParam);
}

int countOf(uint32_t message) {
  return static_cast<int>(std::count(received.begin(), received.end(), message));
}

struct BoxSeen {
  QString title;
  QString text;
  QString okText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool ownerVisible = true;
};

// Answers the next message box that opens with `answer`.
void answerNextBox(QMessageBox::StandardButton answer, BoxSeen* seen) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    poll->stop();
    poll->deleteLater();
    seen->title = box->windowTitle();
    seen->text = box->text();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) seen->okText = ok->text();
    seen->icon = box->icon();
    seen->ownerVisible = box->parentWidget() && box->parentWidget()->isVisible();
    box->button(answer)->click();
  });
  poll->start(5);
}

}  // namespace

class LifecycleTest : public QObject {
  Q_OBJECT

 private:
  QTranslator spanish_;

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }
  void init() { received.clear(); }

  void missingMidiOutputWarnsOnceBeforeTheWindowShows() {
    fakes::RecordingPlatform fake;
    fake.midiOpenSucceeds = false;
    BoxSeen seen;
    answerNextBox(QMessageBox::Ok, &seen);
    qt::MainWindow window(fake, fake);
    QCOMPARE(seen.text, QString("Control de MIDI no disponible."));
    QCOMPARE(seen.title, QString("Brenavo: ERROR"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.okText, QString("Aceptar"));
    QVERIFY(!seen.ownerVisible);
    QCOMPARE(window.program().sel.midiDevExists, 0);
    // The program goes on: the window shows and plays silently.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.desktop().sendCommand(IDPB_PLAY);
    QCOMPARE(window.program().sel.ctrlPlay, 1);
    window.desktop().sendCommand(IDPB_STOP);
    QVERIFY(fake.midiMessages.empty());
  }

  void exitCommandTakesTheProgramDownOnce() {
    fakes::RecordingPlatform fake;
    qt::MainWindow window(fake, fake);
    window.program().windowProc = recordingWindowFunc;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    BoxSeen seen;
    answerNextBox(QMessageBox::Yes, &seen);
    QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(countOf(WM_DESTROY), 1);
    QVERIFY(window.program().destroyed);
    QCOMPARE(window.desktop().quitCode(), std::optional<int>(0));
    QVERIFY(!fake.storeWriteOrder.empty());  // the settings were saved
    window.close();
    QCOMPARE(countOf(WM_DESTROY), 1);
  }

  void closeBoxTakesTheProgramDownOnce() {
    fakes::RecordingPlatform fake;
    qt::MainWindow window(fake, fake);
    window.program().windowProc = recordingWindowFunc;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.desktop().sendCommand(IDPB_PLAY);
    QVERIFY(window.desktop().isTimerRunning(IDM_PLAY_TIMER));
    QVERIFY(window.close());
    QCOMPARE(countOf(WM_DESTROY), 1);
    QCOMPARE(window.desktop().quitCode(), std::optional<int>(0));
    QVERIFY(!window.desktop().isTimerRunning(IDM_PLAY_TIMER));  // no step after the end
    QVERIFY(fake.soundingNotes.empty());                        // no note left sounding
    QVERIFY(!fake.storeWriteOrder.empty());
  }
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
