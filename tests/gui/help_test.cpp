// The help viewer and the help pages that travel with the program.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "dialogs/help_topics.h"
#include "model/ids.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/resources.h"

using brenavo::QtHelp;

class HelpTest : public QObject {
  Q_OBJECT

 private:
  QWidget owner_;
  std::unique_ptr<QtHelp> help_;

  QString shownText() { return help_->viewer()->toPlainText(); }

 private slots:
  void initTestCase() { brenavo::registerResources(); }
  void init() {
    help_ = std::make_unique<QtHelp>(&owner_);
    help_->initialize();
  }
  void cleanup() {
    help_->uninitialize();
    help_.reset();
  }

  void everyHelpCommandOpensItsPage_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("mustSay");
    QTest::newRow("Como usar") << brenavo::IDM_HELP << "Como usar el Brenavo" << "Cómo usar";
    QTest::newRow("FAQ") << brenavo::IDM_FAQ << "Preguntas frecuentes"
                         << "Control de MIDI no disponible.";
    QTest::newRow("Hotkeys") << brenavo::IDM_HOTKEYS << "Teclas del Brenavo" << "Ctrl+X";
    QTest::newRow("Teoria musical") << brenavo::IDM_MTHEORY
                                    << "Teoria musical para el acordeon diatonico" << "I-vi-ii-V7";
  }

  void everyHelpCommandOpensItsPage() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(QString, mustSay);
    QVERIFY(help_->displayTopic(brenavo::helpTarget(command)));
    QVERIFY(help_->viewer()->isVisible());
    QCOMPARE(help_->viewer()->windowTitle(), QString("Brenavo: Ayuda"));
    QCOMPARE(help_->viewer()->documentTitle(), title);
    QVERIFY2(shownText().contains(mustSay), qPrintable(mustSay));
  }

  // F9 and F11 lengthen each step, F10 and F12 shorten it.
  void hotkeysPageNamesTheTempoDirection() {
    QVERIFY(help_->displayTopic("brenavo.chm::brv_intro_hotkeys.htm"));
    const QString text = shownText().simplified();
    for (const char* row : {"F9 Más lento", "F10 Más rápido", "F11 Mucho más lento",
                            "F12 Mucho más rápido"})
      QVERIFY2(text.contains(QString::fromUtf8(row)), row);
  }

  void aMissingPageSaysSoAndReportsFalse_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("unknown page") << "brenavo.chm::nada.htm";
    QTest::newRow("other file") << "otro.chm";
    QTest::newRow("a path, not a page") << "brenavo.chm::../help/index.htm";
    QTest::newRow("nothing") << "";
  }

  void aMissingPageSaysSoAndReportsFalse() {
    QFETCH(QString, target);
    QVERIFY(!help_->displayTopic(target.toStdString()));
    QVERIFY(help_->viewer()->isVisible());
    QVERIFY(shownText().contains("No se encontro la pagina de ayuda"));
    QVERIFY(shownText().contains(target));
  }

  void everyLinkLeadsToAPageAndEveryPageLeadsHome() {
    const QStringList pages = QDir(":/help").entryList(QDir::Files);
    QCOMPARE(pages.size(), 4);
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
