// The help viewer and the help pages that travel with the program.
#include <QTextBrowser>
#include <QtTest>

#include "dialogs/help_topics.h"
#include "live/key_map.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/resources.h"

using namespace brenavo;

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  // Each command's page, or for a missing page what was asked, in a viewer that is not modal.
  void pagesOpenInAViewerThatDoesNotHoldTheProgram() {
    registerResources();
    const QString missing = "No se encontro la pagina de ayuda";
    // The keys page says which way each tempo key goes, and lists each column's keys as they play.
    QStringList keys{"F9 Más lento", "F10 Más rápido", "F11 Mucho más lento", "F12 Mucho más rápido"};
    for (const auto& column : KEY_ROWS) {
      QString names;
      for (const KeyPlace& key : column) names += QString::fromUtf8(key.name) + ' ';
      keys << names.trimmed();
    }
    const struct { std::string target; QString title; QStringList says; } topics[] = {
        {helpTarget(IDM_HELP), "Como usar el Brenavo", {"Cómo usar"}},
        {helpTarget(IDM_FAQ), "Preguntas frecuentes", {"Control de MIDI no disponible."}},
        {helpTarget(IDM_HOTKEYS), "Teclas del Brenavo", keys},
        {helpTarget(IDM_MTHEORY), "Teoria musical para el acordeon diatonico", {"I-vi-ii-V7"}},
        {"brenavo.chm::nada.htm", "", {missing, "brenavo.chm::nada.htm"}},
        {"otro.chm", "", {missing, "otro.chm"}}, {"", "", {missing}},
        {"brenavo.chm::../help/index.htm", "", {missing, "brenavo.chm::../help/index.htm"}}};
    QWidget owner;
    QtHelp help(&owner);
    help.initialize();
    for (const auto& [target, title, says] : topics) {
      QCOMPARE(help.displayTopic(target), !title.isEmpty());
      const QTextBrowser& viewer = *help.viewer();
      QVERIFY(viewer.isVisible() && QApplication::activeModalWidget() == nullptr);
      QCOMPARE(viewer.windowTitle() + "|" + viewer.documentTitle(), "Brenavo: Ayuda|" + title);
      for (const QString& words : says)
        QVERIFY2(viewer.toPlainText().simplified().contains(words), qPrintable(words));
    }
    for (const QString& page : QDir(":/help").entryList(QDir::Files)) {  // each leads home
      QFile file(":/help/" + page);
      const QString html = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
      QVERIFY2(html.contains("href=\"index.htm\""), qPrintable(page));
      for (const auto& link : QRegularExpression("href=\"([^\"]*)\"").globalMatch(html))
        QVERIFY2(QFile::exists(":/help/" + link.captured(1)), qPrintable(link.captured(1)));
    }
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
