// The main window on a screen with two device pixels to the logical pixel: the frame keeps
// its logical size, the picture is painted at the device resolution (sharp labels, not an
// enlarged low-resolution image), and everything sits at twice its logical coordinates.
#include <QApplication>
#include <QPixmap>
#include <QtTest>
#include <memory>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "platform/qt/canvas.h"
#include "platform/qt/main_window.h"

using namespace brenavo;

namespace {

constexpr int RATIO = 2;

bool isWhite(QRgb pixel) { return pixel == qRgb(255, 255, 255); }
bool isYellow(QRgb pixel) { return pixel == qRgb(255, 255, 0); }
bool isDark(QRgb pixel) { return qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

// A logical rectangle in device pixels.
QRect onDevice(const QRect& logical) {
  return {logical.topLeft() * RATIO, logical.size() * RATIO};
}

int pixelsNear(const QImage& image, const QRect& area, QColor colour, int tolerance) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      count += std::abs(pixel.red() - colour.red()) <= tolerance &&
               std::abs(pixel.green() - colour.green()) <= tolerance &&
               std::abs(pixel.blue() - colour.blue()) <= tolerance;
    }
  return count;
}

// Blocks of 2 x 2 device pixels, one per logical pixel, whose four pixels differ. A picture
// painted at the logical resolution and enlarged has none.
int unevenBlocks(const QImage& image, const QRect& logical) {
  int count = 0;
  for (int y = logical.top(); y <= logical.bottom(); ++y)
    for (int x = logical.left(); x <= logical.right(); ++x) {
      const QRgb first = image.pixel(x * RATIO, y * RATIO);
      count += image.pixel(x * RATIO + 1, y * RATIO) != first ||
               image.pixel(x * RATIO, y * RATIO + 1) != first ||
               image.pixel(x * RATIO + 1, y * RATIO + 1) != first;
    }
  return count;
}

// The first button of the G-C-F pull and push sides labelled in the middle octave (blue):
// a capital letter without the "-" of the octave below.
int firstMiddleOctaveButton() {
  for (int p = 0; p < KB_POSITIONS; ++p) {
    const char* name = keyConfig[0].szNoteName[p];
    if (!isLabelSlot(p) && QChar(name[0]).isUpper() && !QByteArray(name).contains('-')) return p;
  }
  return -1;
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<fakes::RecordingPlatform> fake_;
  std::unique_ptr<qt::MainWindow> window_;

  Program& program() { return window_->program(); }
  QImage picture() { return window_->canvas().grab().toImage(); }
  QRect labelBox(int p) {
    return {buttonX(program(), p) - 15, buttonY(program(), p) - 11, 30, 22};
  }

 private slots:
  void init() {
    fake_ = std::make_unique<fakes::RecordingPlatform>();
    window_ = std::make_unique<qt::MainWindow>(*fake_, *fake_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void cleanup() {
    window_.reset();
    fake_.reset();
  }

  void frameKeepsItsLogicalSizeWithTwiceThePixels() {
    QCOMPARE(window_->devicePixelRatio(), qreal(RATIO));
    QCOMPARE(window_->size(), QSize(800, 600));
    const QPixmap grab = window_->grab();
    QCOMPARE(grab.devicePixelRatio(), qreal(RATIO));
    QCOMPARE(grab.size(), QSize(800, 600) * RATIO);
    QVERIFY(grab.save("/tmp/brenavo-hidpi.png"));

    // The picture behind the client area has one pixel per device pixel, and the client
    // area still reaches past everything the program draws (x 745, y 525).
    const qt::Canvas& canvas = window_->canvas();
    QVERIFY(canvas.width() > 745 && canvas.height() > 525);
    QCOMPARE(canvas.picture().size(), canvas.size() * RATIO);
    QCOMPARE(canvas.picture().devicePixelRatio(), qreal(RATIO));
    QCOMPARE(picture().size(), canvas.size() * RATIO);
  }

  void labelsSitAtTwiceTheirLogicalPlaceAndAreSharp() {
    const QImage image = picture();
    const int p = firstMiddleOctaveButton();
    QVERIFY(p >= 0);
    const QRect label = labelBox(p);
    QVERIFY2(pixelsNear(image, onDevice(label), QColor(0, 0, 255), 40) > 20,
             qPrintable(QString("no blue label at %1").arg(p)));
    QCOMPARE(pixelsNear(image, onDevice(label), QColor(255, 0, 0), 40), 0);
    // Painted at the device resolution, a glyph's edges fall between logical pixels.
    QVERIFY(unevenBlocks(image, label) > 10);

    // Every circle: white inside above its label, a dark outline on its right edge, white
    // beyond it, all at twice the logical coordinates.
    for (int q = 0; q < KB_POSITIONS; ++q) {
      if (isLabelSlot(q)) continue;
      const int x = buttonX(program(), q), y = buttonY(program(), q);
      QVERIFY2(isWhite(image.pixel(x * RATIO, (y - 16) * RATIO)), qPrintable(QString::number(q)));
      int darkest = 255;
      for (int dx = 16 * RATIO; dx <= 22 * RATIO; ++dx)
        darkest = std::min(darkest, qGray(image.pixel(x * RATIO + dx, y * RATIO)));
      QVERIFY2(darkest < 90, qPrintable(QString("outline %1").arg(q)));
      QVERIFY(isWhite(image.pixel((x + 26) * RATIO, y * RATIO)));
    }
    // The captions' black bands end at y = 525 under each diagram.
    for (int centre : {475, 675}) {
      QVERIFY(isDark(image.pixel(centre * RATIO - 40, 524 * RATIO + 1)));
      QVERIFY(isWhite(image.pixel(centre * RATIO, 526 * RATIO)));
    }
  }

  // A step's highlight, drawn between two paints, lands on the same device pixels as the
  // circle it fills.
  void highlightFillsTheCircleOnTheDevice() {
    const SelectionState& sel = program().sel;
    const int first =
        notePats[sel.direcSel2].iFormat[sel.formatSel2].iScale[sel.scpIndex].note1[0];
    const int x = buttonX(program(), first), y = buttonY(program(), first);
    QTest::keyClick(window_.get(), Qt::Key_F5);
    window_->desktop().killTimer(IDM_PLAY_TIMER);
    QCOMPARE(sel.ctrlPlay, 1);
    const QImage image = picture();
    QVERIFY(isYellow(image.pixel(x * RATIO, (y - 16) * RATIO)));
    QVERIFY(isYellow(image.pixel((x - 16) * RATIO, y * RATIO)));
    QVERIFY(isWhite(image.pixel((x + 26) * RATIO, y * RATIO)));
    QVERIFY(unevenBlocks(image, labelBox(first)) > 10);
    QTest::keyClick(window_.get(), Qt::Key_F8);
    QVERIFY(isWhite(picture().pixel(x * RATIO, (y - 16) * RATIO)));
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
