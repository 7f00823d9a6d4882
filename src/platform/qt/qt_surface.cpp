#include "platform/qt/qt_surface.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPen>
#include <map>
#include <tuple>
#include <utility>

#include "platform/qt/program_text.h"

namespace brenavo::qt {

namespace {

// Faces the program asks for that the desktop may lack, and the free face drawn instead.
struct FaceStandIn {
  const char* wanted;
  const char* standIn;
};
constexpr FaceStandIn FACE_STAND_INS[] = {
    {"Bookman ITC Lt BT", "URW Bookman"},
    {"Bookman Old Style", "URW Bookman"},
    {"ITC Bookman", "URW Bookman"},
};

QColor toQColor(platform::Colour colour) {
  return QColor(platform::redOf(colour), platform::greenOf(colour), platform::blueOf(colour));
}

// The face the desktop really has for a requested one: the face itself when installed,
// else its chosen stand-in (URW Bookman for the Bookman faces), else the face unchanged.
QString availableFace(const QString& face) {
  if (QFontDatabase::hasFamily(face)) return face;
  for (const FaceStandIn& standIn : FACE_STAND_INS) {
    if (face.compare(QLatin1String(standIn.wanted), Qt::CaseInsensitive) == 0 &&
        QFontDatabase::hasFamily(QLatin1String(standIn.standIn)))
      return QLatin1String(standIn.standIn);
  }
  return face;
}

int cellHeight(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.ascent() + metrics.descent();
}

QFont fontOf(const QString& family, int weight) {
  QFont font(family);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// The largest pixel size whose character cell is no taller than the wanted height.
int fittingPixelSize(QFont font, int height) {
  int pixelSize = height;
  font.setPixelSize(pixelSize);
  while (pixelSize > 1 && cellHeight(font) > height) font.setPixelSize(--pixelSize);
  return pixelSize;
}

// Where a program font was found: the face drawn and its pixel size (0: the default size).
struct ResolvedFont {
  QString family;
  int pixelSize = 0;
};

ResolvedFont resolveFont(const platform::Font& font) {
  ResolvedFont result{availableFace(QString::fromStdString(font.face)), 0};
  if (font.height > 0)
    result.pixelSize = fittingPixelSize(fontOf(result.family, font.weight), font.height);
  return result;
}

}  // namespace

QFont toQFont(const platform::Font& font) {
  if (font.face.empty()) return QGuiApplication::font();
  // Measuring a face at several sizes is slow, and so is making a font of a face; the
  // program uses very few fonts, and keeps each.
  static std::map<std::tuple<std::string, int, int>, QFont> made;
  const auto key = std::make_tuple(font.face, font.height, font.weight);
  auto found = made.find(key);
  if (found == made.end()) {
    const ResolvedFont resolved = resolveFont(font);
    QFont result = fontOf(resolved.family, font.weight);
    if (resolved.pixelSize > 0) result.setPixelSize(resolved.pixelSize);
    found = made.emplace(key, result).first;
  }
  return found->second;
}

QtSurface::QtSurface(QPaintDevice& device) : device_(device) {
  deviceFont_ = fontOnDevice(font_);
  beginPainting();
}

QtSurface::QtSurface(QPaintDevice& device, std::function<void()> released)
    : device_(device), released_(std::move(released)), deferred_(true) {
  deviceFont_ = fontOnDevice(font_);
}

// Fonts on a page are sized in its units: the painter's scale makes them the right size on
// paper, as it does every other drawing.
QtSurface::QtSurface(QPaintDevice& device, int unitsPerInch, QPoint margin)
    : device_(device), unitsPerInch_(unitsPerInch) {
  const qreal scale = static_cast<qreal>(device.logicalDpiX()) / unitsPerInch;
  pageScale_ = QTransform::fromTranslate(margin.x(), margin.y()) * QTransform::fromScale(scale, scale);
  deviceFont_ = fontOnDevice(font_);
  beginPainting();
}

void QtSurface::beginPainting() {
  painter_.begin(&device_);
  painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter_.setTransform(pageScale_);
  painter_.setFont(fontOnDevice(platform::Font{}));
}

// The default font keeps its size in points: on a page that is a number of units.
QFont QtSurface::fontOnDevice(const platform::Font& font) const {
  QFont result = toQFont(font);
  if (unitsPerInch_ > 0 && result.pixelSize() <= 0)
    result.setPixelSize(qRound(result.pointSizeF() * unitsPerInch_ / 72.0));
  return result;
}

QtSurface::~QtSurface() {
  if (deferred_) {
    beginPainting();
    for (const std::function<void()>& drawing : held_) drawing();
  }
  painter_.end();
  if (released_) released_();
}

void QtSurface::paint(std::function<void()> drawing) {
  if (deferred_)
    held_.push_back(std::move(drawing));
  else
    drawing();
}

platform::Pen QtSurface::selectPen(const platform::Pen& pen) { return std::exchange(pen_, pen); }

platform::Brush QtSurface::selectBrush(const platform::Brush& brush) {
  return std::exchange(brush_, brush);
}

platform::Font QtSurface::selectFont(const platform::Font& font) {
  deviceFont_ = fontOnDevice(font);
  paint([this, chosen = deviceFont_] { painter_.setFont(chosen); });
  return std::exchange(font_, font);
}

platform::Colour QtSurface::setTextColor(platform::Colour colour) {
  return std::exchange(textColour_, colour);
}

platform::Colour QtSurface::setBkColor(platform::Colour colour) {
  return std::exchange(bkColour_, colour);
}

int QtSurface::setBkMode(int mode) { return std::exchange(bkMode_, mode); }

// A line ends at its end point: no cap reaches past it. The pen and brush are the ones
// selected when the drawing was asked for.
void QtSurface::paintWithPenAndBrush(std::function<void()> drawing) {
  paint([this, pen = pen_, brush = brush_, drawing = std::move(drawing)] {
    painter_.setPen(QPen(toQColor(pen.colour), pen.width, Qt::SolidLine, Qt::FlatCap));
    painter_.setBrush(toQColor(brush.colour));
    drawing();
  });
}

void QtSurface::ellipse(int left, int top, int right, int bottom) {
  // The outline runs through the centres of the box's outermost pixels.
  paintWithPenAndBrush([this, box = QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1)] {
    painter_.drawEllipse(box);
  });
}

// Shaping a text to measure it costs more than drawing a button, and a run's step measures
// the same few labels again and again, so measures are kept. A font of a given pixel height
// measures the same on every screen picture: its measures are kept for all of them. Page
// units and point sizes depend on the device: those are kept for this surface only.
QtSurface::Measures& QtSurface::measures() const {
  static std::map<FontKey, Measures> keptForScreens;
  std::map<FontKey, Measures>& kept = unitsPerInch_ > 0 || font_.height <= 0 ? keptHere_ : keptForScreens;
  const FontKey key = std::make_tuple(font_.face, font_.height, font_.weight);
  auto found = kept.find(key);
  if (found == kept.end()) {
    const QFontMetrics metrics(deviceFont_, &device_);
    found = kept.emplace(key, Measures{metrics.ascent(), metrics.descent(), {}}).first;
  }
  return found->second;
}

int QtSurface::advance(const QString& text) const {
  std::map<QString, int>& widths = measures().widths;
  auto found = widths.find(text);
  if (found == widths.end())
    found = widths.emplace(text, QFontMetrics(deviceFont_, &device_).horizontalAdvance(text)).first;
  return found->second;
}

int QtSurface::ascent() const { return measures().ascent; }

int QtSurface::cellHeight() const { return measures().ascent + measures().descent; }

platform::Size QtSurface::textExtent(std::string_view text) {
  return {advance(fromProgramText(text)), cellHeight()};
}

void QtSurface::textOut(int left, int top, std::string_view text) {
  const QString qtext = fromProgramText(text);
  const QRect cell(left, top, advance(qtext), cellHeight());
  const int baseline = top + ascent();
  const bool opaque = bkMode_ == platform::OPAQUE;
  paint([this, qtext, cell, baseline, opaque, ink = toQColor(textColour_), paper = toQColor(bkColour_)] {
    if (opaque) painter_.fillRect(cell, paper);
    painter_.setPen(ink);
    painter_.drawText(QPoint(cell.left(), baseline), qtext);
  });
}

void QtSurface::copyBlank(int left, int top, int right, int bottom) {
  paint([this, cell = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))] {
    painter_.fillRect(cell, Qt::white);
  });
}

void QtSurface::line(int x1, int y1, int x2, int y2) {
  paintWithPenAndBrush([this, from = QPointF(x1 + 0.5, y1 + 0.5), to = QPointF(x2 + 0.5, y2 + 0.5)] {
    painter_.drawLine(from, to);
  });
}

void QtSurface::rectangle(int left, int top, int right, int bottom) {
  paintWithPenAndBrush([this, box = QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1)] {
    painter_.drawRect(box);
  });
}

void QtSurface::setOrigin(int x, int y) {
  paint([this, moved = QTransform::fromTranslate(x, y) * pageScale_] { painter_.setTransform(moved); });
}

void QtSurface::newPage() {
  paint([this] {
    if (auto* pages = dynamic_cast<QPagedPaintDevice*>(painter_.device())) pages->newPage();
    painter_.setTransform(pageScale_);
  });
}

}  // namespace brenavo::qt
