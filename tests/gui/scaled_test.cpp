// What holds at one and at two device pixels to the logical pixel: the picture is painted
// at the device resolution where the diagrams show it; the picture kept between paints is,
// once the runs are over, the one a fresh paint makes; and every text the status bar can
// show fits its part whole at the desktop's usual font sizes.
#include <QLabel>
#include <QtTest>

#include "display/status_bar.h"
#include "gui_test_support.h"
#include "platform/qt/program_text.h"

using namespace brenavo;
using namespace brenavo::guitest;

// Blocks of 2 x 2 device pixels, one per logical pixel of `logical`, whose four pixels
// differ. A picture painted at the logical resolution and enlarged has none.
int unevenBlocks(const QImage& image, const QRect& logical) {
  int count = 0;
  for (int y = logical.top() * 2; y <= logical.bottom() * 2; y += 2)
    for (int x = logical.left() * 2; x <= logical.right() * 2; x += 2) {
      const QRgb first = image.pixel(x, y);
      count += image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first ||
               image.pixel(x + 1, y + 1) != first;
    }
  return count;
}

class ScaledTest : public QObject {
  Q_OBJECT

 private slots:
  // The frame keeps its logical size; circles, labels and a step's highlight land on
  // their device pixels, the labels' glyph edges falling between logical pixels.
  void pictureIsPaintedAtTheDeviceResolution() {
    TestWindow t;
    QVERIFY(t.showActive());
    const int ratio = qRound(t.window->devicePixelRatioF());
    QCOMPARE(t.window->size(), QSize(800, 600));
    QCOMPARE(t.window->grab().size(), QSize(800, 600) * ratio);
    const QImage image = t.picture();
    QCOMPARE(t.keyboardsFault(image, ratio), QString());
    const int first = t.firstOfScale();
    if (ratio > 1) QVERIFY(unevenBlocks(image, labelBox(t.button(first))) > 10);
    QTest::keyClick(t.window.get(), Qt::Key_F5);
    t.window->desktop().killTimer(IDM_PLAY_TIMER);
    const QImage lit = t.picture();
    QCOMPARE(circleFault(lit, t.button(first), qRgb(255, 255, 0), ratio), QString());
    if (ratio > 1) QVERIFY(unevenBlocks(lit, labelBox(t.button(first))) > 10);
  }

  // Runs, loops, pauses and stops of single notes, thirds, four-note chords and a
  // progression, whose buttons turn yellow and back to white many times over.
  void runsLeaveThePictureAsAFreshPaintHasIt() {
    TestWindow t;
    QVERIFY(t.showActive());
    qt::QtPlatform& desktop = t.window->desktop();
    const auto send = [&t, &desktop](uint32_t message, int wParam, int times) {
      for (int i = 0; i < times && (message != WM_TIMER || t.program().sel.ctrlPlay); ++i) {
        desktop.send(message, wParam);
        desktop.killTimer(IDM_PLAY_TIMER);  // the test gives the ticks
      }
    };
    for (int selection : {IDM_SCALE_1, IDM_SCALE_THIRDS, IDM_CHORDS_7_DOM_B5, IDM_PROG_C_MEL_1}) {
      send(WM_COMMAND, selection, 1);
      for (auto [command, ticks] : {std::pair{IDPB_PLAY, 5}, {IDPB_STOP, 0}, {IDPB_PLAY, 100},
                                    {IDPB_LOOP, 40}, {IDPB_PAUSE, 0}, {IDPB_PLAY, 100}}) {
        send(WM_COMMAND, command, 1);
        send(WM_TIMER, IDM_PLAY_TIMER, ticks);
      }
      const QImage kept = t.window->canvas().picture();
      t.window->canvas().invalidate();
      t.window->canvas().grab();
      QCOMPARE(t.window->canvas().picture(), kept);
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
        QVERIFY2(label.sizeHint().width() <= label.width() && label.toolTip().isEmpty(),
                 qPrintable(text));
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
