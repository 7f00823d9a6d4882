// The main window as a person meets it: its frame, keys, menus, status bar, tempo bar,
// and the picture on its client area.
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

// Whether a Qt menu mirrors the program's menu: texts, greying, commands and submenus.
bool mirrors(QWidget* shown, const Menu& menu) {
  const QList<QAction*> actions = shown->actions();
  if (actions.size() != GetMenuItemCount(menu)) return false;
  for (int i = 0; i < actions.size(); ++i) {
    const MenuItem& item = menu.items[static_cast<size_t>(i)];
    const QAction& a = *actions[i];
    if (a.isSeparator() != (item.kind == MenuItem::Kind::Separator)) return false;
    if (!a.isSeparator() && (a.text() != QString::fromStdString(item.label) ||
                             a.isEnabled() == item.grayed ||
                             (item.popup ? !mirrors(a.menu(), *item.popup) : a.data() != item.id)))
      return false;
  }
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

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }
  void init() {
    t_ = std::make_unique<TestWindow>();
    QVERIFY(t_->showActive());
  }
  void cleanup() { t_.reset(); }

  // A fixed, centred frame; the client area under the menu bar reaches past all that is
  // drawn (x 745, y 525), the tempo bar runs down its right side, the status bar below.
  // The menu bar mirrors the program's menus, also after they are rebuilt for a tuning.
  void frameStatusBarAndMenusShowTheProgram() {
    QCOMPARE(window().windowTitle(), QString("Brenavo: Aprenda A Tocar Acordeon"));
    QVERIFY(window().minimumSize() == QSize(800, 600) && window().maximumSize() == QSize(800, 600));
    QVERIFY(!(window().windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window().pos(), qt::centredWindowOrigin(QGuiApplication::primaryScreen()->size()));
    const QWidget& canvas = window().canvas();
    QCOMPARE(canvas.mapTo(&window(), QPoint(0, 0)), QPoint(0, menuBar()->geometry().bottom() + 1));
    QVERIFY(canvas.width() > 745 && canvas.height() > 525);
    QCOMPARE(window().tempoBar().mapTo(&window(), QPoint(window().tempoBar().width(), 0)).x(), 800);
    const QRect status = window().statusBar()->geometry();
    QVERIFY(status.top() >= canvas.mapTo(&window(), QPoint(0, canvas.height())).y());
    QCOMPARE(status.bottom(), 599);
    for (int part = 0, left = 0; int right : {200, 430, 600, 625, 800})
      QCOMPARE(window().parts().partExtent(part++), std::pair(std::exchange(left, right), right));
    QVERIFY(mirrors(menuBar(), program().menu));
    const QImage before = t_->picture();
    program().sel.keySel2 = 3;  // A-D-G: the submenus rebuilt and the keyboards relabelled
    updateMenus(program());
    QVERIFY(mirrors(menuBar(), program().menu) && t_->picture() != before);
    // A chosen item's command arrives once its menu has had the chance to close.
    menuBar()->actions().at(1)->menu()->actions().at(2)->trigger();  // "&Cromatica"
    QTRY_COMPARE(window().parts().partText(1), QString("ESCALA: cromatica"));
  }

  void pictureShowsBothKeyboardsCaptionsAndListing() {
    const QImage image = t_->picture();
    QCOMPARE(t_->keyboardsFault(image), QString());
    const QRect blue = labelBox(t_->button(firstButtonInOctave(false)));
    const QRect red = labelBox(t_->button(firstButtonInOctave(true)));
    QVERIFY(pixelsNear(image, blue, Qt::blue) > 0 && pixelsNear(image, blue, Qt::red) == 0);
    QVERIFY(pixelsNear(image, red, Qt::red) > 0 && pixelsNear(image, red, Qt::blue) == 0);
    for (int centre : {475, 675}) {  // white captions on black bands ending at y 525
      const QRect band(centre - 30, 512, 61, 13);
      QVERIFY(pixelsNear(image, band, Qt::black, 89) > band.width() * band.height() / 2);
      QVERIFY(pixelsNear(image, band, Qt::white, 0) > 0 && isWhite(image.pixel(centre, 526)));
    }
    for (int row : {0, 14})  // the listing's first and fifteenth black step numbers
      QVERIFY(pixelsNear(image, QRect(30, 50 + row * 30, 22, 23), Qt::black, 60) > 0);
  }

  // A run greys the menus; its highlight, even when the run starts before a new choice was
  // painted, lasts through any repaint that is not a full invalidation, until the run ends.
  void highlightLastsUntilTheRunEnds() {
    const QPoint first = t_->button(t_->firstOfScale());
    SendCommand(program(), IDM_SCALE_NOTES);  // the picture is out of date until painted
    QTest::keyClick(&window(), Qt::Key_F5);
    window().desktop().killTimer(IDM_PLAY_TIMER);  // the test gives the ticks itself
    QVERIFY(!menuBar()->actions().at(0)->isEnabled() && mirrors(menuBar(), program().menu));
    window().canvas().repaint();
    window().hide();
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QCOMPARE(circleFault(t_->picture(), first, qRgb(255, 255, 0)), QString());
    for (int tick = 0; tick < 40 && program().sel.ctrlPlay; ++tick)
      window().desktop().send(WM_TIMER, IDM_PLAY_TIMER);
    QCOMPARE(circleFault(t_->picture(), first), QString());
    QVERIFY(menuBar()->actions().at(0)->isEnabled() && mirrors(menuBar(), program().menu));
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
      QVERIFY(program().sel.vPos == turn.tempo && bar.value() == turn.tempo);
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
    option.sliderPosition = bar.value();
    option.pageStep = bar.pageStep();
    const auto place = [&](QStyle::SubControl part) {
      return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
    };
    QCOMPARE(place(QStyle::SC_ScrollBarSlider).height(),
             bar.style()->pixelMetric(QStyle::PM_ScrollBarSliderMin, &option, &bar));
    received.clear();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, place(QStyle::SC_ScrollBarAddPage).center());
    QCOMPARE(wParamsOf(WM_VSCROLL), (std::vector<uintptr_t>{SB_PAGEDOWN, SB_ENDSCROLL}));
    QVERIFY(program().sel.vPos == 6 && bar.value() == 6);
  }

  // Every key of the table works with the focus in the help viewer F1 opened, and the
  // tempo bar follows the tempo; no key works in an open menu nor under a modal dialog.
  void keysWorkFromEveryWindowButNotInMenusOrUnderAModalDialog() {
    QTest::keyClick(&window(), Qt::Key_F1);
    auto* viewer = window().findChild<QTextBrowser*>("helpViewer");
    QVERIFY(viewer && viewer->isVisible());
    viewer->windowHandle()->requestActivate();
    QVERIFY(QTest::qWaitFor([viewer] { return QApplication::activeWindow() == viewer; }));
    viewer->setFocus();
    commandsNotRun = {IDM_EXIT, IDM_HELP, IDM_DIALOGBOX_OPTIONS};  // they open windows
    for (const Accelerator& accelerator : ACCELERATORS) {
      received.clear();
      const QKeyCombination key = QKeySequence(accelerator.keys)[0];
      QTest::keyClick(viewer, key.key(), key.keyboardModifiers());
      QVERIFY2(!wParamsOf(WM_COMMAND).empty(), accelerator.keys);
      QCOMPARE(wParamsOf(WM_COMMAND).front(), uintptr_t(accelerator.commandId));
      QCOMPARE(window().tempoBar().value(), program().sel.vPos);
      if (accelerator.commandId == IDPB_PLAY) QCOMPARE(program().sel.ctrlPlay, 1);
    }
    QVERIFY(!program().sel.ctrlPlay && !program().sel.ctrlPause);  // F8 stopped the run
    // F10 is the slower-tempo key here, not the key that opens the menu bar.
    QVERIFY(QApplication::activePopupWidget() == nullptr && menuBar()->activeAction() == nullptr);
    menuBar()->actions().at(1)->menu()->popup({});
    QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_F9);
    QApplication::activePopupWidget()->close();
    commandsNotRun.clear();
    whenModal([](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_F9); });
    received.clear();
    QTest::keyClick(viewer, Qt::Key_F2);
    QCOMPARE(wParamsOf(WM_COMMAND).front(), uintptr_t{IDM_DIALOGBOX_OPTIONS});
    QCOMPARE(program().sel.vPos, 1);  // F9 neither in the menu nor in the dialog
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
