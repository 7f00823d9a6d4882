// The help viewer and the help pages that travel with the program.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

#include "dialogs/help_topics.h"
#include "model/ids.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/resources.h"

using namespace brenavo;

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { registerResources(); }

  // Each help command's page opens with its title and what it is there to say (the hotkeys
  // page which way each tempo key goes); a missing page says so and names what was asked.
  // The viewer stands beside the program without holding it: not modal.
  void pagesOpenInAViewerThatDoesNotHoldTheProgram() {
    const QString missing = "No se encontro la pagina de ayuda";
    const struct { std::string target; QString title; QStringList says; } topics[] = {
        {helpTarget(IDM_HELP), "Como usar el Brenavo", {"Cómo usar"}},
        {helpTarget(IDM_FAQ), "Preguntas frecuentes", {"Control de MIDI no disponible."}},
        {helpTarget(IDM_HOTKEYS), "Teclas del Brenavo",
         {"Ctrl+X", "F9 Más lento", "F10 Más rápido", "F11 Mucho más lento",
          "F12 Mucho más rápido"}},
        {helpTarget(IDM_MTHEORY), "Teoria musical para el acordeon diatonico", {"I-vi-ii-V7"}},
        {"brenavo.chm::nada.htm", "", {missing, "brenavo.chm::nada.htm"}},
        {"otro.chm", "", {missing, "otro.chm"}},
        {"brenavo.chm::../help/index.htm", "", {missing, "brenavo.chm::../help/index.htm"}},
        {"", "", {missing}}};
    QWidget owner;
    QtHelp help(&owner);
    help.initialize();
    for (const auto& topic : topics) {
      QCOMPARE(help.displayTopic(topic.target), !topic.title.isEmpty());
      const QTextBrowser* viewer = help.viewer();
      QVERIFY(viewer->isVisible() && viewer->windowModality() == Qt::NonModal);
      QVERIFY(QApplication::activeModalWidget() == nullptr);
      QCOMPARE(viewer->windowTitle(), QString("Brenavo: Ayuda"));
      if (!topic.title.isEmpty()) QCOMPARE(viewer->documentTitle(), topic.title);
      for (const QString& words : topic.says)
        QVERIFY2(viewer->toPlainText().simplified().contains(words), qPrintable(words));
    }
  }

  void everyLinkLeadsToAPageAndEveryPageLeadsHome() {
    const QStringList pages = QDir(":/help").entryList(QDir::Files);
    QCOMPARE(pages.size(), 5);
    static const QRegularExpression href("href=\"([^\"]*)\"");
    for (const QString& page : pages) {
      QFile file(":/help/" + page);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QStringList links;
      for (const auto& match : href.globalMatch(QString::fromUtf8(file.readAll())))
        links << match.captured(1);
      QVERIFY2(links.contains("index.htm"), qPrintable(page));
      for (const QString& link : links)
        QVERIFY2(pages.contains(link), qPrintable(page + " -> " + link));
    }
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
