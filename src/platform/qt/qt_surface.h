// A drawing surface over a QPainter: the program's pens, brushes, fonts and colours
// turned into Qt's, with circles and text antialiased.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QTransform>
#include <functional>

#include "platform/surface.h"

class QPaintDevice;

namespace brenavo::qt {

// The Qt font for a program font: the pixel size is chosen so that ascent + descent
// fills the requested character cell height. An empty face is the application's font.
QFont toQFont(const platform::Font& font);

class QtSurface : public platform::Surface {
 public:
  // Paints on the device until the surface is destroyed; then calls released, if set.
  explicit QtSurface(QPaintDevice& device, std::function<void()> released = {});
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
  QFont fontOnDevice(const platform::Font& font) const;
  void applyPenAndBrush();

  QPainter painter_;
  platform::Pen pen_;
  platform::Brush brush_;
  platform::Font font_;
  platform::Colour textColour_ = platform::BLACK;
  platform::Colour bkColour_ = platform::WHITE;
  int bkMode_ = platform::OPAQUE;
  std::function<void()> released_;
  QTransform pageScale_;      // device pixels a unit
  int unitsPerInch_ = 0;      // 0: the device's own pixels
};

}  // namespace brenavo::qt
