// A drawing surface over a QPainter: the program's pens, brushes, fonts and colours
// turned into Qt's, with circles and text antialiased.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QTransform>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/surface.h"

class QPaintDevice;

namespace brenavo::qt {

// The Qt font for a program font: the pixel size is chosen so that ascent + descent
// fills the requested character cell height. An empty face is the application's font.
QFont toQFont(const platform::Font& font);

class QtSurface : public platform::Surface {
 public:
  // Paints on the device at once, until the surface is destroyed.
  explicit QtSurface(QPaintDevice& device);
  // Holds what is drawn back and paints it all on the device when the surface is destroyed,
  // then calls released. The screen shows a window's picture only once the message that
  // drew on it has been handled: a step of a run sounds its notes without first waiting
  // for its buttons to be painted, and looks the same.
  QtSurface(QPaintDevice& device, std::function<void()> released);
  // Paints on a page (paper, a PDF, an image or a drawing file) measured in units of which
  // unitsPerInch make an inch, whatever the device's own resolution; the page's (0, 0) lies
  // `margin` units in from the device's corner.
  QtSurface(QPaintDevice& device, int unitsPerInch, QPoint margin = {});
  ~QtSurface() override;
  QtSurface(const QtSurface&) = delete;
  QtSurface& operator=(const QtSurface&) = delete;

  platform::Pen selectPen(const platform::Pen& pen) override;
  platform::Brush selectBrush(const platform::Brush& brush) override;
  platform::Font selectFont(const platform::Font& font) override;
  platform::Colour setTextColor(platform::Colour colour) override;
  platform::Colour setBkColor(platform::Colour colour) override;
  int setBkMode(int mode) override;
  void ellipse(int left, int top, int right, int bottom) override;
  platform::Size textExtent(std::string_view text) override;
  void textOut(int left, int top, std::string_view text) override;
  void copyBlank(int left, int top, int right, int bottom) override;
  void line(int x1, int y1, int x2, int y2) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void setOrigin(int x, int y) override;
  void newPage() override;

 private:
  void beginPainting();
  QFont fontOnDevice(const platform::Font& font) const;
  // Runs a drawing on the painter now, or keeps it for later on a holding surface.
  void paint(std::function<void()> drawing);
  void paintWithPenAndBrush(std::function<void()> drawing);
  using FontKey = std::tuple<std::string, int, int>;  // face, height, weight
  struct Measures {
    int ascent = 0;
    int descent = 0;
    std::map<QString, int> widths;
  };
  Measures& measures() const;  // of the selected font
  int advance(const QString& text) const;
  int ascent() const;
  int cellHeight() const;

  QPaintDevice& device_;
  QPainter painter_;
  platform::Pen pen_;
  platform::Brush brush_;
  platform::Font font_;
  QFont deviceFont_;  // font_ as the device draws it
  platform::Colour textColour_ = platform::BLACK;
  platform::Colour bkColour_ = platform::WHITE;
  int bkMode_ = platform::OPAQUE;
  std::function<void()> released_;
  bool deferred_ = false;
  std::vector<std::function<void()>> held_;
  mutable std::map<FontKey, Measures> keptHere_;
  QTransform pageScale_;      // device pixels a unit
  int unitsPerInch_ = 0;      // 0: the device's own pixels
};

}  // namespace brenavo::qt
