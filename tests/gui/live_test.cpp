// Real keys and mouse buttons on the window, offscreen, at one and two device pixels to the
// logical pixel: the notes sound, the bellows turn them, shortcuts and other windows do not play.
#include "gui_test_support.h"
#include "live/live_play.h"

using namespace brenavo;
using namespace brenavo::guitest;

class LiveTest : public QObject {
  Q_OBJECT

 private slots:
  void keysAndMousePlayTheirButtons() {
    TestWindow t;
    QVERIFY(t.showActive());
    const auto sounds = [&t](int p) {  // only this button's note, or none for -1
      return t.fake.soundingNotes == (p < 0 ? std::map<int, int>{}
                                            : std::map<int, int>{{keyConfig[0].midiKeyNum[p], 1}});
    };
    const int ratio = qRound(t.window->devicePixelRatioF());
    const QRgb blue = qRgb(platform::redOf(LIVE_BLUE), platform::greenOf(LIVE_BLUE),
                           platform::blueOf(LIVE_BLUE));
    QWidget* canvas = &t.window->canvas();
    QTest::mousePress(canvas, Qt::LeftButton, {}, t.button(13) + QPoint(13, 13));
    QVERIFY(sounds(13) && circleOk(t.picture(), t.button(13), blue, ratio));
    QTest::mouseMove(canvas, t.button(47));
    QVERIFY(sounds(47));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, t.button(47));
    QVERIFY(sounds(-1) && circleOk(t.picture(), t.button(47), qRgb(255, 255, 255), ratio));
    t.window->desktop().setFocus(IDPB_PLAY);  // the space bar does not press it
    QTest::keyPress(t.window.get(), Qt::Key_A), QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(sounds(44));
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space), QTest::keyRelease(t.window.get(), Qt::Key_A);
    QVERIFY(sounds(-1) && !t.program().sel.ctrlPlay);
    received.clear(), commandsNotRun = {IDM_EXIT, IDM_EXPORT};  // they open windows
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_X, Qt::ControlModifier}, {Qt::Key_Q, Qt::AltModifier},
          {Qt::Key_F7, Qt::NoModifier}, {Qt::Key_E, Qt::ControlModifier}})
      QTest::keyClick(t.window.get(), key, modifiers);
    QVERIFY(wParamsOf(WM_KEYDOWN).empty() && wParamsOf(WM_COMMAND).size() == 3);
    QTest::keyPress(t.window.get(), Qt::Key_Z);
    QWidget other;
    other.show(), other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other) && sounds(-1) && t.showActive());
    QTest::keyPress(t.window.get(), Qt::Key_Slash);
    QVERIFY(sounds(31));
    t.window->hide();
    QVERIFY(sounds(-1));
  }
};

int main(int argc, char* argv[]) { return runAtBothScales<LiveTest>(argc, argv); }

#include "live_test.moc"
