// Drawing through the Qt surface: fonts, what selecting gives back, the text's background.
#include "platform/qt/qt_surface.h"

#include <QFontInfo>
#include <QtTest>

using namespace brenavo;

class QtSurfaceTest : public QObject {
  Q_OBJECT

 private slots:
  // URW Bookman bold stands in for the notes' Bookman, sized by its character cell. Opaque
  // text lays its background box down first, nothing beyond; transparent text none at all.
  void notesTextIsDrawnInItsFontColourAndBackground() {
    const platform::Font notes{"Bookman ITC Lt BT", 23, 700};
    const QFontInfo shown(qt::toQFont(notes));
    QVERIFY(shown.family().startsWith("URW Bookman") && shown.weight() >= QFont::DemiBold);
    for (const int mode : {platform::OPAQUE, platform::TRANSPARENT}) {
      QImage image(200, 60, QImage::Format_RGB32);
      image.fill(Qt::white);
      qt::QtSurface surface(image);
      QCOMPARE(surface.selectPen({2, platform::BLACK}), platform::Pen{});
      QCOMPARE(surface.selectBrush({platform::rgb(255, 255, 0)}), platform::Brush{});
      QCOMPARE(surface.selectFont(notes), platform::Font{});
      QCOMPARE(surface.setBkColor(platform::BLACK), platform::WHITE);
      QCOMPARE(surface.setBkMode(mode), platform::OPAQUE);
      QCOMPARE(surface.setTextColor(platform::rgb(0, 0, 255)), platform::BLACK);
      const platform::Size box = surface.textExtent("C#");
      QVERIFY(box.cy >= 21 && box.cy <= 23 && surface.textExtent("C#C#").cx > box.cx);
      surface.textOut(10, 5, "C#");
      QCOMPARE(surface.selectFont({"Bookman ITC Lt BT", 40, 700}), notes);
      QVERIFY(surface.textExtent("C#").cy > 35);
      const auto count = [&image](QRect area, QRgb colour) {
        const QImage part = image.copy(area);
        const auto* first = reinterpret_cast<const QRgb*>(part.constBits());
        return static_cast<int>(std::count(first, first + part.width() * part.height(), colour));
      };
      const QRect inBox(10, 5, box.cx, box.cy);
      const int black = count(image.rect(), qRgb(0, 0, 0));
      QVERIFY(count(inBox, qRgb(0, 0, 255)) > 10);  // blue stays blue
      QCOMPARE(black, mode == platform::OPAQUE ? count(inBox, qRgb(0, 0, 0)) : 0);
      QVERIFY(mode == platform::TRANSPARENT || black > box.cx * box.cy / 2);
    }
  }
};

QTEST_MAIN(QtSurfaceTest)
#include "qt_surface_test.moc"
