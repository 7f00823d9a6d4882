#include "platform/qt/qt_export.h"

#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "platform/qt/program_text.h"
#include "platform/qt/qt_surface.h"

namespace brenavo::qt {

namespace {

using platform::PAGE_UNITS_PER_INCH;

constexpr qreal MARGIN_MM = 10;
constexpr qreal MM_PER_INCH = 25.4;

int toUnits(qreal inches) { return static_cast<int>(std::lround(inches * PAGE_UNITS_PER_INCH)); }

QPoint marginUnits(const QPageLayout& layout) {
  const QMarginsF margins = layout.margins(QPageLayout::Inch);
  return {toUnits(margins.left()), toUnits(margins.top())};
}

QSize wholePageUnits(const QPageLayout& layout) {
  const QRectF page = layout.fullRect(QPageLayout::Inch);
  return {toUnits(page.width()), toUnits(page.height())};
}

// Page units an inch: the usual ones, or more where the paper is too narrow for the document.
int unitsPerInchFor(const platform::Document& document, const QPageLayout& layout) {
  const qreal width = layout.paintRect(QPageLayout::Inch).width();
  if (width <= 0) return PAGE_UNITS_PER_INCH;
  return std::max(PAGE_UNITS_PER_INCH, static_cast<int>(std::ceil(document.minPageWidth / width)));
}

bool drawOn(const platform::Document& document, QPaintDevice& device, const QPageLayout& layout,
            const platform::PageDone& pageDone, QPoint margin = {}) {
  const int unitsPerInch = unitsPerInchFor(document, layout);
  const qreal unitsToPage = static_cast<qreal>(unitsPerInch) / PAGE_UNITS_PER_INCH;
  QtSurface surface(device, unitsPerInch, margin * unitsToPage);
  const platform::Size page = pageUnits(layout);
  return document.draw(surface,
                       {static_cast<int>(page.cx * unitsToPage), static_cast<int>(page.cy * unitsToPage)},
                       pageDone);
}

WriteResult drawnOrStopped(bool drawn) { return drawn ? WriteResult::Written : WriteResult::Stopped; }

WriteResult writePdf(const platform::Document& document, QIODevice& file,
                     const QPageLayout& layout, const platform::PageDone& pageDone) {
  QPdfWriter writer(&file);
  writer.setPageLayout(layout);
  writer.setTitle(fromProgramText(document.title));
  writer.setCreator(QStringLiteral("Brenavo"));
  return drawnOrStopped(drawOn(document, writer, layout, pageDone));
}

// The whole page, white, with the drawing inside its margins.
WriteResult writePng(const platform::Document& document, QIODevice& file,
                     const QPageLayout& layout, const platform::PageDone& pageDone) {
  const qreal dots = static_cast<qreal>(PNG_DOTS_PER_INCH) / PAGE_UNITS_PER_INCH;
  QImage image(wholePageUnits(layout) * dots, QImage::Format_RGB32);
  image.setDotsPerMeterX(std::lround(PNG_DOTS_PER_INCH / MM_PER_INCH * 1000));
  image.setDotsPerMeterY(image.dotsPerMeterX());
  image.fill(Qt::white);
  if (!drawOn(document, image, layout, pageDone, marginUnits(layout))) return WriteResult::Stopped;
  return image.save(&file, "PNG") ? WriteResult::Written : WriteResult::Failed;
}

WriteResult writeSvg(const platform::Document& document, QIODevice& file,
                     const QPageLayout& layout, const platform::PageDone& pageDone) {
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setResolution(PAGE_UNITS_PER_INCH);
  generator.setSize(wholePageUnits(layout));
  generator.setViewBox(QRect(QPoint(0, 0), wholePageUnits(layout)));
  generator.setTitle(fromProgramText(document.title));
  return drawnOrStopped(drawOn(document, generator, layout, pageDone, marginUnits(layout)));
}

using Writer = WriteResult (*)(const platform::Document&, QIODevice&, const QPageLayout&,
                               const platform::PageDone&);

Writer writerFor(const QString& path) {
  const QString kind = QFileInfo(path).suffix().toLower();
  if (kind == QLatin1String("pdf")) return writePdf;
  if (kind == QLatin1String("png")) return writePng;
  if (kind == QLatin1String("svg")) return writeSvg;
  return nullptr;
}

}  // namespace

QPageLayout defaultPageLayout() {
  const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
  return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                     QMarginsF(MARGIN_MM, MARGIN_MM, MARGIN_MM, MARGIN_MM),
                     QPageLayout::Millimeter);
}

platform::Size pageUnits(const QPageLayout& layout) {
  const QRectF area = layout.paintRect(QPageLayout::Inch);
  return {toUnits(area.width()), toUnits(area.height())};
}

bool printDocument(const platform::Document& document, QPrinter& printer) {
  return drawOn(document, printer, printer.pageLayout(), [](int, int) { return true; });
}

WriteResult writeDocumentFile(const platform::Document& document, const QString& path,
                              const QPageLayout& layout, const platform::PageDone& pageDone) {
  const Writer write = writerFor(path);
  if (write == nullptr) return WriteResult::UnknownKind;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return WriteResult::Failed;
  const WriteResult result = write(document, file, layout, pageDone);
  if (result != WriteResult::Written) {
    file.cancelWriting();
    return result;
  }
  return file.commit() ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace brenavo::qt
