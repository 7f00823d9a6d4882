// The options, about and usage dialogs on the desktop, driven from inside their own
// modal loops.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "dialogs/info_dialogs.h"
#include "gui_test_support.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/resources.h"

using namespace brenavo;

// The labels and buttons cut short or not wholly inside the dialog: narrower or lower
// than their text (a radio button with its indicator), or reaching past an edge.
static QStringList clippedIn(QDialog& dialog) {
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

class DialogsTest : public QObject {
  Q_OBJECT
  QWidget owner_;
  QtDialogs dialogs_{&owner_};

 private slots:
  void initTestCase() { registerResources(); }

  // The options open with one check a group (none for a value naming no button of it);
  // "&A-D-G" and "GUAR&DAR" save the tuning alone changed, "CAN&CELAR" (Alt+C) saves nothing.
  void optionsShowTheChecksAndSaveOnlyWithGuardar() {
    QStringList checked;
    const auto lookThen = [&checked](std::function<void(QDialog&)> act) {
      guitest::whenModal([&checked, act](QDialog& dialog) {
        for (const QRadioButton* radio : dialog.findChildren<QRadioButton*>())
          if (radio->isChecked()) checked << radio->objectName();
        act(dialog);
      });
    };
    lookThen(guitest::chooseAdgAndSave);
    const platform::OptionsOutcome outcome = dialogs_.runOptions({1012, 1023, 72});
    QCOMPARE(checked, (QStringList{"radio_1012", "radio_1023", "radio_72"}));
    QVERIFY(outcome.saved);
    QCOMPARE(outcome.checks, (platform::OptionsChecks{1014, 1023, 72}));
    checked.clear();
    bool closed = false;
    lookThen([&closed](QDialog& dialog) {
      QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
      closed = QTest::qWaitFor([&dialog] { return !dialog.isVisible(); });
    });
    QVERIFY(!dialogs_.runOptions({1015, -1, 25}).saved);
    QVERIFY(closed);
    QCOMPARE(checked, QStringList{});
  }

  void centringTruncatesTowardZero() {
    QCOMPARE(centredOn({100, 80, 800, 600}, {301, 201}), QPoint(349, 279));
    QCOMPARE(centredOn({10, 10, 100, 100}, {301, 201}), QPoint(-90, -40));
  }

  // Each dialog opens centred on its owner (even one partly off the screen) with its
  // title, shows every text whole, and ends with Esc.
  void dialogsOpenCentredAndShowEverythingWhole() {
    const std::pair<QPoint, std::function<void()>> cases[] = {
        {{100, 80}, [this] { dialogs_.runOptions({1011, 1021, 23}); }},
        {{-300, -200}, [this] { dialogs_.runAbout(aboutText()); }},
        {{60, 40}, [this] { dialogs_.runUsage(usageText()); }}};
    QStringList titles, texts;
    for (const auto& [ownerAt, run] : cases) {
      owner_.move(ownerAt);
      const QRect ownerFrame = owner_.frameGeometry();
      QStringList faults{"not seen"};
      guitest::whenModal([&](QDialog& dialog) {
        faults = clippedIn(dialog);
        const QRect frame = dialog.frameGeometry();
        if (frame.topLeft() != centredOn(ownerFrame, frame.size())) faults << "not centred";
        titles << dialog.windowTitle();
        const auto* label = dialog.findChild<QLabel*>("textLabel");
        texts << (label ? label->text() : "");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        if (dialog.isVisible()) faults << "still open after Esc";
      });
      run();
      QVERIFY2(faults.isEmpty(), qPrintable(titles.join(" / ") + ": " + faults.join(", ")));
    }
    QCOMPARE(titles, (QStringList{"Brenavo: Opciones", "Brenavo: Sobre el Brenavo",
                                  "Brenavo: Informacion de uso"}));
    QCOMPARE(texts, (QStringList{"", QString::fromStdString(aboutText()),
                                 QString::fromStdString(usageText())}));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
