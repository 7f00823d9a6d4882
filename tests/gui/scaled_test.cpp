// At one and at two device pixels to the logical pixel: the picture is painted at the device
// resolution, the one kept between paints matches a fresh paint, and status texts fit.
#include <QLabel>

#include "display/status_bar.h"
#include "gui_test_support.h"
#include "platform/qt/program_text.h"

using namespace brenavo;
using namespace brenavo::guitest;

class ScaledTest : public QObject {
  Q_OBJECT

 private slots:
  // Circles and highlight on their device pixels, glyph edges between logical pixels; runs,
  // loops, pauses and stops of notes, thirds, chords and progressions keep the right picture.
  void pictureIsPaintedAtTheDeviceResolutionAndKeptRight() {
    TestWindow t;
    QVERIFY(t.showActive());
    const int ratio = qRound(t.window->devicePixelRatioF());
    QCOMPARE(t.keyboardsFault(t.picture(), ratio), -1);
    const auto send = [&t](uint32_t message, int wParam) {  // the test gives the ticks
      t.window->desktop().send(message, wParam), t.window->desktop().killTimer(IDM_PLAY_TIMER);
    };
    send(WM_COMMAND, IDPB_PLAY);
    const QImage lit = t.picture();
    const QPoint first = t.button(t.firstOfScale());
    QVERIFY(circleOk(lit, first, qRgb(255, 255, 0), ratio));
    int uneven = 0;  // over the label, 30 x 22 logical pixels
    for (int y = 2 * first.y() - 22; ratio > 1 && y <= 2 * first.y() + 20; y += 2)
      for (int x = 2 * first.x() - 30; x <= 2 * first.x() + 28; x += 2)
        uneven += lit.pixel(x + 1, y) != lit.pixel(x, y) || lit.pixel(x, y + 1) != lit.pixel(x, y);
    QVERIFY(ratio == 1 || uneven > 10);  // blocks of 2 x 2 device pixels that differ
    send(WM_COMMAND, IDPB_STOP);
    for (int selection : {IDM_SCALE_1, IDM_SCALE_THIRDS, IDM_CHORDS_7_DOM_B5, IDM_PROG_C_MEL_1}) {
      send(WM_COMMAND, selection);
      for (auto [command, ticks] : {std::pair{IDPB_PLAY, 5}, {IDPB_STOP, 0}, {IDPB_PLAY, 100},
                                    {IDPB_LOOP, 40}, {IDPB_PAUSE, 0}, {IDPB_PLAY, 100}}) {
        send(WM_COMMAND, command);
        for (int i = 0; i < ticks && t.program().sel.ctrlPlay; ++i) send(WM_TIMER, IDM_PLAY_TIMER);
      }
      const QImage kept = t.window->canvas().picture();
      t.window->canvas().invalidate(), t.window->canvas().grab();
      QCOMPARE(t.window->canvas().picture(), kept);
    }
  }

  // Every status text fits its part whole at 8 to 11 pt (the font no smaller than 7 pt); a
  // longer text is cut short visibly and shown whole in a tooltip.
  void everyStatusTextFitsItsPartWhole() {
    const auto texts = everyStatusText();
    for (int points : {8, 9, 10, 11}) {
      QApplication::setFont(QFont("DejaVu Sans", points));
      TestWindow t;
      qt::PartedStatusBar& bar = t.window->parts();
      for (int part = 0; part < PARTS_IN_STATUS_BAR; ++part) {
        const QLabel& label = bar.partLabel(part);
        for (const std::string& programText : texts[part]) {
          const QString text = qt::fromProgramText(programText);
          bar.setPartText(part, text);
          QVERIFY2(label.text() == text && label.sizeHint().width() <= label.width() &&
                       label.toolTip().isEmpty() && label.font().pointSizeF() >= 7.0,
                   qPrintable(QString("%1 pt: ").arg(points) + text));
        }
      }
      const QString tooLong = QString("ESCALA: ").repeated(10);
      bar.setPartText(1, tooLong);
      QVERIFY(bar.partLabel(1).text().endsWith(QChar(0x2026)) && bar.partText(1) == tooLong &&
              bar.partLabel(1).toolTip() == tooLong);
    }
  }
};

int main(int argc, char* argv[]) { return runAtBothScales<ScaledTest>(argc, argv); }

#include "scaled_test.moc"
