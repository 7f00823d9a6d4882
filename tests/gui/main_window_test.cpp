// The main window as a person meets it: its frame, keys, menus, status bar, tempo bar,
// transport buttons and the picture on its client area, with a recording MIDI device
// and settings store in place of the real ones.
#include "platform/qt/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QTranslator>
#include <QtTest>
#include <memory>
#include <set>
#include <vector>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "platform/qt/canvas.h"
#include "selection/menus.h"

using namespace brenavo;

namespace {

struct Received {
  uint32_t message;
  uintptr_t wParam;
};

// Every message the window procedure got, in order. Commands in `commandsNotRun` are
// noted but not handed on (they would open windows of their own).
std::vector<Received> received;
std::set<int> commandsNotRun;

int32_t recordingWindowFunc(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  received.push_back({message, wParam});
  if (message == WM_COMMAND && commandsNotRun.count(static_cast<int>(wParam & 0xFFFF))) return 0;
  return WindowFunc(program, message, wParam, lParam);
}

std::vector<uintptr_t> wParamsOf(uint32_t message) {
  std::vector<uintptr_t> found;
  for (const Received& r : received)
    if (r.message == message) found.push_back(r.wParam);
  return found;
}

uintptr_t scroll(int code, int position = 0) {
  return (static_cast<uintptr_t>(position) << 16) | static_cast<uintptr_t>(code);
}

// What a message box showed before the test answered it.
struct BoxSeen {
  QString title;
  QString text;
  QString yesText;
  QString noText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QWidget* owner = nullptr;
};

// Answers the next message box that opens with `answer`.
void answerNextBox(QMessageBox::StandardButton answer, BoxSeen* seen) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    poll->stop();
    poll->deleteLater();
    seen->title = box->windowTitle();
    seen->text = box->text();
    if (QAbstractButton* yes = box->button(QMessageBox::Yes)) seen->yesText = yes->text();
    if (QAbstractButton* no = box->button(QMessageBox::No)) seen->noText = no->text();
    seen->icon = box->icon();
    seen->owner = box->parentWidget();
    box->button(answer)->click();
  });
  poll->start(5);
}

QAction* actionWithId(QWidget* container, int id) {
  for (QAction* action : container->actions()) {
    if (action->data().toInt() == id && !action->menu()) return action;
    if (QMenu* menu = action->menu())
      if (QAction* inner = actionWithId(menu, id)) return inner;
  }
  return nullptr;
}

QMenu* submenu(QWidget* container, int position) {
  return container->actions().at(position)->menu();
}

bool isDark(QRgb pixel) { return qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }
bool isWhite(QRgb pixel) { return pixel == qRgb(255, 255, 255); }
bool isYellow(QRgb pixel) { return pixel == qRgb(255, 255, 0); }

// The darkest pixel on the circle's right edge, between radius 16 and 22.
QRgb darkestOnRightEdge(const QImage& image, int x, int y) {
  QRgb darkest = qRgb(255, 255, 255);
  for (int dx = 16; dx <= 22; ++dx) {
    const QRgb pixel = image.pixel(x + dx, y);
    if (qGray(pixel) < qGray(darkest)) darkest = pixel;
  }
  return darkest;
}

// A point inside the circle, clear of the label.
QPoint insideAbove(int x, int y) { return {x, y - 16}; }

bool anyPixelNear(const QImage& image, const QRect& area, QColor colour, int tolerance) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - colour.red()) <= tolerance &&
          std::abs(pixel.green() - colour.green()) <= tolerance &&
          std::abs(pixel.blue() - colour.blue()) <= tolerance)
        return true;
    }
  return false;
}

// The first button whose note name passes `test`.
template <typename Test>
int firstButtonWhere(int tuning, Test test) {
  for (int p = 0; p < KB_POSITIONS; ++p)
    if (!isLabelSlot(p) && test(keyConfig[tuning].szNoteName[p])) return p;
  return -1;
}

bool isMiddleOctave(const char* name) {  // a capital letter, no "-"
  return QChar(name[0]).isUpper() && !QByteArray(name).contains('-');
}
bool isUpperOctave(const char* name) {  // a lower-case letter, no "+"
  return QChar(name[0]).isLower() && !QByteArray(name).contains('+');
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<fakes::RecordingPlatform> fake_;
  std::unique_ptr<qt::MainWindow> window_;
  QTranslator spanish_;

  Program& program() { return window_->program(); }
  QImage picture() { return window_->canvas().grab().toImage(); }
  QMenuBar* menuBar() { return window_->menuBar(); }
  int buttonX(int p) { return brenavo::buttonX(program(), p); }
  int buttonY(int p) { return brenavo::buttonY(program(), p); }

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }

  void init() {
    received.clear();
    commandsNotRun.clear();
    fake_ = std::make_unique<fakes::RecordingPlatform>();
    window_ = std::make_unique<qt::MainWindow>(*fake_, *fake_);
    program().windowProc = recordingWindowFunc;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

  void cleanup() {
    window_.reset();
    fake_.reset();
  }

  void frameIsFixedCentredAndTitled() {
    QCOMPARE(window_->windowTitle(), QString("Brenavo: Aprenda A Tocar Acordeon"));
    QCOMPARE(window_->size(), QSize(800, 600));
    QCOMPARE(window_->minimumSize(), QSize(800, 600));
    QCOMPARE(window_->maximumSize(), QSize(800, 600));
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!window_->windowIcon().isNull());
    QCOMPARE(window_->pos(), qt::centredWindowOrigin(QGuiApplication::primaryScreen()->size()));
    QCOMPARE(qt::centredWindowOrigin(QSize(1024, 768)), QPoint(112, 84));
    QCOMPARE(qt::centredWindowOrigin(QSize(1920, 1080)), QPoint(560, 240));
    QCOMPARE(qt::centredWindowOrigin(QSize(640, 480)), QPoint(-80, -60));
  }

  // The client area starts under the menu bar and reaches past everything the program
  // draws (x 745, y 525); the tempo bar runs down its right side, the status bar below.
  void clientAreaHoldsTheWholePicture() {
    qt::Canvas& canvas = window_->canvas();
    QCOMPARE(canvas.mapTo(window_.get(), QPoint(0, 0)),
             QPoint(0, menuBar()->geometry().bottom() + 1));
    QVERIFY2(canvas.width() > 745, qPrintable(QString::number(canvas.width())));
    QVERIFY2(canvas.height() > 525, qPrintable(QString::number(canvas.height())));
    const QRect bar = window_->tempoBar().geometry();
    QCOMPARE(window_->tempoBar().mapTo(window_.get(), QPoint(bar.width(), 0)).x(), 800);
    QCOMPARE(bar.height(), canvas.height());
    QVERIFY(window_->statusBar()->geometry().top() >=
            canvas.mapTo(window_.get(), QPoint(0, canvas.height())).y());
    QCOMPARE(window_->statusBar()->geometry().bottom(), 599);
  }

  void statusBarHasFivePartsWithTheSelection() {
    const std::pair<int, int> extents[] = {
        {0, 200}, {200, 430}, {430, 600}, {600, 625}, {625, 800}};
    for (int part = 0; part < 5; ++part) QCOMPARE(window_->parts().partExtent(part), extents[part]);
    QCOMPARE(window_->parts().partText(0), QString("TONO DE ACORDEON: G-C-F"));
    QCOMPARE(window_->parts().partText(1), QString("ESCALA: G mayor"));
    QVERIFY(window_->parts().partText(2).startsWith("FORMATO: "));
    QCOMPARE(window_->parts().partText(3), QString());
    QVERIFY(window_->parts().partText(4).startsWith("DIRECCION: "));
  }

  void acceleratorsSendTheirCommands() {
    commandsNotRun = {IDM_EXIT, IDM_HELP, IDM_DIALOGBOX_OPTIONS};
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      int command;
    } keys[] = {{Qt::Key_X, Qt::ControlModifier, IDM_EXIT},
                {Qt::Key_F1, {}, IDM_HELP},
                {Qt::Key_F2, {}, IDM_DIALOGBOX_OPTIONS},
                {Qt::Key_F5, {}, IDPB_PLAY},
                {Qt::Key_F6, {}, IDPB_LOOP},
                {Qt::Key_F7, {}, IDPB_PAUSE},
                {Qt::Key_F8, {}, IDPB_STOP},
                {Qt::Key_F9, {}, IDM_SPEED_PLUS_5},
                {Qt::Key_F10, {}, IDM_SPEED_MIN_5},
                {Qt::Key_F11, {}, IDM_SPEED_PLUS_25},
                {Qt::Key_F12, {}, IDM_SPEED_MIN_25}};
    for (const auto& k : keys) {
      received.clear();
      QTest::keyClick(window_.get(), k.key, k.modifiers);
      const std::vector<uintptr_t> commands = wParamsOf(WM_COMMAND);
      QVERIFY2(!commands.empty(), qPrintable(QKeySequence(k.key | k.modifiers).toString()));
      QCOMPARE(static_cast<int>(commands.front()), k.command);
    }
    // The tempo follows the speed keys: F9 +1, F11 +5, F10 -1, F12 -5 (from 1, at least 1).
    const struct {
      Qt::Key key;
      int vPos;
    } speeds[] = {{Qt::Key_F11, 6}, {Qt::Key_F10, 5}, {Qt::Key_F9, 6}, {Qt::Key_F12, 1}};
    for (const auto& s : speeds) {
      QTest::keyClick(window_.get(), s.key);
      QCOMPARE(program().sel.vPos, s.vPos);
      QCOMPARE(window_->tempoBar().value(), s.vPos);
    }
    // F10 is the slower-tempo key here, not the key that opens the menu bar.
    QTest::keyClick(window_.get(), Qt::Key_F10);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(menuBar()->activeAction() == nullptr);
  }

  void exitAsksInSpanishAndNoKeepsTheProgram() {
    BoxSeen seen;
    answerNextBox(QMessageBox::No, &seen);
    QTest::keyClick(window_.get(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(seen.text, QString("¿Quiere terminar con el Brenavo?"));
    QCOMPARE(seen.title, QString("Brenavo: "));
    QCOMPARE(seen.yesText, QString("&Sí"));
    QCOMPARE(seen.noText, QString("&No"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.owner, window_.get());
    QCOMPARE(wParamsOf(WM_COMMAND), std::vector<uintptr_t>{IDM_EXIT});
    QVERIFY(wParamsOf(WM_DESTROY).empty());
    QVERIFY(!program().destroyed);
    QVERIFY(!window_->desktop().quitCode().has_value());
  }

  void menuBarMirrorsTheProgramMenu() {
    QStringList titles;
    for (QAction* action : menuBar()->actions()) titles << action->text();
    QCOMPARE(titles, QStringList({"Ar&chivo", "&Escalas", "Acor&des", "Progre&siones", "&Ayuda"}));

    QMenu* file = submenu(menuBar(), 0);
    QCOMPARE(file->actions().at(0)->text(), QString("Imprimir..."));
    QVERIFY(!file->actions().at(0)->isEnabled());
    QCOMPARE(file->actions().at(1)->text(), QString("Opciones...\tF2"));
    QCOMPARE(file->actions().at(1)->data().toInt(), IDM_DIALOGBOX_OPTIONS);
    QCOMPARE(file->actions().at(2)->text(), QString("&Terminar\tCtrl+X"));

    QMenu* scales = submenu(menuBar(), 1);
    QVERIFY(scales->actions().at(1)->isSeparator());
    QVERIFY(!scales->actions().at(4)->isEnabled());  // "&Pentatonica"
    QMenu* major = submenu(submenu(scales, 3), 0);
    QCOMPARE(major->actions().size(), 15);
    for (int separator : {3, 6, 10}) QVERIFY(major->actions().at(separator)->isSeparator());
    QCOMPARE(major->actions().at(0)->text(), QString("escala de G mayor"));
    QVERIFY(major->actions().at(4)->isEnabled());
    QCOMPARE(major->actions().at(7)->text(), QString("escala de B mayor"));
    QVERIFY(!major->actions().at(7)->isEnabled());

    EnableMenuBar(program(), 0);
    for (QAction* top : menuBar()->actions()) QVERIFY(!top->isEnabled());
    EnableMenuBar(program(), 1);
    for (QAction* top : menuBar()->actions()) QVERIFY(top->isEnabled());

    // A chosen item's command arrives once its menu has had the chance to close.
    QAction* chromatic = actionWithId(menuBar(), IDM_SCALE_CHROMATIC);
    QVERIFY(chromatic);
    chromatic->trigger();
    QCOMPARE(program().sel.chromaticSel, 0);
    QTRY_VERIFY(program().sel.chromaticSel != 0);
    QCOMPARE(window_->parts().partText(1), QString("ESCALA: cromatica"));
    QVERIFY(!submenu(menuBar(), 1)->actions().at(0)->isEnabled());  // "&Formato" greyed
  }

  void pictureShowsBothKeyboardsAndCaptions() {
    const QImage image = picture();
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const int x = buttonX(p), y = buttonY(p);
      QVERIFY2(isDark(darkestOnRightEdge(image, x, y)), qPrintable(QString("outline %1").arg(p)));
      QVERIFY2(isWhite(image.pixel(insideAbove(x, y))), qPrintable(QString("inside %1").arg(p)));
      QVERIFY2(isWhite(image.pixel(x + 26, y)), qPrintable(QString("outside %1").arg(p)));
    }
    const int blueNote = firstButtonWhere(0, isMiddleOctave);
    const int redNote = firstButtonWhere(0, isUpperOctave);
    QVERIFY(blueNote >= 0 && redNote >= 0);
    const auto labelBox = [this](int p) { return QRect(buttonX(p) - 15, buttonY(p) - 11, 30, 22); };
    QVERIFY(anyPixelNear(image, labelBox(blueNote), QColor(0, 0, 255), 40));
    QVERIFY(!anyPixelNear(image, labelBox(blueNote), QColor(255, 0, 0), 40));
    QVERIFY(anyPixelNear(image, labelBox(redNote), QColor(255, 0, 0), 40));

    // White captions on black bands whose bottom edge is y = 525, under each diagram.
    for (int centre : {475, 675}) {
      int black = 0, white = 0;
      for (int y = 512; y < 525; ++y)
        for (int x = centre - 30; x <= centre + 30; ++x) {
          black += isDark(image.pixel(x, y));
          white += isWhite(image.pixel(x, y));
        }
      QVERIFY2(black > 61 * 13 / 2, qPrintable(QString::number(black)));
      QVERIFY(white > 0);
      QVERIFY(isWhite(image.pixel(centre, 526)));
    }
    // The listing: fifteen rows of the scale of G, each with its black step number.
    QVERIFY(anyPixelNear(image, QRect(30, 50, 22, 23), Qt::black, 60));
    QVERIFY(anyPixelNear(image, QRect(30, 50 + 14 * 30, 22, 23), Qt::black, 60));
    QVERIFY(window_->grab().save("/tmp/brenavo-window.png"));
  }

  // A run's highlight lasts through any repaint that is not a full invalidation.
  void highlightLastsUntilTheStepIsOver() {
    const SelectionState& sel = program().sel;
    const int first = notePats[sel.direcSel2].iFormat[sel.formatSel2].iScale[sel.scpIndex].note1[0];
    const QPoint inside = insideAbove(buttonX(first), buttonY(first));
    QVERIFY(isWhite(picture().pixel(inside)));

    QTest::keyClick(window_.get(), Qt::Key_F5);
    window_->desktop().killTimer(IDM_PLAY_TIMER);  // the test gives the ticks itself
    QCOMPARE(sel.ctrlPlay, 1);
    QVERIFY(isYellow(picture().pixel(inside)));
    window_->canvas().repaint();
    window_->hide();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QVERIFY(isYellow(picture().pixel(inside)));
    for (QAction* top : menuBar()->actions()) QVERIFY(!top->isEnabled());

    for (int tick = 0; tick < 40 && sel.ctrlPlay; ++tick)
      window_->desktop().send(WM_TIMER, IDM_PLAY_TIMER);
    QCOMPARE(sel.ctrlPlay, 0);
    QVERIFY(isWhite(picture().pixel(inside)));
    for (QAction* top : menuBar()->actions()) QVERIFY(top->isEnabled());

    // Stop repaints everything in its normal look.
    QTest::keyClick(window_.get(), Qt::Key_F5);
    window_->desktop().killTimer(IDM_PLAY_TIMER);
    QVERIFY(isYellow(picture().pixel(inside)));
    QTest::keyClick(window_.get(), Qt::Key_F8);
    QVERIFY(isWhite(picture().pixel(inside)));
  }

  void tuningChangeRelabelsButMovesNoCircle() {
    const QImage before = picture();
    program().sel.keySel = IDRB_EAD;
    program().sel.keySel2 = 1;
    SendCommand(program(), IDM_UPDATE_MENUS);
    SendCommand(program(), IDM_UPDATE_STATUS_BAR);
    const QImage after = picture();
    int relabelled = 0;
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const int x = buttonX(p), y = buttonY(p);
      QVERIFY(isDark(darkestOnRightEdge(after, x, y)));
      QCOMPARE(after.pixel(x + 26, y), before.pixel(x + 26, y));
      QVERIFY(isWhite(after.pixel(insideAbove(x, y))));
      const QRect label(x - 15, y - 11, 30, 22);
      relabelled += before.copy(label) != after.copy(label);
    }
    QVERIFY2(relabelled > 50, qPrintable(QString::number(relabelled)));
    QCOMPARE(window_->parts().partText(0), QString("TONO DE ACORDEON: E-A-D"));
    QCOMPARE(submenu(submenu(submenu(menuBar(), 1), 3), 0)->actions().at(0)->text(),
             QString("escala de E mayor"));
  }

  // The tempo bar reports what the user does to it and nothing that the program sets.
  void tempoBarReportsUserActionsOnly() {
    QScrollBar& bar = window_->tempoBar();
    QCOMPARE(bar.minimum(), 1);
    QCOMPARE(bar.maximum(), 20);
    QCOMPARE(bar.value(), program().sel.vPos);

    const struct {
      QAbstractSlider::SliderAction action;
      int code;
      int vPos;
    } clicks[] = {{QAbstractSlider::SliderSingleStepAdd, SB_LINEDOWN, 2},
                  {QAbstractSlider::SliderPageStepAdd, SB_PAGEDOWN, 7},
                  {QAbstractSlider::SliderSingleStepSub, SB_LINEUP, 6},
                  {QAbstractSlider::SliderPageStepSub, SB_PAGEUP, 1}};
    for (const auto& click : clicks) {
      received.clear();
      bar.triggerAction(click.action);
      QCOMPARE(wParamsOf(WM_VSCROLL), std::vector<uintptr_t>{scroll(click.code)});
      QCOMPARE(program().sel.vPos, click.vPos);
      QCOMPARE(bar.value(), click.vPos);
    }

    received.clear();
    bar.setSliderDown(true);
    bar.setSliderPosition(12);
    bar.setSliderDown(false);
    QCOMPARE(wParamsOf(WM_VSCROLL),
             (std::vector<uintptr_t>{scroll(SB_THUMBTRACK, 12), scroll(SB_THUMBPOSITION, 12),
                                     scroll(SB_ENDSCROLL)}));
    QCOMPARE(program().sel.vPos, 12);

    // A click on the lower arrow: one line down, then the end of the scroll.
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    const QRect arrow = bar.style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                    QStyle::SC_ScrollBarAddLine, &bar);
    received.clear();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, arrow.center());
    QCOMPARE(wParamsOf(WM_VSCROLL),
             (std::vector<uintptr_t>{scroll(SB_LINEDOWN), scroll(SB_ENDSCROLL)}));
    QCOMPARE(program().sel.vPos, 13);

    // The speed key moves the bar through the program, which the bar does not echo.
    received.clear();
    QTest::keyClick(window_.get(), Qt::Key_F9);
    QCOMPARE(wParamsOf(WM_VSCROLL), std::vector<uintptr_t>{scroll(SB_LINEDOWN)});
    QCOMPARE(bar.value(), 14);
  }

  void transportControlsSitWhereTheProgramPutsThem() {
    commandsNotRun = {IDPB_PLAY, IDPB_LOOP, IDPB_PAUSE, IDPB_STOP};
    QWidget* frame = window_->desktop().control(IDC_CONTROLS_FRAME);
    QVERIFY(frame);
    QCOMPARE(frame->parentWidget(), &window_->canvas());
    QCOMPARE(frame->geometry(), QRect(285, 180, 80, 155));
    const int ids[] = {IDPB_PLAY, IDPB_LOOP, IDPB_PAUSE, IDPB_STOP};
    received.clear();
    for (int i = 0; i < 4; ++i) {
      auto* button = qobject_cast<QPushButton*>(window_->desktop().control(ids[i]));
      QVERIFY(button);
      QCOMPARE(button->geometry(), QRect(300, 210 + 30 * i, 50, 25));
      QVERIFY(!button->icon().isNull());
      QVERIFY(button->isVisible());
      QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(wParamsOf(WM_COMMAND),
             (std::vector<uintptr_t>{IDPB_PLAY, IDPB_LOOP, IDPB_PAUSE, IDPB_STOP}));
    window_->desktop().setFocus(IDPB_PAUSE);
    QCOMPARE(QApplication::focusWidget(), window_->desktop().control(IDPB_PAUSE));
    window_->desktop().setFocus(IDC_CONTROLS_FRAME);
    QCOMPARE(QApplication::focusWidget(), frame);
  }

  void timerTicksArriveAsTimerMessagesUntilKilled() {
    window_->desktop().setTimer(IDM_PLAY_TIMER, 1);
    QVERIFY(window_->desktop().isTimerRunning(IDM_PLAY_TIMER));
    QTRY_VERIFY(wParamsOf(WM_TIMER).size() >= 2);
    for (uintptr_t id : wParamsOf(WM_TIMER)) QCOMPARE(static_cast<int>(id), IDM_PLAY_TIMER);
    window_->desktop().killTimer(IDM_PLAY_TIMER);
    QVERIFY(!window_->desktop().isTimerRunning(IDM_PLAY_TIMER));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
