#include "platform/qt/canvas.h"

#include <QPainter>
#include <QPointer>

#include "platform/qt/qt_surface.h"

namespace brenavo::qt {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void Canvas::invalidate() {
  outOfDate_ = true;
  update();
}

// The picture always has the size of the client area, white where nothing was drawn.
void Canvas::fitPicture() {
  const qreal ratio = devicePixelRatioF();
  if (picture_.size() == size() * ratio && picture_.devicePixelRatio() == ratio) return;
  picture_ = QImage(size() * ratio, QImage::Format_RGB32);
  picture_.setDevicePixelRatio(ratio);
  picture_.fill(Qt::white);
  outOfDate_ = true;
}

void Canvas::renderIfOutOfDate() {
  fitPicture();
  if (!outOfDate_) return;
  outOfDate_ = false;
  // The program blanks only as much as the screen holds, which on a small screen is
  // less than the window: the rest would keep the last picture, drawn over again.
  picture_.fill(Qt::white);
  QtSurface surface(picture_);
  if (paintHandler_) paintHandler_(surface);
}

// A picture that is out of date is brought up to date first, so what is drawn now is
// not wiped out by a full repaint that was still waiting. Every paint and resize fits the
// picture to the client area; a drawing between them (a step of a run) finds it fitted,
// and does not pay for asking the screen its pixel ratio.
std::unique_ptr<platform::Surface> Canvas::drawingSurface() {
  if (picture_.isNull() || outOfDate_) renderIfOutOfDate();
  QPointer<Canvas> self(this);
  return std::make_unique<QtSurface>(picture_, [self] {
    if (self) self->update();
  });
}

void Canvas::paintEvent(QPaintEvent*) {
  renderIfOutOfDate();
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), picture_);
}

void Canvas::resizeEvent(QResizeEvent*) {
  fitPicture();
  update();
}

}  // namespace brenavo::qt
