// The booklet of the first tuning written to a PDF file, as "Cuaderno..." writes it.
#include <QDir>
#include <QTemporaryDir>

#include "clock.h"
#include "display/sheet.h"
#include "measurements.h"
#include "measuring_program.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_export.h"

namespace brenavo::bench {

void measureBooklet(int& argc, char** argv) {
  MeasuredProgram program(argc, argv, deviceOptions("-"));
  QTemporaryDir folder;
  if (!folder.isValid()) fail("no temporary folder");
  const QString path = QDir(folder.path()).filePath(QStringLiteral("cuaderno.pdf"));
  int pages = 0;
  const int64_t started = monotonicNs();
  const qt::WriteResult result = qt::writeDocumentFile(
      bookDocument(program.window().program()), path, qt::defaultPageLayout(),
      [&pages](int drawn, int) { return (pages = drawn), true; });
  const int64_t ended = monotonicNs();
  if (result != qt::WriteResult::Written) fail("the booklet was not written");
  report("booklet_s", static_cast<double>(ended - started) / 1e9);
  report("booklet_pages", pages);
  finish();
}

}  // namespace brenavo::bench
