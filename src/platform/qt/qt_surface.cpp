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
  // Measuring a face at several sizes is slow; the program uses very few fonts.
  static std::map<std::tuple<std::string, int, int>, ResolvedFont> resolved;
  const auto key = std::make_tuple(font.face, font.height, font.weight);
  auto found = resolved.find(key);
  if (found == resolved.end()) found = resolved.emplace(key, resolveFont(font)).first;
  QFont result = fontOf(found->second.family, font.weight);
  if (found->second.pixelSize > 0) result.setPixelSize(found->second.pixelSize);
  return result;
}

QtSurface::QtSurface(QPaintDevice& device, std::function<void()> released)
    : painter_(&device), released_(std::move(released)) {
  painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter_.setFont(toQFont(font_));
}

// Fonts on a page are sized in its units: the painter's scale makes them the right size on
// paper, as it does every other drawing.
QtSurface::QtSurface(QPaintDevice& device, int unitsPerInch, QPoint margin)
    : painter_(&device), unitsPerInch_(unitsPerInch) {
  const qreal scale = static_cast<qreal>(device.logicalDpiX()) / unitsPerInch;
  pageScale_ = QTransform::fromTranslate(margin.x(), margin.y()) * QTransform::fromScale(scale, scale);
  painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter_.setTransform(pageScale_);
  painter_.setFont(fontOnDevice(font_));
}

// The default font keeps its size in points: on a page that is a number of units.
QFont QtSurface::fontOnDevice(const platform::Font& font) const {
  QFont result = toQFont(font);
  if (unitsPerInch_ > 0 && result.pixelSize() <= 0)
    result.setPixelSize(qRound(result.pointSizeF() * unitsPerInch_ / 72.0));
  return result;
}

QtSurface::~QtSurface() {
  painter_.end();
  if (released_) released_();
}

platform::Pen QtSurface::selectPen(const platform::Pen& pen) { return std::exchange(pen_, pen); }

platform::Brush QtSurface::selectBrush(const platform::Brush& brush) {
  return std::exchange(brush_, brush);
}

platform::Font QtSurface::selectFont(const platform::Font& font) {
  painter_.setFont(fontOnDevice(font));
  return std::exchange(font_, font);
}

platform::Colour QtSurface::setTextColor(platform::Colour colour) {
  return std::exchange(textColour_, colour);
}

platform::Colour QtSurface::setBkColor(platform::Colour colour) {
  return std::exchange(bkColour_, colour);
}

int QtSurface::setBkMode(int mode) { return std::exchange(bkMode_, mode); }

// A line ends at its end point: no cap reaches past it.
void QtSurface::applyPenAndBrush() {
  painter_.setPen(QPen(toQColor(pen_.colour), pen_.width, Qt::SolidLine, Qt::FlatCap));
  painter_.setBrush(toQColor(brush_.colour));
}

void QtSurface::ellipse(int left, int top, int right, int bottom) {
  applyPenAndBrush();
  // The outline runs through the centres of the box's outermost pixels.
  painter_.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

platform::Size QtSurface::textExtent(std::string_view text) {
  const QFontMetrics metrics = painter_.fontMetrics();
  return {metrics.horizontalAdvance(fromProgramText(text)), metrics.ascent() + metrics.descent()};
}

void QtSurface::textOut(int left, int top, std::string_view text) {
  const QString qtext = fromProgramText(text);
  const QFontMetrics metrics = painter_.fontMetrics();
  if (bkMode_ == platform::OPAQUE) {
    painter_.fillRect(
        QRect(left, top, metrics.horizontalAdvance(qtext), metrics.ascent() + metrics.descent()),
        toQColor(bkColour_));
  }
  painter_.setPen(toQColor(textColour_));
  painter_.drawText(QPoint(left, top + metrics.ascent()), qtext);
}

void QtSurface::copyBlank(int left, int top, int right, int bottom) {
  painter_.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), Qt::white);
}

void QtSurface::line(int x1, int y1, int x2, int y2) {
  applyPenAndBrush();
  painter_.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void QtSurface::rectangle(int left, int top, int right, int bottom) {
  applyPenAndBrush();
  painter_.drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void QtSurface::setOrigin(int x, int y) {
  painter_.setTransform(QTransform::fromTranslate(x, y) * pageScale_);
}

void QtSurface::newPage() {
  if (auto* pages = dynamic_cast<QPagedPaintDevice*>(painter_.device())) pages->newPage();
  painter_.setTransform(pageScale_);
}

}  // namespace brenavo::qt
