// The help viewer and the help pages that travel with the program.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

#include "dialogs/help_topics.h"
#include "model/ids.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_help.h"

using brenavo::besideOwner;
using brenavo::helpPageOf;
using brenavo::QtHelp;

namespace {

QString pageSource(const QString& page) {
  QFile file(QStringLiteral(":/help/") + page);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QStringList linksOf(const QString& html) {
  QStringList links;
  static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
  for (const QRegularExpressionMatch& match : href.globalMatch(html)) links << match.captured(1);
  return links;
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> owner_;
  std::unique_ptr<QtHelp> help_;

 private slots:
  void init() {
    owner_ = std::make_unique<QWidget>();
    owner_->setGeometry(0, 0, 400, 300);
    owner_->show();
    help_ = std::make_unique<QtHelp>(owner_.get());
    help_->initialize();
  }

  void cleanup() {
    help_->uninitialize();
    help_.reset();
    owner_.reset();
  }

  void everyHelpCommandOpensItsPage_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("mustSay");
    QTest::newRow("Como usar") << brenavo::IDM_HELP << "Como usar el Brenavo"
                               << "Opciones...";
    QTest::newRow("FAQ") << brenavo::IDM_FAQ << "Preguntas frecuentes"
                         << "Control de MIDI no disponible.";
    QTest::newRow("Hotkeys") << brenavo::IDM_HOTKEYS << "Teclas del Brenavo"
                             << "Ctrl+X";
    QTest::newRow("Teoria musical")
        << brenavo::IDM_MTHEORY << "Teoria musical para el acordeon diatonico"
        << "I-vi-ii-V7";
  }

  void everyHelpCommandOpensItsPage() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(QString, mustSay);
    const char* target = brenavo::helpTarget(command);
    QVERIFY(target != nullptr);
    QVERIFY(help_->displayTopic(target));
    QTextBrowser* viewer = help_->viewer();
    QVERIFY(viewer != nullptr);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Brenavo: Ayuda"));
    QCOMPARE(viewer->documentTitle(), title);
    QVERIFY2(viewer->toPlainText().contains(mustSay), qPrintable(mustSay));
  }

  void pagesAreReadAsUtf8() {
    QVERIFY(help_->displayTopic("brenavo.chm"));
    QVERIFY(help_->viewer()->toPlainText().contains(QStringLiteral("Cómo usar")));
  }

  void hotkeysPageNamesEveryKeyAndTheTempoDirection() {
    QVERIFY(help_->displayTopic("brenavo.chm::brv_intro_hotkeys.htm"));
    const QString text = help_->viewer()->toPlainText();
    for (const char* key :
         {"Ctrl+X", "F1", "F2", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}) {
      QVERIFY2(text.contains(QString::fromLatin1(key)), key);
    }
    // F9 and F11 lengthen each step, F10 and F12 shorten it.
    const QString source = pageSource(QStringLiteral("brv_intro_hotkeys.htm"));
    QVERIFY(source.contains(QStringLiteral("<td>F9</td><td>Más lento")));
    QVERIFY(source.contains(QStringLiteral("<td>F10</td><td>Más rápido")));
    QVERIFY(source.contains(QStringLiteral("<td>F11</td><td>Mucho más lento")));
    QVERIFY(source.contains(QStringLiteral("<td>F12</td><td>Mucho más rápido")));
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
    const QString text = help_->viewer()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("No se encontro la pagina de ayuda")));
    QVERIFY(text.contains(target));
  }

  void aSecondCallBringsBackTheSameWindow() {
    QVERIFY(help_->displayTopic("brenavo.chm"));
    QTextBrowser* first = help_->viewer();
    first->close();
    QVERIFY(!first->isVisible());
    QVERIFY(help_->displayTopic("brenavo.chm::brv_intro_faq.htm"));
    QCOMPARE(help_->viewer(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->documentTitle(), QStringLiteral("Preguntas frecuentes"));
  }

  void uninitializeClosesTheViewerAndHelpStillWorksAfter() {
    QVERIFY(help_->displayTopic("brenavo.chm"));
    help_->uninitialize();
    QVERIFY(help_->viewer() == nullptr);
    QVERIFY(help_->displayTopic("brenavo.chm"));
    QVERIFY(help_->viewer()->isVisible());
  }

  void everyLinkLeadsToAPageAndEveryPageLeadsHome() {
    const QStringList pages = QDir(QStringLiteral(":/help")).entryList(QDir::Files);
    QCOMPARE(pages.size(), 4);
    for (const QString& page : pages) {
      const QStringList links = linksOf(pageSource(page));
      QVERIFY2(links.contains(QStringLiteral("index.htm")), qPrintable(page));
      for (const QString& link : links) {
        QVERIFY2(pages.contains(link), qPrintable(page + " -> " + link));
      }
    }
  }

  void followingALinkShowsItsPage() {
    QVERIFY(help_->displayTopic("brenavo.chm"));
    QTextBrowser* viewer = help_->viewer();
    viewer->setSource(viewer->source().resolved(QUrl(QStringLiteral("brv_musicTheory_intro.htm"))));
    QCOMPARE(viewer->documentTitle(), QStringLiteral("Teoria musical para el acordeon diatonico"));
    viewer->backward();
    QCOMPARE(viewer->documentTitle(), QStringLiteral("Como usar el Brenavo"));
  }

  void targetsNameTheirPages() {
    QCOMPARE(helpPageOf("brenavo.chm"), QStringLiteral("index.htm"));
    QCOMPARE(helpPageOf("brenavo.chm::brv_intro_faq.htm"), QStringLiteral("brv_intro_faq.htm"));
    QCOMPARE(helpPageOf("brenavo.chm::"), QString());
    QCOMPARE(helpPageOf("brenavo.chm::a/b.htm"), QString());
    QCOMPARE(helpPageOf("ayuda.chm::index.htm"), QString());
  }

  void theViewerOpensBesideTheMainWindow_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("room on the right") << QRect(100, 50, 800, 600) << QPoint(900, 50);
    QTest::newRow("room on the left only") << QRect(1000, 50, 800, 600) << QPoint(360, 50);
    QTest::newRow("no room: against the right edge")
        << QRect(400, 50, 1200, 600) << QPoint(1280, 50);
    QTest::newRow("owner low on the screen") << QRect(100, 700, 800, 600) << QPoint(900, 480);
    QTest::newRow("owner above the screen") << QRect(100, -100, 800, 600) << QPoint(900, 0);
  }

  void theViewerOpensBesideTheMainWindow() {
    QFETCH(QRect, owner);
    QFETCH(QPoint, expected);
    QCOMPARE(besideOwner(owner, QSize(640, 600), QRect(0, 0, 1920, 1080)), expected);
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
