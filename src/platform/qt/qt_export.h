// Documents written to paper and files: PDF pages, a PNG image at 300 dpi, an SVG drawing.
// Every file is written beside its target under a temporary name and takes the target's
// name only when it is complete, so a failed or cancelled one leaves nothing behind.
#pragma once

#include <QPageLayout>
#include <QString>

#include "platform/platform.h"

class QPrinter;

namespace brenavo::qt {

inline constexpr int PNG_DOTS_PER_INCH = 300;

// A4, or Letter where the user's locale measures in inches, upright, with 10 mm margins.
QPageLayout defaultPageLayout();

// The printable area of a layout in page units.
platform::Size pageUnits(const QPageLayout& layout);

// Draws the document on the printer, page after page.
bool printDocument(const platform::Document& document, QPrinter& printer);

enum class WriteResult { Written, Stopped, UnknownKind, Failed };

// Writes the document to the file as PDF, PNG or SVG, as the name's extension says (case
// aside); an image or a drawing holds the first page.
WriteResult writeDocumentFile(const platform::Document& document, const QString& path,
                              const QPageLayout& layout, const platform::PageDone& pageDone);

}  // namespace brenavo::qt
