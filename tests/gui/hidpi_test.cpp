// The main window on a screen with two device pixels to the logical pixel: the frame keeps
// its logical size, the picture is painted at the device resolution (sharp labels, not an
// enlarged low-resolution image), and everything sits at twice its logical coordinates.
#include <QtTest>

#include "gui_test_support.h"

using namespace brenavo;
using namespace brenavo::guitest;

namespace {

constexpr int RATIO = 2;

QRect onDevice(const QRect& logical) { return {logical.topLeft() * RATIO, logical.size() * RATIO}; }

// Blocks of 2 x 2 device pixels, one per logical pixel, whose four pixels differ. A picture
// painted at the logical resolution and enlarged has none.
int unevenBlocks(const QImage& image, const QRect& logical) {
  int count = 0;
  for (int y = logical.top() * RATIO; y <= logical.bottom() * RATIO; y += RATIO)
    for (int x = logical.left() * RATIO; x <= logical.right() * RATIO; x += RATIO) {
      const QRgb first = image.pixel(x, y);
      count += image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first ||
               image.pixel(x + 1, y + 1) != first;
    }
  return count;
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void pictureIsPaintedAtTwiceTheLogicalPlaces() {
    TestWindow t;
    QVERIFY(t.showActive());
    QCOMPARE(t.window->size(), QSize(800, 600));
    const QPixmap grab = t.window->grab();
    QCOMPARE(grab.size(), QSize(800, 600) * RATIO);

    const QImage image = t.picture();
    QCOMPARE(image.size(), t.window->canvas().size() * RATIO);
    const QRect label = labelBox(t.button(firstButtonInOctave(false)));
    QVERIFY(pixelsNear(image, onDevice(label), Qt::blue) > 20);
    QCOMPARE(pixelsNear(image, onDevice(label), Qt::red), 0);
    QVERIFY(unevenBlocks(image, label) > 10);  // glyph edges fall between logical pixels
    QCOMPARE(t.keyboardsFault(image, RATIO), QString());

    // A step's highlight, drawn between two paints, lands on the circle's device pixels.
    const int first = t.firstOfScale();
    QTest::keyClick(t.window.get(), Qt::Key_F5);
    t.window->desktop().killTimer(IDM_PLAY_TIMER);
    const QImage lit = t.picture();
    QCOMPARE(circleFault(lit, t.button(first), qRgb(255, 255, 0), RATIO), QString());
    QVERIFY(unevenBlocks(lit, labelBox(t.button(first))) > 10);
  }
};

// The scale factor must be in place before the application reads the screens.
int main(int argc, char* argv[]) {
  qputenv("QT_SCALE_FACTOR", QByteArray::number(RATIO));
  QApplication application(argc, argv);
  HiDpiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "hidpi_test.moc"
