// The main window as a person meets it: its frame, keys, menus, status bar, tempo bar,
// transport buttons and the picture on its client area.
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBrowser>
#include <QTranslator>
#include <QtTest>

#include "gui_test_support.h"
#include "selection/menus.h"

using namespace brenavo;
using namespace brenavo::guitest;

namespace {

QMenu* submenu(QWidget* container, int position) {
  return container->actions().at(position)->menu();
}

QAction* actionWithId(QWidget* container, int id) {
  for (QAction* action : container->actions()) {
    if (action->data().toInt() == id && !action->menu()) return action;
    if (QAction* inner = action->menu() ? actionWithId(action->menu(), id) : nullptr) return inner;
  }
  return nullptr;
}

bool allTopMenusEnabled(QMenuBar* bar, bool enabled) {
  for (QAction* top : bar->actions())
    if (top->isEnabled() != enabled) return false;
  return true;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestWindow> t_;
  QTranslator spanish_;

  qt::MainWindow& window() { return *t_->window; }
  Program& program() { return t_->program(); }
  QMenuBar* menuBar() { return window().menuBar(); }
  QString firstMajorScale() {
    return submenu(submenu(submenu(menuBar(), 1), 3), 0)->actions().at(0)->text();
  }

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }
  void init() {
    t_ = std::make_unique<TestWindow>();
    QVERIFY(t_->showActive());
  }
  void cleanup() { t_.reset(); }

  void frameIsFixedCentredAndHoldsThePicture() {
    QCOMPARE(window().windowTitle(), QString("Brenavo: Aprenda A Tocar Acordeon"));
    QCOMPARE(window().size(), QSize(800, 600));
    QCOMPARE(window().minimumSize(), QSize(800, 600));
    QCOMPARE(window().maximumSize(), QSize(800, 600));
    QVERIFY(!(window().windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window().pos(), qt::centredWindowOrigin(QGuiApplication::primaryScreen()->size()));
    const struct { QSize screen; QPoint origin; } placements[] = {
        {{1024, 768}, {112, 84}}, {{1920, 1080}, {560, 240}}, {{640, 480}, {-80, -60}}};
    for (const auto& p : placements) QCOMPARE(qt::centredWindowOrigin(p.screen), p.origin);

    // The client area starts under the menu bar and reaches past all that is drawn
    // (x 745, y 525); the tempo bar runs down its right side, the status bar below.
    const qt::Canvas& canvas = window().canvas();
    QCOMPARE(canvas.mapTo(&window(), QPoint(0, 0)), QPoint(0, menuBar()->geometry().bottom() + 1));
    QVERIFY(canvas.width() > 745 && canvas.height() > 525);
    const QScrollBar& bar = window().tempoBar();
    QCOMPARE(bar.mapTo(&window(), QPoint(bar.width(), 0)).x(), 800);
    QVERIFY(window().statusBar()->geometry().top() >=
            canvas.mapTo(&window(), QPoint(0, canvas.height())).y());
    QCOMPARE(window().statusBar()->geometry().bottom(), 599);
  }

  void statusBarHasFivePartsWithTheSelection() {
    const std::pair<int, int> parts[] = {{0, 200}, {200, 430}, {430, 600}, {600, 625}, {625, 800}};
    for (int part = 0; part < 5; ++part) QCOMPARE(window().parts().partExtent(part), parts[part]);
    QCOMPARE(window().parts().partText(0), QString("TONO DE ACORDEON: G-C-F"));
    QCOMPARE(window().parts().partText(1), QString("ESCALA: G mayor"));
    QVERIFY(window().parts().partText(2).startsWith("FORMATO: "));
    QCOMPARE(window().parts().partText(3), QString());
    QVERIFY(window().parts().partText(4).startsWith("DIRECCION: "));
  }

  // The speed keys run, from a tempo of 1: F9 adds 1, F10 takes 1 away, F11 adds 5, F12
  // takes 5 away; the tempo bar follows.
  void keysSendTheirCommandsAndSetTheTempo() {
    commandsNotRun = {111, 501, 110};  // exit, help and options would open windows
    const struct Key { Qt::Key key; uintptr_t command; int tempo; } keys[] = {
        {Qt::Key_X, 111, 1}, {Qt::Key_F1, 501, 1}, {Qt::Key_F2, 110, 1}, {Qt::Key_F5, 601, 1},
        {Qt::Key_F6, 602, 1}, {Qt::Key_F7, 603, 1}, {Qt::Key_F8, 604, 1}, {Qt::Key_F9, 801, 2},
        {Qt::Key_F10, 803, 1}, {Qt::Key_F11, 802, 6}, {Qt::Key_F12, 804, 1}};
    for (const Key& k : keys) {
      received.clear();
      QTest::keyClick(&window(), k.key, k.key == Qt::Key_X ? Qt::ControlModifier : Qt::NoModifier);
      QVERIFY2(!wParamsOf(WM_COMMAND).empty(), qPrintable(QKeySequence(k.key).toString()));
      QCOMPARE(wParamsOf(WM_COMMAND).front(), k.command);
      QCOMPARE(program().sel.vPos, k.tempo);
      QCOMPARE(window().tempoBar().value(), k.tempo);
    }
    // F10 is the slower-tempo key here, not the key that opens the menu bar.
    QVERIFY(QApplication::activePopupWidget() == nullptr && menuBar()->activeAction() == nullptr);
  }

  void menuBarMirrorsTheProgramMenu() {
    QStringList titles;
    for (QAction* action : menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, QStringList({"Ar&chivo", "&Escalas", "Acor&des", "Progre&siones", "&Ayuda"}));
    QCOMPARE(submenu(menuBar(), 0)->actions().at(2)->text(), QString("&Terminar\tCtrl+X"));
    QMenu* major = submenu(submenu(submenu(menuBar(), 1), 3), 0);
    QCOMPARE(major->actions().at(0)->text(), QString("escala de G mayor"));
    QCOMPARE(major->actions().at(7)->text(), QString("escala de B mayor"));
    QVERIFY(!major->actions().at(7)->isEnabled());  // not on a G-C-F keyboard

    EnableMenuBar(program(), 0);
    QVERIFY(allTopMenusEnabled(menuBar(), false));
    EnableMenuBar(program(), 1);
    QVERIFY(allTopMenusEnabled(menuBar(), true));

    // A chosen item's command arrives once its menu has had the chance to close.
    QAction* chromatic = actionWithId(menuBar(), IDM_SCALE_CHROMATIC);
    QVERIFY(chromatic);
    chromatic->trigger();
    QTRY_COMPARE(window().parts().partText(1), QString("ESCALA: cromatica"));
  }

  void pictureShowsBothKeyboardsCaptionsAndListing() {
    const QImage image = t_->picture();
    QCOMPARE(t_->keyboardsFault(image), QString());
    const QRect blue = labelBox(t_->button(firstButtonInOctave(false)));
    const QRect red = labelBox(t_->button(firstButtonInOctave(true)));
    QVERIFY(pixelsNear(image, blue, Qt::blue) > 0 && pixelsNear(image, blue, Qt::red) == 0);
    QVERIFY(pixelsNear(image, red, Qt::red) > 0 && pixelsNear(image, red, Qt::blue) == 0);

    // White captions on black bands ending at y = 525 under each diagram.
    for (int centre : {475, 675}) {
      const QRect band(centre - 30, 512, 61, 13);
      QVERIFY(pixelsNear(image, band, Qt::black, 89) > band.width() * band.height() / 2);
      QVERIFY(pixelsNear(image, band, Qt::white, 0) > 0);
      QVERIFY(isWhite(image.pixel(centre, 526)));
    }
    // The listing: fifteen rows of the scale of G, each with its black step number.
    QVERIFY(pixelsNear(image, QRect(30, 50, 22, 23), Qt::black, 60) > 0);
    QVERIFY(pixelsNear(image, QRect(30, 50 + 14 * 30, 22, 23), Qt::black, 60) > 0);
  }

  // A run's highlight lasts through any repaint that is not a full invalidation.
  void highlightLastsUntilTheRunEnds() {
    const QPoint first = t_->button(t_->firstOfScale());
    QTest::keyClick(&window(), Qt::Key_F5);
    window().desktop().killTimer(IDM_PLAY_TIMER);  // the test gives the ticks itself
    QCOMPARE(circleFault(t_->picture(), first, qRgb(255, 255, 0)), QString());
    window().canvas().repaint();
    window().hide();
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QCOMPARE(circleFault(t_->picture(), first, qRgb(255, 255, 0)), QString());
    for (int tick = 0; tick < 40 && program().sel.ctrlPlay; ++tick)
      window().desktop().send(WM_TIMER, IDM_PLAY_TIMER);
    QCOMPARE(program().sel.ctrlPlay, 0);
    QCOMPARE(circleFault(t_->picture(), first), QString());
  }

  // "&A-D-G" and "GUAR&DAR" in the options dialog: new labels on circles that stay put,
  // and menus and status bar in the new keys.
  void choosingAdgInOptionsRelabelsKeyboardsAndMenus() {
    const QImage before = t_->picture();
    whenModal(chooseAdgAndSave);
    QTest::keyClick(&window(), Qt::Key_F2);
    QCOMPARE(program().sel.keySel, 1014);
    const QImage after = t_->picture();
    QCOMPARE(t_->keyboardsFault(after), QString());
    int relabelled = 0;
    for (int p = 0; p < KB_POSITIONS; ++p) {
      const QPoint c = t_->button(p);
      const QRect rightEdge(c.x() + 17, c.y() - 4, 9, 9);
      QVERIFY(isLabelSlot(p) || after.copy(rightEdge) == before.copy(rightEdge));
      relabelled += !isLabelSlot(p) && before.copy(labelBox(c)) != after.copy(labelBox(c));
    }
    QVERIFY2(relabelled > 50, qPrintable(QString::number(relabelled)));
    QCOMPARE(window().parts().partText(0), QString("TONO DE ACORDEON: A-D-G"));
    QCOMPARE(firstMajorScale(), QString("escala de A mayor"));
  }

  // A notch of the wheel over the tempo bar is one line step and the end of the scroll;
  // a trackpad's small turns add up to a notch first.
  void wheelOnTheTempoBarStepsOneLinePerNotch() {
    QScrollBar& bar = window().tempoBar();
    const struct Turn { int delta; int tempo; std::vector<uintptr_t> codes; } turns[] = {
        {-120, 2, {SB_LINEDOWN, SB_ENDSCROLL}}, {-60, 2, {}},
        {-60, 3, {SB_LINEDOWN, SB_ENDSCROLL}}, {120, 2, {SB_LINEUP, SB_ENDSCROLL}}};
    for (const Turn& turn : turns) {
      received.clear();
      const QPointF at = bar.rect().center();
      QWheelEvent wheel(at, bar.mapToGlobal(at), {}, {0, turn.delta}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(&bar, &wheel);
      QCOMPARE(wParamsOf(WM_VSCROLL), turn.codes);
      QCOMPARE(program().sel.vPos, turn.tempo);
      QCOMPARE(bar.value(), turn.tempo);
    }
  }

  // The thumb is as short as the style draws one; a click below it moves a page, 5.
  void tempoBarHasTheSmallestThumbAndPagesByFive() {
    QScrollBar& bar = window().tempoBar();
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    const auto place = [&](QStyle::SubControl part) {
      return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
    };
    QCOMPARE(place(QStyle::SC_ScrollBarSlider).height(),
             bar.style()->pixelMetric(QStyle::PM_ScrollBarSliderMin, &option, &bar));
    received.clear();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, place(QStyle::SC_ScrollBarAddPage).center());
    QCOMPARE(wParamsOf(WM_VSCROLL), (std::vector<uintptr_t>{SB_PAGEDOWN, SB_ENDSCROLL}));
    QCOMPARE(program().sel.vPos, 6);
    QCOMPARE(bar.value(), 6);
  }

  // The keys work with the focus in the help viewer; not in an open menu nor under a modal
  // dialog.
  void keysWorkFromTheHelpViewerButNotInMenusOrUnderAModalDialog() {
    QTest::keyClick(&window(), Qt::Key_F1);
    auto* viewer = window().findChild<QTextBrowser*>("helpViewer");
    QVERIFY(viewer && viewer->isVisible());
    viewer->windowHandle()->requestActivate();
    QVERIFY(QTest::qWaitFor([viewer] { return QApplication::activeWindow() == viewer; }));
    viewer->setFocus();
    commandsNotRun = {IDM_EXIT};
    const struct Key { Qt::Key key; uintptr_t command; int playing; int tempo; } keys[] = {
        {Qt::Key_F5, IDPB_PLAY, 1, 1}, {Qt::Key_F8, IDPB_STOP, 0, 1},
        {Qt::Key_F9, IDM_SPEED_PLUS_5, 0, 2}, {Qt::Key_X, IDM_EXIT, 0, 2}};
    for (const Key& k : keys) {
      received.clear();
      QTest::keyClick(viewer, k.key, k.key == Qt::Key_X ? Qt::ControlModifier : Qt::NoModifier);
      QCOMPARE(wParamsOf(WM_COMMAND), std::vector<uintptr_t>{k.command});
      QCOMPARE(program().sel.ctrlPlay, k.playing);
      QCOMPARE(program().sel.vPos, k.tempo);
    }
    submenu(menuBar(), 1)->popup({});
    QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_F9);
    QApplication::activePopupWidget()->close();
    whenModal([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_F9); });
    received.clear();
    QTest::keyClick(viewer, Qt::Key_F2);
    const std::vector<uintptr_t> commands = wParamsOf(WM_COMMAND);
    QCOMPARE(commands.front(), uintptr_t{IDM_DIALOGBOX_OPTIONS});
    QCOMPARE(std::ranges::count(commands, uintptr_t{IDM_SPEED_PLUS_5}), 0);
    QCOMPARE(program().sel.vPos, 2);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
