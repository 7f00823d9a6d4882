#include "platform/qt/qt_print.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>

#include "platform/qt/program_text.h"
#include "platform/qt/qt_export.h"

namespace brenavo::qt {

namespace {

const QString SHEET_FILES = QStringLiteral(" (*.pdf *.png *.svg)");

// Where a file for a document is first offered: the documents folder (the home folder
// where there is none), named after the document.
QString suggestedPath(const platform::Document& document, const char* extension) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QDir folder(QDir(documents).exists() ? documents : QDir::homePath());
  return folder.filePath(fromProgramText(document.title) + QLatin1String(extension));
}

// A name given without an extension is a PDF.
QString withDefaultExtension(const QString& path) {
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1String(".pdf") : path;
}

}  // namespace

void QtPrinter::preview(const platform::Document& document) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(fromProgramText(document.title));
  printer.setPageMargins(defaultPageLayout().margins(), QPageLayout::Millimeter);
  QPrintPreviewDialog dialog(&printer, owner_);
  dialog.setWindowTitle(QStringLiteral("Imprimir: ") + fromProgramText(document.title));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&document](QPrinter* target) { printDocument(document, *target); });
  dialog.exec();
}

// One kind of file a document in the dialog; the kind chosen says which document is written.
void QtPrinter::exportToFile(const std::vector<platform::Document>& choices) {
  if (choices.empty()) return;
  QStringList filters;
  for (const platform::Document& choice : choices)
    filters << fromProgramText(choice.title) + SHEET_FILES;
  QFileDialog dialog(owner_, QStringLiteral("Exportar"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  const QFileInfo suggested(suggestedPath(choices.front(), ".pdf"));
  dialog.setDirectory(suggested.absolutePath());
  dialog.selectFile(suggested.fileName());
  QObject::connect(&dialog, &QFileDialog::filterSelected, [&](const QString& filter) {
    const auto chosen = static_cast<size_t>(filters.indexOf(filter));
    if (chosen < choices.size())
      dialog.selectFile(QFileInfo(suggestedPath(choices[chosen], ".pdf")).fileName());
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const auto chosen = static_cast<size_t>(filters.indexOf(dialog.selectedNameFilter()));
  const QString path = withDefaultExtension(dialog.selectedFiles().front());
  const WriteResult result = writeDocumentFile(choices[chosen < choices.size() ? chosen : 0],
                                               path, defaultPageLayout(),
                                               [](int, int) { return true; });
  if (result != WriteResult::Written) tellFailure(path, result == WriteResult::UnknownKind);
}

void QtPrinter::writeBook(const platform::Document& book) {
  const QString chosen = QFileDialog::getSaveFileName(
      owner_, QStringLiteral("Cuaderno"), suggestedPath(book, ".pdf"), QStringLiteral("PDF (*.pdf)"));
  if (chosen.isEmpty()) return;
  const QString path = QFileInfo(chosen).suffix().toLower() == QLatin1String("pdf")
                           ? chosen
                           : chosen + QLatin1String(".pdf");
  QProgressDialog progress(QStringLiteral("Escribiendo ") + QFileInfo(path).fileName() + "...",
                           QStringLiteral("Cancelar"), 0, 1, owner_);
  progress.setWindowTitle(QStringLiteral("Cuaderno"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  const WriteResult result =
      writeDocumentFile(book, path, defaultPageLayout(), [&progress](int drawn, int pages) {
        progress.setMaximum(pages);
        progress.setValue(drawn);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
      });
  progress.reset();
  if (result == WriteResult::Failed) tellFailure(path, false);
}

void QtPrinter::tellFailure(const QString& path, bool unknownKind) {
  const QString text =
      unknownKind ? QStringLiteral("No se puede exportar a \"%1\": el nombre debe acabar en "
                                   ".pdf, .png o .svg.")
                  : QStringLiteral("No se pudo escribir \"%1\".");
  QMessageBox::warning(owner_, QStringLiteral("Brenavo: ERROR"),
                       text.arg(QDir::toNativeSeparators(path)));
}

}  // namespace brenavo::qt
