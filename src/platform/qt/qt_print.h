// The sheets on paper and in files, through Qt's print support: a print preview that goes
// to any printer or to PDF, a file dialog for PDF, PNG and SVG, and the booklet written
// with its progress shown.
#pragma once

#include "platform/platform.h"

class QString;
class QWidget;

namespace brenavo::qt {

class QtPrinter : public platform::Printer {
 public:
  explicit QtPrinter(QWidget* owner) : owner_(owner) {}

  void preview(const platform::Document& document) override;
  void exportToFile(const std::vector<platform::Document>& choices) override;
  void writeBook(const platform::Document& book) override;

 private:
  void tellFailure(const QString& path, bool unknownKind);

  QWidget* owner_;
};

}  // namespace brenavo::qt
