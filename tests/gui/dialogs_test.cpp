// The options, about and usage dialogs on the desktop, driven from inside their own
// modal loops.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "dialogs/info_dialogs.h"
#include "gui_test_support.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/resources.h"

using brenavo::centredOn;
using brenavo::QtDialogs;
using brenavo::guitest::whenModal;
using brenavo::platform::OptionsChecks;
using brenavo::platform::OptionsOutcome;

Q_DECLARE_METATYPE(OptionsChecks)

namespace {

QStringList checkedRadios(QDialog& dialog) {
  QStringList names;
  for (const QRadioButton* radio : dialog.findChildren<QRadioButton*>())
    if (radio->isChecked()) names << radio->objectName();
  names.sort();
  return names;
}

// The texts and buttons of a dialog that are cut short or not wholly inside it: a label
// smaller than it asks, a radio button narrower than its indicator and text, a push
// button narrower than its text, a button lower than a line of its text.
QStringList clippedIn(QDialog& dialog) {
  QStringList clipped;
  for (const QWidget* w : dialog.findChildren<QWidget*>()) {
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    if (!button && !qobject_cast<const QLabel*>(w)) continue;
    QSize least = w->sizeHint();
    if (button) least.setHeight(w->fontMetrics().height());
    if (qobject_cast<const QPushButton*>(w))
      least.setWidth(w->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')));
    if (w->width() < least.width() || w->height() < least.height() ||
        !dialog.rect().contains(QRect(w->mapTo(&dialog, QPoint()), w->size())))
      clipped << w->objectName();
  }
  return clipped;
}

QRadioButton* radio(QDialog& dialog, int id) {
  return dialog.findChild<QRadioButton*>(QString("radio_%1").arg(id));
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> owner_;
  std::unique_ptr<QtDialogs> dialogs_;

 private slots:
  void initTestCase() { brenavo::registerResources(); }
  void init() {
    owner_ = std::make_unique<QWidget>();
    owner_->setGeometry(100, 80, 800, 600);
    owner_->show();
    QVERIFY(QTest::qWaitForWindowExposed(owner_.get()));
    dialogs_ = std::make_unique<QtDialogs>(owner_.get());
  }
  void cleanup() {
    dialogs_.reset();
    owner_.reset();
  }

  // Values that name no button of their group leave that group with none checked.
  void optionsShowTheInitialChecks_data() {
    QTest::addColumn<OptionsChecks>("initial");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("E-A-D, both ways, flute")
        << OptionsChecks{1012, 1023, 72} << QStringList{"radio_1012", "radio_1023", "radio_72"};
    QTest::newRow("no ids") << OptionsChecks{1015, -1, 25} << QStringList{};
  }

  void optionsShowTheInitialChecks() {
    QFETCH(OptionsChecks, initial);
    QFETCH(QStringList, checked);
    QStringList shown{"not read"}, texts;
    whenModal([&](QDialog& dialog) {
      shown = checkedRadios(dialog);
      for (int id : {1011, 1012, 1013, 1014, 1021, 1022, 1023, 23, 72, 0, 24})
        texts << radio(dialog, id)->text();
      dialog.findChild<QPushButton*>("cancelButton")->click();
    });
    QVERIFY(!dialogs_->runOptions(initial).saved);
    QCOMPARE(shown, checked);
    QCOMPARE(texts, (QStringList{"&G-C-F", "&E-A-D", "&F-Bb-Eb", "&A-D-G", "Notas hacia FUERA",
                                 "Notas hacia DENTRO", "Notas hacia FUERA y hacia DENTRO",
                                 "Acordeon", "Flauta", "Piano", "Guitarra"}));
  }

  void optionsMnemonicsChooseAdgAndSave() {
    whenModal(brenavo::guitest::chooseAdgAndSave);
    const OptionsOutcome outcome = dialogs_->runOptions(OptionsChecks{1011, 1021, 23});
    QVERIFY(outcome.saved);
    QCOMPARE(outcome.checks, (OptionsChecks{1014, 1021, 23}));
  }

  void optionsNotSavedWhenLeftOtherwise_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"CAN&CELAR", "Esc", "close box", "Alt+C"}) QTest::newRow(way) << way;
  }

  void optionsNotSavedWhenLeftOtherwise() {
    QFETCH(QString, way);
    bool closed = false;
    whenModal([way, &closed](QDialog& dialog) {
      QTest::mouseClick(radio(dialog, 1013), Qt::LeftButton);
      if (way == "CAN&CELAR") dialog.findChild<QPushButton*>("cancelButton")->click();
      if (way == "Esc") QTest::keyClick(&dialog, Qt::Key_Escape);
      if (way == "close box") dialog.close();
      if (way == "Alt+C") QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
      closed = QTest::qWaitFor([&dialog] { return !dialog.isVisible(); });
    });
    QVERIFY(!dialogs_->runOptions(OptionsChecks{1011, 1021, 23}).saved);
    QVERIFY(closed);
  }

  void centringTruncatesTowardZero() {
    const struct { QRect owner; QSize dialog; QPoint expected; } cases[] = {
        {{100, 80, 800, 600}, {301, 201}, {349, 279}},
        {{10, 10, 100, 100}, {301, 201}, {-90, -40}},
        {{-500, -300, 400, 300}, {100, 100}, {-350, -200}}};
    for (const auto& c : cases) QCOMPARE(centredOn(c.owner, c.dialog), c.expected);
  }

  // Each dialog opens centred on its owner (even one partly off the screen), shows every
  // text whole, and ends with Esc.
  void dialogsOpenCentredAndShowEverythingWhole_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QPoint>("ownerAt");
    QTest::addColumn<QString>("title");
    QTest::newRow("options") << "options" << QPoint(100, 80) << "Brenavo: Opciones";
    QTest::newRow("about") << "about" << QPoint(-300, -200) << "Brenavo: Sobre el Brenavo";
    QTest::newRow("usage") << "usage" << QPoint(60, 40) << "Brenavo: Informacion de uso";
  }

  void dialogsOpenCentredAndShowEverythingWhole() {
    QFETCH(QString, which);
    QFETCH(QPoint, ownerAt);
    QFETCH(QString, title);
    owner_->move(ownerAt);
    const QRect ownerFrame = owner_->frameGeometry();
    QRect frame;
    QString shownTitle, text;
    QStringList clipped{"not read"};
    bool closedByEsc = false;
    whenModal([&](QDialog& dialog) {
      frame = dialog.frameGeometry();
      shownTitle = dialog.windowTitle();
      clipped = clippedIn(dialog);
      if (auto* label = dialog.findChild<QLabel*>("textLabel")) text = label->text();
      QTest::keyClick(&dialog, Qt::Key_Escape);
      closedByEsc = !dialog.isVisible();
    });
    if (which == "options") dialogs_->runOptions(OptionsChecks{1011, 1021, 23});
    if (which == "about") dialogs_->runAbout(brenavo::aboutText());
    if (which == "usage") dialogs_->runUsage(brenavo::usageText());
    QCOMPARE(frame.topLeft(), centredOn(ownerFrame, frame.size()));
    QCOMPARE(shownTitle, title);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
    if (which == "about") QCOMPARE(text, QString::fromStdString(brenavo::aboutText()));
    if (which == "usage") QCOMPARE(text, QString::fromStdString(brenavo::usageText()));
    QVERIFY(closedByEsc);
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
