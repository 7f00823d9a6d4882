// The sheets written through Qt: PDF pages of the right size and text read back with poppler,
// an SVG that parses, images of the whole page, and files only when whole.
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "display/sheet.h"
#include "gui_test_support.h"
#include "platform/qt/qt_export.h"

using namespace brenavo;
using namespace brenavo::guitest;

static QString poppler(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

static QString pdfText(const QString& path, int page, bool layout = false) {
  QStringList arguments{"-f", QString::number(page), "-l", QString::number(page), path, "-"};
  if (layout) arguments.prepend("-layout");
  return poppler("pdftotext", arguments).simplified();
}

static QPageLayout layoutOf(QPageSize::PageSizeId size, QPageLayout::Orientation turn = QPageLayout::Portrait) {
  return QPageLayout(QPageSize(size), turn, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

static qt::WriteResult write(const platform::Document& document, const QString& path,
                             QPageSize::PageSizeId size = QPageSize::A4, int stopAtPage = 0) {
  return qt::writeDocumentFile(document, path, layoutOf(size), [stopAtPage](int drawn, int) {
    return stopAtPage == 0 || drawn < stopAtPage;
  });
}

class SheetsTest : public QObject {
  Q_OBJECT

 private slots:
  // The booklet's contents name the page of each selection, and there it stands; stopped
  // halfway, it leaves the folder as it was. Each sheet on A4 and on Letter: one page of that
  // size with its title and listing in text. Files only when whole and of a known kind.
  void theBookletSheetsDrawingsAndImagesAreWholeFilesOfTheChosenSize() {
    TestWindow w;
    QTemporaryDir folder;
    const QString path = folder.filePath("cuaderno.pdf");
    const platform::Document book = bookDocument(w.program());
    QCOMPARE(write(book, path, QPageSize::A4, 5), qt::WriteResult::Stopped);
    QVERIFY(QDir(folder.path()).isEmpty());
    QCOMPARE(write(book, path), qt::WriteResult::Written);
    const int entries = int(bookEntries(w.program()).size());
    const QString bookInfo = poppler("pdfinfo", {path});
    const int pages = QRegularExpression("Pages: +(\\d+)").match(bookInfo).captured(1).toInt();
    QVERIFY2(pages > entries + 1 && pages < entries + 5, qPrintable(bookInfo));
    const QString contents = pdfText(path, 1, true);
    const auto listed = QRegularExpression("escala de G mayor +\\(ESCALA: G mayor\\) +(\\d+)")
                            .match(contents);
    QVERIFY2(listed.hasMatch(), qPrintable(contents.left(300)));
    QVERIFY(pdfText(path, listed.captured(1).toInt()).startsWith("escala de G mayor"));
    const struct { Sheet sheet; QStringList words; } sheets[] = {
        {Sheet::Scales, {"escala de G mayor", "FORMATO: notas sencillas", "1 :", "-G"}},
        {Sheet::Keyboard, {"Teclado G-C-F", "Notas hacia DENTRO", "octava 6"}},
        {Sheet::Screen, {"Pantalla", "ESCALA: G mayor", "15 :", "Notas hacia FUERA"}}};
    for (const auto& [size, points] : {std::pair{QPageSize::A4, "595 x 842 pts (A4)"},
                                       {QPageSize::Letter, "612 x 792 pts (letter)"}})
      for (const auto& [sheet, words] : sheets) {
        const QString file = folder.filePath("sheet.pdf");
        QCOMPARE(write(sheetDocument(w.program(), sheet), file, size), qt::WriteResult::Written);
        const QString info = poppler("pdfinfo", {file});
        QVERIFY2(info.contains(QRegularExpression("Pages: +1\n")) && info.contains(points),
                 qPrintable(info));
        for (const QString& word : words) QVERIFY2(pdfText(file, 1).contains(word), qPrintable(word));
      }
    QPrinter printer(QPrinter::HighResolution);  // what the print preview prints on
    printer.setOutputFileName(folder.filePath("printed.pdf"));
    printer.setPageLayout(layoutOf(QPageSize::A4, QPageLayout::Landscape));
    QVERIFY(qt::printDocument(sheetDocument(w.program(), Sheet::Scales), printer));
    const QString info = poppler("pdfinfo", {printer.outputFileName()});
    QVERIFY2(info.contains(QRegularExpression("Pages: +1\n")) && info.contains(" x 595"),
             qPrintable(info));
    QVERIFY(pdfText(printer.outputFileName(), 1).contains("DIRECCION: pull"));
    // The keyboard chart as SVG: well formed, with the captions and every label of the tuning;
    // as PNG, the whole A4 page at 300 dpi; by any other name, nothing.
    const platform::Document keyboard = sheetDocument(w.program(), Sheet::Keyboard);
    QCOMPARE(write(keyboard, folder.filePath("t.SVG")), qt::WriteResult::Written);
    QFile svg(folder.filePath("t.SVG"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&svg);
    QStringList texts;
    while (!reader.atEnd())
      if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("text"))
        texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QVERIFY(texts.contains("Notas hacia FUERA") && texts.contains("Teclado G-C-F"));
    for (int p = 0; p < KB_POSITIONS; ++p)
      QVERIFY(isLabelSlot(p) || texts.contains(keyConfig[0].szNoteName[p]));
    QCOMPARE(write(keyboard, folder.filePath("t.png")), qt::WriteResult::Written);
    const QImage png(folder.filePath("t.png"));
    QCOMPARE(png.size(), QSize(2480, 3508));
    QCOMPARE(qRound(png.dotsPerMeterX() * 0.0254), 300);
    QCOMPARE(write(keyboard, folder.filePath("a6.png"), QPageSize::A6), qt::WriteResult::Written);
    const QImage small(folder.filePath("a6.png"));  // the drawing shrunk inside the margin
    const int edge = small.width() - small.width() * 10 / 105;
    int darkInside = 0, darkInMargin = 0;
    for (int y = 0; y < small.height(); y += 2)
      for (int x = small.width() / 2; x < small.width(); ++x)
        if (qGray(small.pixel(x, y)) < 128) ++(x < edge ? darkInside : darkInMargin);
    QVERIFY(darkInside > 1000 && darkInMargin == 0);
    QCOMPARE(write(keyboard, folder.filePath("t.jpg")), qt::WriteResult::UnknownKind);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
             QStringList({"a6.png", "cuaderno.pdf", "printed.pdf", "sheet.pdf", "t.png", "t.SVG"}));
  }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
