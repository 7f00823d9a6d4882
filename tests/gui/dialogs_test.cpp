// The options, about and usage dialogs on the desktop, driven from inside their own loops.
#include <QLabel>
#include <QPushButton>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

#include "dialogs/info_dialogs.h"
#include "gui_test_support.h"
#include "platform/qt/qt_dialogs.h"

using namespace brenavo;

// The labels and buttons narrower or lower than their text, or reaching past the dialog.
static QStringList clippedIn(QDialog& dialog) {
  QStringList clipped;
  for (const QWidget* w : dialog.findChildren<QWidget*>()) {
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    QSize least = button ? QSize(w->sizeHint().width(), w->fontMetrics().height()) : w->sizeHint();
    if (qobject_cast<const QPushButton*>(w))
      least.setWidth(w->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')));
    if ((button || qobject_cast<const QLabel*>(w)) &&
        (w->width() < least.width() || w->height() < least.height() ||
         !dialog.rect().contains(QRect(w->mapTo(&dialog, QPoint()), w->size()))))
      clipped << w->objectName();
  }
  return clipped;
}

class DialogsTest : public QObject {
  Q_OBJECT
  QWidget owner_;
  QtDialogs dialogs_{&owner_};
 private slots:
  // Each dialog opens centred on its owner (even partly off the screen) with its title and
  // checks (none for a value naming no button), all text whole; "GUAR&DAR" alone saves.
  void dialogsOpenCentredShowEverythingWholeEndWithTheirKeysAndBringTheListeningChoices() {
    QCOMPARE(centredOn({10, 10, 100, 100}, {301, 201}), QPoint(-90, -40));  // toward zero
    owner_.show();  // with its frame
    platform::OptionsOutcome saved, cancelled;
    const struct { QPoint ownerAt; const char* keys; std::function<void()> run; } cases[] = {
        {{100, 80}, "Alt+A, Alt+T, Alt+D", [&] { saved = dialogs_.runOptions({1012, 1023, 72}); }},
        {{60, 40}, "Alt+C", [&] { cancelled = dialogs_.runOptions({1015, -1, 25, 1}); }},
        {{-300, -200}, "Esc", [this] { dialogs_.runAbout(aboutText()); }},
        {{60, 40}, "Esc", [this] { dialogs_.runUsage(usageText()); }}};
    QStringList seen;  // of each: clipped, title, text, faults, checks
    for (const auto& c : cases) {
      owner_.move(c.ownerAt);
      guitest::whenModal([&seen, keys = c.keys, owner = owner_.frameGeometry()](QDialog& dialog) {
        const auto* text = dialog.findChild<QLabel*>("textLabel");
        QStringList got = clippedIn(dialog) << dialog.windowTitle() << (text ? text->text() : "");
        if (dialog.frameGeometry().topLeft() != centredOn(owner, dialog.frameGeometry().size()))
          got << "not centred";
        for (const QAbstractButton* choice : dialog.findChildren<QAbstractButton*>())
          if (choice->isChecked()) got << choice->objectName();
        QTest::keySequence(&dialog, QKeySequence(keys));  // Alt and a button's mnemonic clicks it
        if (!QTest::qWaitFor([&dialog] { return !dialog.isVisible(); })) got << "still open";
        seen << got.join("|");
      });
      c.run();
    }
    QCOMPARE(seen, (QStringList{
        "Brenavo: Opciones||radio_1012|radio_1023|radio_72", "Brenavo: Opciones||check_1031",
        "Brenavo: Sobre el Brenavo|" + QString::fromStdString(aboutText()),
        "Brenavo: Informacion de uso|" + QString::fromStdString(usageText())}));
    QVERIFY(saved.saved && !cancelled.saved && saved.checks == (platform::OptionsChecks{1014, 1023, 72, 1}));
    // The input is offered only when there are several; the reference A within 430-450 Hz.
    QList<int> chosen;  // the input's index and the reference, as 1000 * index + Hz
    for (int inputs : {1, 2}) {
      guitest::whenModal([inputs](QDialog& dialog) {
        auto* input = dialog.findChild<QComboBox*>("input_1041");
        QCOMPARE(input != nullptr, inputs > 1);
        if (input) input->setCurrentIndex(1);
        dialog.findChild<QSpinBox*>("reference_1042")->setValue(460);
        QTest::keySequence(&dialog, QKeySequence("Alt+D"));
      });
      const std::vector<std::string> names{"Mic", "USB"};
      const platform::OptionsChecks checks =
          dialogs_.runOptions({1011, 1021, 23, 0, {names.begin(), names.begin() + inputs}, 0, 435}).checks;
      chosen << checks.input * 1000 + checks.referenceA;
    }
    QCOMPARE(chosen, (QList<int>{450, 1450}));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
