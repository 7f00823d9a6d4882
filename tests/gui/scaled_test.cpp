// What holds at one and at two device pixels to the logical pixel: the picture kept
// between paints is, once the runs are over, the one a fresh paint makes; and every text
// the status bar can show fits its part whole at the desktop's usual font sizes.
#include <QLabel>
#include <QtTest>

#include "display/status_bar.h"
#include "gui_test_support.h"
#include "platform/qt/program_text.h"

using namespace brenavo;
using namespace brenavo::guitest;

class ScaledTest : public QObject {
  Q_OBJECT

 private slots:
  // Runs, loops, pauses and stops of single notes, thirds, four-note chords and a
  // progression, whose buttons turn yellow and back to white many times over.
  void runsLeaveThePictureAsAFreshPaintHasIt() {
    TestWindow t;
    QVERIFY(t.showActive());
    qt::QtPlatform& desktop = t.window->desktop();
    qt::Canvas& canvas = t.window->canvas();
    const auto command = [&desktop](int id) {
      desktop.sendCommand(id);
      desktop.killTimer(IDM_PLAY_TIMER);  // the test gives the ticks
    };
    const auto tick = [&t, &desktop](int most) {
      for (int i = 0; i < most && t.program().sel.ctrlPlay; ++i) {
        desktop.send(WM_TIMER, IDM_PLAY_TIMER);
        desktop.killTimer(IDM_PLAY_TIMER);
      }
    };
    for (int selection : {IDM_SCALE_1, IDM_SCALE_THIRDS, IDM_CHORDS_7_DOM_B5, IDM_PROG_C_MEL_1}) {
      command(selection);
      command(IDPB_PLAY);
      tick(5);
      command(IDPB_STOP);
      command(IDPB_PLAY);
      tick(100);
      command(IDPB_LOOP);
      tick(40);
      command(IDPB_PAUSE);
      command(IDPB_PLAY);
      tick(100);
      const QImage kept = canvas.picture();
      canvas.invalidate();
      canvas.grab();
      QCOMPARE(canvas.picture(), kept);
    }
  }

  void everyStatusTextFitsItsPartWhole_data() {
    QTest::addColumn<qreal>("points");
    for (qreal points : {8.0, 9.0, 10.0, 11.0})
      QTest::addRow("DejaVu Sans %g pt", points) << points;
  }
  void everyStatusTextFitsItsPartWhole() {
    QFETCH(qreal, points);
    const QFont desktopFont = QApplication::font();
    QFont font("DejaVu Sans");
    font.setPointSizeF(points);
    QApplication::setFont(font);
    TestWindow t;
    QVERIFY(t.showActive());
    qt::PartedStatusBar& bar = t.window->parts();
    const auto texts = everyStatusText();
    for (int part = 0; part < PARTS_IN_STATUS_BAR; ++part) {
      const QLabel& label = bar.partLabel(part);
      QVERIFY(label.font().pointSizeF() >= 7.0);
      for (const std::string& programText : texts[part]) {
        const QString text = qt::fromProgramText(programText);
        bar.setPartText(part, text);
        QCOMPARE(label.text(), text);
        QVERIFY2(label.sizeHint().width() <= label.width(), qPrintable(text));
        QVERIFY(label.toolTip().isEmpty());
      }
    }
    // A text longer than any of them is cut short visibly and shown whole in a tooltip.
    const QString tooLong = QString("ESCALA: ").repeated(10);
    bar.setPartText(1, tooLong);
    QVERIFY(bar.partLabel(1).text().endsWith(QChar(0x2026)));
    QCOMPARE(bar.partLabel(1).toolTip(), tooLong);
    QCOMPARE(bar.partText(1), tooLong);
    QApplication::setFont(desktopFont);
  }
};

// The whole suite at one device pixel to the logical pixel, then at two. The scale
// factor is read when the application starts, so each scale has an application of its own.
int main(int argc, char* argv[]) {
  int failures = 0;
  for (const char* ratio : {"1", "2"}) {
    qputenv("QT_SCALE_FACTOR", ratio);
    QApplication application(argc, argv);
    ScaledTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures;
}

#include "scaled_test.moc"
