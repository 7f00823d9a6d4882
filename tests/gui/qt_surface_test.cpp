// Drawing through the Qt surface: fonts sized by their character cell, the Bookman
// stand-in, what selecting gives back, and opaque and transparent text.
#include "platform/qt/qt_surface.h"

#include <QFontInfo>
#include <QImage>
#include <QtTest>

using namespace brenavo;
using brenavo::qt::QtSurface;

namespace {

const platform::Font NOTES_FONT{"Bookman ITC Lt BT", 23, 700};

QImage whitePicture() {
  QImage image(200, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}
int countPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

}  // namespace

class QtSurfaceTest : public QObject {
  Q_OBJECT

 private slots:
  // Without the Bookman of the notes, URW Bookman takes its place, bold, and the height
  // asked for is the height of the character cell.
  void notesFontIsUrwBookmanSizedByItsCell() {
    const QFontInfo shown(qt::toQFont(NOTES_FONT));
    QVERIFY2(shown.family().startsWith("URW Bookman"), qPrintable(shown.family()));
    QVERIFY(shown.weight() >= QFont::DemiBold);
    QImage image = whitePicture();
    QtSurface surface(image);
    surface.selectFont(NOTES_FONT);
    const platform::Size cell = surface.textExtent("C#");
    QVERIFY2(cell.cy >= 21 && cell.cy <= 23, qPrintable(QString::number(cell.cy)));
    QVERIFY(surface.textExtent("C#C#").cx > cell.cx && cell.cx > 0);
    surface.selectFont({"Bookman ITC Lt BT", 40, 700});
    QVERIFY(surface.textExtent("C#").cy > 35);
  }

  void selectingReturnsWhatWasSelectedBefore() {
    QImage image = whitePicture();
    QtSurface surface(image);
    QCOMPARE(surface.selectPen({2, platform::BLACK}), platform::Pen{});
    QCOMPARE(surface.selectPen({}), (platform::Pen{2, platform::BLACK}));
    QCOMPARE(surface.selectBrush({platform::rgb(255, 255, 0)}), platform::Brush{});
    QCOMPARE(surface.selectFont(NOTES_FONT), platform::Font{});
    QCOMPARE(surface.selectFont({}), NOTES_FONT);
    QCOMPARE(surface.setTextColor(platform::WHITE), platform::BLACK);
    QCOMPARE(surface.setBkColor(platform::BLACK), platform::WHITE);
    QCOMPARE(surface.setBkMode(platform::TRANSPARENT), platform::OPAQUE);
  }

  // Opaque text lays its background box down first, and nothing beyond it; transparent
  // text leaves the background as it was.
  void opaqueTextFillsItsBoxTransparentTextDoesNot() {
    for (const int mode : {platform::OPAQUE, platform::TRANSPARENT}) {
      QImage image = whitePicture();
      platform::Size box;
      {
        QtSurface surface(image);
        surface.setBkColor(platform::BLACK);
        surface.setBkMode(mode);
        surface.setTextColor(platform::rgb(0, 0, 255));
        surface.selectFont(NOTES_FONT);
        box = surface.textExtent("C#");
        surface.textOut(10, 5, "C#");
      }
      const QImage inBox = image.copy(10, 5, box.cx, box.cy);
      const int black = countPixels(image, qRgb(0, 0, 0));
      QVERIFY(countPixels(inBox, qRgb(0, 0, 255)) > 10);  // blue stays blue
      QCOMPARE(black, mode == platform::OPAQUE ? countPixels(inBox, qRgb(0, 0, 0)) : 0);
      QVERIFY(mode == platform::TRANSPARENT || black > box.cx * box.cy / 2);
    }
  }
};

QTEST_MAIN(QtSurfaceTest)
#include "qt_surface_test.moc"
