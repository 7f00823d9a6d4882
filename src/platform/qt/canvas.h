// The main window's client area. It keeps the picture in a backing image: a full
// invalidation has the program paint it anew, drawing between paints (the highlighted
// buttons of a run) goes into the image too, and any other repaint just shows the image.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/surface.h"

namespace brenavo::qt {

class Canvas : public QWidget {
 public:
  // Paints the whole client area on the surface it is given (the program's WM_PAINT).
  using PaintHandler = std::function<void(platform::Surface&)>;

  explicit Canvas(QWidget* parent = nullptr);

  void setPaintHandler(PaintHandler handler) { paintHandler_ = std::move(handler); }
  // Marks the picture out of date and asks for a repaint.
  void invalidate();
  // A surface on the picture; the canvas shows what was drawn once it is released.
  std::unique_ptr<platform::Surface> drawingSurface();
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fitPicture();
  void renderIfOutOfDate();

  PaintHandler paintHandler_;
  QImage picture_;
  bool outOfDate_ = true;
};

}  // namespace brenavo::qt
