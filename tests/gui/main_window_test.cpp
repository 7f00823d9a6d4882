// The main window as a person meets it: frame, keys, menus, status and tempo bars, picture.
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>

#include "gui_test_support.h"
#include "selection/menus.h"

using namespace brenavo;
using namespace brenavo::guitest;

// Whether a Qt menu mirrors the program's menu: texts, greying, commands and submenus.
static bool mirrors(QWidget* shown, const Menu& menu) {
  bool same = shown->actions().size() == GetMenuItemCount(menu);
  for (int i = 0; same && i < shown->actions().size(); ++i) {
    const MenuItem& m = menu.items[static_cast<size_t>(i)];
    const QAction& a = *shown->actions()[i];
    same = a.isSeparator()
               ? m.kind == MenuItem::Kind::Separator
               : a.text() == QString::fromStdString(m.label) && a.isEnabled() != m.grayed &&
                     (m.popup ? mirrors(a.menu(), *m.popup) : a.data() == m.id);
  }
  return same;
}

class MainWindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestWindow> t_;
  qt::MainWindow& window() { return *t_->window; }
  Program& program() { return t_->program(); }
  QMenuBar* menuBar() { return window().menuBar(); }

 private slots:
  void init() {
    t_ = std::make_unique<TestWindow>();
    QVERIFY(t_->showActive());
  }

  // A fixed, centred frame, the client area past all drawn (x 745, y 525). A run's highlight,
  // though started before a new choice was painted, outlasts repaints until the run ends.
  void frameMenusAndPictureShowTheProgram() {
    QCOMPARE(window().windowTitle(), QString("Brenavo: Aprenda A Tocar Acordeon"));
    QVERIFY(window().minimumSize() == QSize(800, 600) && window().maximumSize() == QSize(800, 600) &&
            !(window().windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window().pos(), qt::centredWindowOrigin(QGuiApplication::primaryScreen()->size()));
    const QRect client(window().canvas().mapTo(&window(), QPoint()), window().canvas().size());
    const QRect status = window().statusBar()->geometry();
    QVERIFY(client.top() == menuBar()->geometry().bottom() + 1 && client.right() > 745 &&
            client.height() > 525 && status.top() > client.bottom() && status.bottom() == 599);
    QCOMPARE(window().tempoBar().mapTo(&window(), QPoint(window().tempoBar().width(), 0)).x(), 800);
    for (int part = 0, left = 0; int right : {200, 430, 600, 625, 800})
      QCOMPARE(window().parts().partExtent(part++), std::pair(std::exchange(left, right), right));
    QCOMPARE(t_->keyboardsFault(t_->picture()), -1);
    const QPoint first = t_->button(t_->firstOfScale());
    SendCommand(program(), IDM_SCALE_NOTES);  // the picture is out of date until painted
    QTest::keyClick(&window(), Qt::Key_F5), window().desktop().killTimer(IDM_PLAY_TIMER);  // ticks given here
    QVERIFY(!menuBar()->actions().at(0)->isEnabled() && mirrors(menuBar(), program().menu));
    window().hide(), window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QVERIFY(circleOk(t_->picture(), first, qRgb(255, 255, 0)));
    for (int tick = 0; tick < 40 && program().sel.ctrlPlay; ++tick)
      window().desktop().send(WM_TIMER, IDM_PLAY_TIMER);
    const QImage after = t_->picture();
    QVERIFY(circleOk(after, first) && menuBar()->actions().at(0)->isEnabled() &&
            mirrors(menuBar(), program().menu));
    program().sel.keySel2 = 3, updateMenus(program());  // A-D-G: submenus rebuilt, keyboards relabelled
    QVERIFY(mirrors(menuBar(), program().menu) && t_->picture() != after);
    menuBar()->actions().at(1)->menu()->actions().at(2)->trigger();  // "&Cromatica", sent later
    QTRY_COMPARE(window().parts().partText(1), QString("ESCALA: cromatica"));
  }

  // A wheel notch is a line step (small turns add up), a click below the thumb a page. Every
  // key works from the help viewer F1 opened, but not in an open menu nor a modal dialog.
  void tempoBarAndKeysWorkFromEveryWindowButNotInMenusOrUnderAModalDialog() {
    QScrollBar& bar = window().tempoBar();
    const QPointF at = bar.rect().center();
    std::vector<int> tempos;  // the program's and the bar's after each turn
    for (int delta : {-120, -60, -60, 120}) {
      QWheelEvent wheel(at, bar.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(&bar, &wheel);
      tempos.insert(tempos.end(), {program().sel.vPos, bar.value()});
    }
    QCOMPARE(bar.pageStep(), 0);  // so the thumb is as short as the style draws one
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {bar.width() / 2, bar.height() - 2 * bar.width()});
    tempos.insert(tempos.end(), {program().sel.vPos, bar.value()});
    QCOMPARE(tempos, (std::vector{2, 2, 2, 2, 3, 3, 2, 2, 7, 7}));
    QCOMPARE(wParamsOf(WM_VSCROLL), (std::vector<uintptr_t>{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEDOWN,
                                                            SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL,
                                                            SB_PAGEDOWN, SB_ENDSCROLL}));
    QTest::keyClick(&window(), Qt::Key_F1);
    auto* viewer = window().findChild<QTextBrowser*>("helpViewer");
    viewer->windowHandle()->requestActivate();
    QVERIFY(QTest::qWaitFor([viewer] { return QApplication::activeWindow() == viewer; }));
    viewer->setFocus();
    commandsNotRun = {IDM_EXIT, IDM_HELP, IDM_DIALOGBOX_OPTIONS, IDM_EXPORT,  // they open windows
                      IDM_PRACTICE_WAIT};  // it listens, or says there is no microphone
    for (const Accelerator& accelerator : ACCELERATORS) {
      received.clear();
      const QKeyCombination key = QKeySequence(accelerator.keys)[0];
      QTest::keyClick(viewer, key.key(), key.keyboardModifiers());
      QCOMPARE(received.at(0), std::pair(WM_COMMAND, uintptr_t(accelerator.commandId)));
      QVERIFY(bar.value() == program().sel.vPos &&
              (accelerator.commandId != IDPB_PLAY || program().sel.ctrlPlay == 1));
    }
    QVERIFY(!program().sel.ctrlPlay && !program().sel.ctrlPause);  // F8 stopped the run
    QVERIFY(!QApplication::activePopupWidget() && !menuBar()->activeAction());  // F10 opened none
    const int tempo = program().sel.vPos;
    menuBar()->actions().at(1)->menu()->popup({});
    QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_F9);
    QApplication::activePopupWidget()->close(), commandsNotRun.clear();
    bool pressed = false;
    whenModal([&](QDialog& dialog) { pressed = (QTest::keyClick(&dialog, Qt::Key_F9), true); });
    QTest::keyClick(viewer, Qt::Key_F2);  // the options dialog
    QVERIFY(pressed && program().sel.vPos == tempo);  // F9 neither in the menu nor the dialog
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
