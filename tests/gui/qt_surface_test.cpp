// Drawing through the Qt surface: fonts sized by their character cell, the Bookman
// stand-in, opaque and transparent text, circles with the selected pen and brush.
#include "platform/qt/qt_surface.h"

#include <QFontInfo>
#include <QImage>
#include <QtTest>

using namespace brenavo;
using brenavo::qt::QtSurface;

namespace {

const platform::Font NOTES_FONT{"Bookman ITC Lt BT", 23, 700};

QImage whitePicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

bool isWhite(QRgb pixel) { return pixel == qRgb(255, 255, 255); }

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
  void missingBookmanIsDrawnInUrwBookman() {
    QCOMPARE(qt::availableFace("Bookman ITC Lt BT"), QString("URW Bookman"));
    QCOMPARE(qt::availableFace("URW Bookman"), QString("URW Bookman"));
    const QFont font = qt::toQFont(NOTES_FONT);
    QVERIFY2(QFontInfo(font).family().startsWith("URW Bookman"),
             qPrintable(QFontInfo(font).family()));
    QVERIFY(QFontInfo(font).weight() >= QFont::DemiBold);
  }

  void textIsMeasuredByItsCharacterCell() {
    QImage image = whitePicture(200, 60);
    QtSurface surface(image);
    surface.selectFont(NOTES_FONT);
    const platform::Size cell = surface.textExtent("C#");
    QVERIFY2(cell.cy >= 21 && cell.cy <= 23, qPrintable(QString::number(cell.cy)));
    QVERIFY(cell.cx > 0);
    QVERIFY(surface.textExtent("C#C#").cx > cell.cx);
    QCOMPARE(surface.textExtent("").cx, 0);
    // A larger cell gives a larger font.
    surface.selectFont({"Bookman ITC Lt BT", 40, 700});
    QVERIFY(surface.textExtent("C#").cy > 35);
  }

  void selectingReturnsWhatWasSelectedBefore() {
    QImage image = whitePicture(10, 10);
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

  // Opaque text lays its background box down first; transparent text does not.
  void opaqueTextFillsItsBox() {
    QImage image = whitePicture(200, 60);
    platform::Size box;
    {
      QtSurface surface(image);
      surface.setBkColor(platform::BLACK);
      surface.setTextColor(platform::WHITE);
      box = surface.textExtent("Notas");
      surface.textOut(10, 5, "Notas");
    }
    QCOMPARE(image.pixel(10, 5), qRgb(0, 0, 0));
    QVERIFY(countPixels(image.copy(10, 5, box.cx, box.cy), qRgb(0, 0, 0)) > box.cx * box.cy / 2);
    QVERIFY(countPixels(image.copy(10, 5, box.cx, box.cy), qRgb(255, 255, 255)) > 0);
    QVERIFY(isWhite(image.pixel(10 + box.cx + 1, 5)));
    QVERIFY(isWhite(image.pixel(10, 5 + box.cy)));
    QImage clear = whitePicture(200, 60);
    {
      QtSurface surface(clear);
      surface.setBkColor(platform::BLACK);
      surface.setBkMode(platform::TRANSPARENT);
      surface.setTextColor(platform::rgb(0, 0, 255));
      surface.selectFont(NOTES_FONT);
      surface.textOut(10, 5, "C#");
    }
    QCOMPARE(countPixels(clear, qRgb(0, 0, 0)), 0);
    QVERIFY(countPixels(clear, qRgb(0, 0, 255)) > 10);
  }

  void circleHasPenOutlineAndBrushInside() {
    QImage image = whitePicture(100, 100);
    {
      QtSurface surface(image);
      surface.selectPen({2, platform::BLACK});
      surface.selectBrush({platform::rgb(255, 255, 0)});
      surface.ellipse(30, 30, 70, 70);  // centre (50, 50), radius 20
    }
    QCOMPARE(image.pixel(50, 50), qRgb(255, 255, 0));
    QCOMPARE(image.pixel(50, 36), qRgb(255, 255, 0));
    for (const QPoint edge : {QPoint(30, 50), QPoint(69, 50), QPoint(50, 30), QPoint(50, 69)})
      QVERIFY2(qGray(image.pixel(edge)) < 60,
               qPrintable(QString("%1,%2").arg(edge.x()).arg(edge.y())));
    QVERIFY(isWhite(image.pixel(27, 50)));
    QVERIFY(isWhite(image.pixel(72, 50)));
    QVERIFY(isWhite(image.pixel(32, 32)));  // the corner of the box lies outside the circle
  }

  void blankCopyWhitesOutWhateverTheBrush() {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    bool released = false;
    {
      QtSurface surface(image, [&released] { released = true; });
      surface.selectBrush({platform::BLACK});
      surface.copyBlank(30, 20);
      QVERIFY(!released);
    }
    QVERIFY(released);
    QVERIFY(isWhite(image.pixel(0, 0)));
    QVERIFY(isWhite(image.pixel(29, 19)));
    QCOMPARE(image.pixel(30, 19), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(29, 20), qRgb(255, 0, 0));
  }
};

QTEST_MAIN(QtSurfaceTest)
#include "qt_surface_test.moc"
