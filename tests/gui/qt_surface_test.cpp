// Drawing through the Qt surface: fonts, what selecting gives back, the text's background.
#include "platform/qt/qt_surface.h"

#include <QFontInfo>
#include <QtTest>
#include <tuple>

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
      QCOMPARE((std::tuple{surface.selectPen({2, platform::BLACK}), surface.selectBrush({platform::rgb(255, 255, 0)}),
                           surface.selectFont(notes), surface.setBkColor(platform::BLACK), surface.setBkMode(mode),
                           surface.setTextColor(platform::rgb(0, 0, 255))}),
               (std::tuple{platform::Pen{}, platform::Brush{}, platform::Font{}, platform::WHITE,
                           platform::OPAQUE, platform::BLACK}));
      const platform::Size box = surface.textExtent("C#");
      QVERIFY(box.cy >= 21 && box.cy <= 23 && surface.textExtent("C#C#").cx > box.cx);
      surface.textOut(10, 5, "C#");
      QVERIFY(surface.selectFont({"Bookman ITC Lt BT", 40, 700}) == notes && surface.textExtent("C#").cy > 35);
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

  // A holding surface paints nothing until it is destroyed, then exactly what a surface
  // painting at once would have, each drawing with the pen, brush, font and colours selected
  // when it was asked for; then it says it is done, once.
  void aHoldingSurfacePaintsLaterWhatWasAskedThen() {
    const auto draw = [](platform::Surface& surface) {
      surface.selectBrush({platform::rgb(255, 0, 0)}), surface.rectangle(5, 5, 60, 40);
      surface.selectBrush({platform::rgb(0, 0, 255)}), surface.selectPen({3, platform::rgb(0, 128, 0)});
      surface.ellipse(50, 10, 110, 55), surface.selectFont({"Bookman ITC Lt BT", 23, 700});
      surface.setTextColor(platform::rgb(255, 255, 0)), surface.textOut(70, 30, "Fa#");
      surface.setOrigin(100, 0), surface.selectFont({"Arial", 16, 400}), surface.line(0, 0, 50, 50);
      surface.textOut(10, 40, "Sol"), surface.copyBlank(40, 0, 60, 20);
    };
    QImage atOnce(200, 80, QImage::Format_RGB32), held(200, 80, QImage::Format_RGB32);
    atOnce.fill(Qt::white), held.fill(Qt::white);
    { qt::QtSurface surface(atOnce); draw(surface); }
    int released = 0;
    {
      qt::QtSurface surface(held, [&] {
        ++released;
        QCOMPARE(held, atOnce);
      });
      draw(surface);
      QCOMPARE(held.pixel(30, 20), qRgb(255, 255, 255));
    }
    QCOMPARE(released, 1);
    QCOMPARE(held, atOnce);
  }
};

QTEST_MAIN(QtSurfaceTest)
#include "qt_surface_test.moc"
