#include "platform/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTranslator>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "app/brenavo_funcs.h"
#include "display/status_bar.h"
#include "platform/qt/canvas.h"
#include "platform/qt/live_input.h"
#include "platform/qt/periodic_timer.h"
#include "platform/qt/program_icon.h"
#include "platform/qt/qt_audio_input.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/program_text.h"
#include "platform/qt/qt_help.h"
#include "platform/qt/qt_print.h"
#include "platform/qt/resources.h"
#include "playback/transport.h"
#include "selection/menus.h"

namespace brenavo::qt {

namespace {

constexpr int MESSAGE_BOX_BUTTONS = 0x0F;
constexpr int MESSAGE_BOX_ICON = 0xF0;
constexpr int BUTTON_BEVEL = 2;  // the edge of a bitmap button that its image leaves free
constexpr int WHEEL_NOTCH = 120;  // the angle delta of one notch of a mouse wheel

// The scroll code a user action on the tempo bar reports; -1 for none.
int scrollCodeFor(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
      return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
      return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
      return SB_PAGEDOWN;
    case QAbstractSlider::SliderMove:
      return SB_THUMBTRACK;
    default:
      return -1;
  }
}

// The "Controles" frame: a caption bar over a grey body.
class ControlsFrame : public QWidget {
 public:
  ControlsFrame(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    const QRect captionBar(0, 0, width(), fontMetrics().height() + 4);
    painter.fillRect(captionBar, palette().color(QPalette::Highlight));
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(captionBar.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QString caption_;
};

}  // namespace

bool installSpanishQtTranslation(QTranslator& translator) {
  return translator.load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
         QCoreApplication::installTranslator(&translator);
}

QPoint centredWindowOrigin(const QSize& screen) {
  return {(screen.width() - WINDOW_WIDTH) / 2, (screen.height() - WINDOW_HEIGHT) / 2};
}

// ---- PartedStatusBar

PartedStatusBar::PartedStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
}

void PartedStatusBar::setParts(const std::vector<int>& rightEdges) {
  qDeleteAll(parts_);
  parts_.clear();
  rightEdges_ = rightEdges;
  texts_.assign(rightEdges_.size(), QString());
  for (size_t i = 0; i < rightEdges_.size(); ++i) {
    auto* part = new QLabel(this);
    part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    part->setTextFormat(Qt::PlainText);
    part->setIndent(3);
    part->show();
    parts_.push_back(part);
  }
  placeParts();
  fitFont();
}

void PartedStatusBar::setPossibleTexts(const std::vector<QStringList>& textsByPart) {
  possibleTexts_ = textsByPart;
  fitFont();
}

void PartedStatusBar::setPartText(int part, const QString& text) {
  if (part < 0 || static_cast<size_t>(part) >= parts_.size()) return;
  texts_[part] = text;
  showText(part);
}

QString PartedStatusBar::partText(int part) const {
  if (part < 0 || static_cast<size_t>(part) >= texts_.size()) return {};
  return texts_[part];
}

std::pair<int, int> PartedStatusBar::partExtent(int part) const {
  if (part < 0 || static_cast<size_t>(part) >= parts_.size()) return {0, 0};
  const QRect place = parts_[part]->geometry();
  return {place.left(), place.left() + place.width()};
}

void PartedStatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  placeParts();
}

void PartedStatusBar::changeEvent(QEvent* event) {
  QStatusBar::changeEvent(event);
  if (event->type() == QEvent::FontChange) fitFont();
}

void PartedStatusBar::placeParts() {
  int left = 0;
  for (size_t i = 0; i < parts_.size(); ++i) {
    parts_[i]->setGeometry(left, 0, rightEdges_[i] - left, height());
    left = rightEdges_[i];
    showText(static_cast<int>(i));
  }
}

// The width a part's label leaves its text: inside the frame, after the indent.
int PartedStatusBar::textRoom(int part) const {
  return parts_[part]->contentsRect().width() - std::max(parts_[part]->indent(), 0);
}

bool PartedStatusBar::fits(const QFont& font, int part, const QString& text) const {
  const QFontMetrics metrics(font, parts_[part]);
  return metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::TextSingleLine, text).width() <=
         textRoom(part);
}

bool PartedStatusBar::allFit(const QFont& font) const {
  for (size_t part = 0; part < parts_.size() && part < possibleTexts_.size(); ++part)
    for (const QString& text : possibleTexts_[part])
      if (!fits(font, static_cast<int>(part), text)) return false;
  return true;
}

// The bar's own font, half a point smaller at a time down to 7 points (9 pixels for a
// font sized in pixels) while some text would not fit its part.
void PartedStatusBar::fitFont() {
  constexpr qreal SMALLEST_POINTS = 7.0;
  constexpr int SMALLEST_PIXELS = 9;
  QFont chosen = font();
  while (!allFit(chosen)) {
    if (chosen.pointSizeF() > SMALLEST_POINTS)
      chosen.setPointSizeF(std::max(chosen.pointSizeF() - 0.5, SMALLEST_POINTS));
    else if (chosen.pointSizeF() <= 0 && chosen.pixelSize() > SMALLEST_PIXELS)
      chosen.setPixelSize(chosen.pixelSize() - 1);
    else
      break;
  }
  for (size_t part = 0; part < parts_.size(); ++part) {
    parts_[part]->setFont(chosen);
    showText(static_cast<int>(part));
  }
}

void PartedStatusBar::showText(int part) {
  QLabel& label = *parts_[part];
  const QString& text = texts_[part];
  const bool whole = fits(label.font(), part, text);
  label.setText(whole ? text
                      : QFontMetrics(label.font(), &label)
                            .elidedText(text, Qt::ElideRight, textRoom(part)));
  label.setToolTip(whole ? QString() : text);
}

// ---- QtPlatform

QtPlatform::QtPlatform(MainWindow& window, platform::MidiDevice& midi, platform::KeyStore& keyStore)
    : window_(window),
      dialogs_(std::make_unique<QtDialogs>(&window)),
      help_(std::make_unique<QtHelp>(&window)),
      liveInput_(std::make_unique<LiveInput>(
          window, window.canvas(),
          [this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
            send(message, wParam, lParam);
          })),
      printer_(std::make_unique<QtPrinter>(&window)),
      audioInput_(std::make_unique<QtAudioInput>()),
      services_{*this, *this,     *this,  *this,     *this,   *this,        *this,
                *dialogs_, *help_, midi,  keyStore, *printer_, *audioInput_} {
  window_.canvas().setPaintHandler([this](platform::Surface& surface) {
    send(WM_PAINT, 0, reinterpret_cast<intptr_t>(&surface));
  });
  installAccelerators();
  connectTempoBar();
}

// The canvas outlives the platform inside the window; it must not paint through it.
QtPlatform::~QtPlatform() { window_.canvas().setPaintHandler({}); }

void QtPlatform::attach(Program& program) {
  program_ = &program;
  window_.canvas().invalidate();
}

// Remembers when the outermost message arrived: a timer it starts counts from then. The
// menu bar is brought up to date once the outermost message has been handled.
void QtPlatform::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!program_) return;
  if (messageDepth_++ == 0) messageArrivedNs_ = monotonicNs();
  SendMessage(*program_, message, wParam, lParam);
  if (--messageDepth_ == 0 && menuToMirror_ != nullptr)
    mirrorMenuBar(*std::exchange(menuToMirror_, nullptr));
}

void QtPlatform::takeDownForGood() {
  windowGoing_ = true;
  send(WM_DESTROY);
}

// The keys work in every window of the program, the help viewer too, but not while a
// modal dialog or message box is up (Qt holds application shortcuts back then) nor while
// a menu is open.
void QtPlatform::installAccelerators() {
  for (const Accelerator& accelerator : ACCELERATORS) {
    auto* shortcut = new QShortcut(
        QKeySequence::fromString(QString::fromLatin1(accelerator.keys)), &window_);
    shortcut->setContext(Qt::ApplicationShortcut);
    const int id = accelerator.commandId;
    connect(shortcut, &QShortcut::activated, this, [this, id] {
      if (!QApplication::activePopupWidget()) sendCommand(id);
    });
  }
}

// ---- Window

void QtPlatform::invalidate() { window_.canvas().invalidate(); }

void QtPlatform::show() { window_.show(); }

platform::Size QtPlatform::screenSize() {
  const QSize size = QGuiApplication::primaryScreen()->size();
  return {size.width(), size.height()};
}

void QtPlatform::postQuit(int exitCode) {
  quitCode_ = exitCode;
  if (!windowGoing_) QCoreApplication::exit(exitCode);
}

std::unique_ptr<platform::Surface> QtPlatform::getDC() { return window_.canvas().drawingSurface(); }

// ---- MenuBar

namespace {

// Brings the mirror's enabled states up to date where its items are still the model's;
// false as soon as an item differs, and the bar must be built again.
bool syncEnabledStates(const QList<QAction*>& actions, const Menu& menu) {
  static const Menu noItems;
  if (actions.size() != static_cast<qsizetype>(menu.items.size())) return false;
  for (qsizetype i = 0; i < actions.size(); ++i) {
    const MenuItem& item = menu.items[static_cast<size_t>(i)];
    QAction* action = actions[i];
    if ((item.kind == MenuItem::Kind::Separator) != action->isSeparator()) return false;
    if (item.kind == MenuItem::Kind::Separator) continue;
    if (action->text() != fromProgramText(item.label)) return false;
    if (item.kind == MenuItem::Kind::Popup) {
      if (!action->menu() ||
          !syncEnabledStates(action->menu()->actions(), item.popup ? *item.popup : noItems))
        return false;
    } else if (action->menu() || action->data().toInt() != item.id) {
      return false;
    }
    action->setEnabled(!item.grayed);
  }
  return true;
}

}  // namespace

// Inside a message the bar waits for the message's end: a step that ends one run of a
// loop and starts the next enables and greys the bar again before its first note, and
// updating the bar's actions takes milliseconds.
void QtPlatform::redraw(const Menu& menu) {
  if (messageDepth_ > 0)
    menuToMirror_ = &menu;
  else
    mirrorMenuBar(menu);
}

// Where only enabled states changed (greying the bar during playback) the mirror is
// updated in place; otherwise the whole bar is built again from the model. A chosen item's
// command is queued, so it runs after its menu has closed and never while the menu is
// being replaced.
void QtPlatform::mirrorMenuBar(const Menu& menu) {
  QMenuBar* bar = window_.menuBar();
  if (syncEnabledStates(bar->actions(), menu)) return;
  bar->clear();
  for (QMenu* old : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
    old->deleteLater();
  mirrorItems(*bar, menu);
}

template <typename Container>
void QtPlatform::mirrorItems(Container& container, const Menu& menu) {
  static const Menu noItems;
  for (const MenuItem& item : menu.items) {
    const QString label = fromProgramText(item.label);
    if (item.kind == MenuItem::Kind::Separator) {
      container.addSeparator();
    } else if (item.kind == MenuItem::Kind::Popup) {
      auto* popup = new QMenu(label, &container);
      mirrorItems(*popup, item.popup ? *item.popup : noItems);
      container.addMenu(popup)->setEnabled(!item.grayed);
    } else {
      // A TAB in the label puts the key hint in the menu's shortcut column.
      QAction* action = container.addAction(label);
      action->setEnabled(!item.grayed);
      action->setData(item.id);
      const int id = item.id;
      connect(
          action, &QAction::triggered, this, [this, id] { sendCommand(id); }, Qt::QueuedConnection);
    }
  }
}

// ---- StatusBar

void QtPlatform::createBar(const int* rightEdges, int parts, const std::string& firstText) {
  window_.parts().setParts(std::vector<int>(rightEdges, rightEdges + std::max(parts, 0)));
  std::vector<QStringList> possibleTexts;
  for (const std::vector<std::string>& partTexts : everyStatusText()) {
    QStringList& texts = possibleTexts.emplace_back();
    for (const std::string& text : partTexts) texts << fromProgramText(text);
  }
  window_.parts().setPossibleTexts(possibleTexts);
  window_.parts().setPartText(0, fromProgramText(firstText));
}

void QtPlatform::setText(int part, const std::string& text) {
  window_.parts().setPartText(part, fromProgramText(text));
}

// ---- Timer

void QtPlatform::setTimer(int id, int periodMs) {
  std::unique_ptr<PeriodicTimer>& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<PeriodicTimer>(
        [this, id] { send(WM_TIMER, static_cast<uintptr_t>(id), 0); });
  }
  timer->start(periodMs, messageDepth_ > 0 ? messageArrivedNs_ : monotonicNs());
}

void QtPlatform::killTimer(int id) {
  const auto found = timers_.find(id);
  if (found != timers_.end()) found->second->stop();
}

bool QtPlatform::isTimerRunning(int id) const {
  const auto found = timers_.find(id);
  return found != timers_.end() && found->second->isActive();
}

// ---- ScrollBar: the tempo bar. Values set here are not reported back as user actions.

void QtPlatform::setRange(int minimum, int maximum) {
  window_.tempoBar().setRange(minimum, maximum);
}

void QtPlatform::setPos(int position) { window_.tempoBar().setValue(position); }

void QtPlatform::connectTempoBar() {
  QScrollBar& bar = window_.tempoBar();
  connect(&bar, &QAbstractSlider::actionTriggered, this,
          [this](int action) { onTempoBarAction(action); });
  // Letting go of the thumb reports where it was left, then the end of the scroll.
  connect(&bar, &QAbstractSlider::sliderReleased, this, [this] {
    sendScroll(SB_THUMBPOSITION, window_.tempoBar().sliderPosition());
    sendScroll(SB_ENDSCROLL, 0);
  });
  bar.installEventFilter(this);
}

void QtPlatform::onTempoBarAction(int action) {
  const int code = scrollCodeFor(action);
  if (code < 0) return;
  if (mouseOnTempoBar_) ++mouseScrollActions_;
  sendScroll(code, code == SB_THUMBTRACK ? window_.tempoBar().sliderPosition() : 0);
}

void QtPlatform::sendScroll(int code, int position) {
  const auto wParam =
      (static_cast<uintptr_t>(position & 0xFFFF) << 16) | static_cast<uintptr_t>(code & 0xFFFF);
  send(WM_VSCROLL, wParam, 0);
}

// The wheel turns the tempo bar by whole notches; a click on an arrow or beside the thumb
// ends, like a drag, with the end of the scroll.
bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_.tempoBar()) {
    if (event->type() == QEvent::Wheel) {
      onTempoBarWheel(static_cast<QWheelEvent&>(*event));
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
      mouseOnTempoBar_ = true;
      mouseScrollActions_ = 0;
    } else if (event->type() == QEvent::MouseButtonRelease && mouseOnTempoBar_) {
      mouseOnTempoBar_ = false;
      if (mouseScrollActions_ > 0 && !window_.tempoBar().isSliderDown())
        sendScroll(SB_ENDSCROLL, 0);
    }
  }
  return QObject::eventFilter(watched, event);
}

// Each whole notch the wheel has turned, small trackpad deltas added up, is one line step
// as from an arrow, and the turn ends with the end of the scroll as a click does.
void QtPlatform::onTempoBarWheel(const QWheelEvent& event) {
  wheelTurn_ += event.angleDelta().y();
  const int notches = wheelTurn_ / WHEEL_NOTCH;
  if (notches == 0) return;
  wheelTurn_ -= notches * WHEEL_NOTCH;
  const auto step =
      notches > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
  for (int n = 0; n < std::abs(notches); ++n) window_.tempoBar().triggerAction(step);
  sendScroll(SB_ENDSCROLL, 0);
}

// ---- Controls: children of the client area, at client coordinates.

void QtPlatform::createControl(const platform::ControlLayout& description) {
  QWidget* control = std::string_view(description.kind) == "STATIC" ? makeFrame(description) : makeButton(description);
  control->setGeometry(description.x, description.y, description.width, description.height);
  control->show();
  controls_[description.id] = control;
}

QWidget* QtPlatform::makeFrame(const platform::ControlLayout& description) {
  return new ControlsFrame(fromProgramText(description.text), &window_.canvas());
}

QWidget* QtPlatform::makeButton(const platform::ControlLayout& description) {
  auto* button = new QPushButton(fromProgramText(description.text), &window_.canvas());
  const QPixmap image(QStringLiteral(":/bitmaps/%1.bmp").arg(QString::fromUtf8(description.image)));
  if (!image.isNull()) {
    // The image fills the face of the button; its outer pixels would hide the bevel.
    const QRect face =
        image.rect().adjusted(BUTTON_BEVEL, BUTTON_BEVEL, -BUTTON_BEVEL, -BUTTON_BEVEL);
    // Pixel art: doubled pixel by pixel for high-density screens rather than blurred.
    const QPixmap picture = image.copy(face);
    QIcon icon(picture);
    icon.addPixmap(picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    button->setIcon(icon);
    button->setIconSize(face.size());
  }
  const int id = description.id;
  connect(button, &QPushButton::clicked, this, [this, id] { sendCommand(id); });
  return button;
}

void QtPlatform::setFocus(int id) {
  if (QWidget* target = control(id)) target->setFocus(Qt::OtherFocusReason);
}

QWidget* QtPlatform::control(int id) const {
  const auto found = controls_.find(id);
  return found != controls_.end() ? found->second.data() : nullptr;
}

// ---- Messages

void QtPlatform::beep() { QApplication::beep(); }

int QtPlatform::messageBox(const std::string& text, const std::string& caption, int style) {
  const bool yesNo = (style & MESSAGE_BOX_BUTTONS) == MB_YESNO;
  QMessageBox box(&window_);
  box.setWindowTitle(fromProgramText(caption));
  box.setText(fromProgramText(text));
  box.setTextFormat(Qt::PlainText);
  box.setIcon((style & MESSAGE_BOX_ICON) == MB_ICONEXCLAMATION ? QMessageBox::Warning
                                                               : QMessageBox::NoIcon);
  box.setStandardButtons(yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
  const int answer = box.exec();
  if (!yesNo) return IDOK;
  return answer == QMessageBox::Yes ? IDYES : IDNO;
}

// ---- MainWindow

MainWindow::MainWindow(platform::MidiDevice& midi, platform::KeyStore& keyStore) {
  registerResources();
  setObjectName(QString::fromLatin1(szWinName));
  setWindowTitle(QString::fromUtf8(WINDOW_TITLE));
  setWindowIcon(programIcon());
  // A caption with the system menu, minimize and close boxes; no maximize, no sizing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(WINDOW_WIDTH, WINDOW_HEIGHT);
  menuBar()->setNativeMenuBar(false);

  auto* client = new QWidget(this);
  auto* layout = new QHBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  canvas_ = new Canvas(client);
  layout->addWidget(canvas_, 1);
  tempoBar_ = new QScrollBar(Qt::Vertical, client);
  tempoBar_->setFocusPolicy(Qt::NoFocus);
  tempoBar_->setContextMenuPolicy(Qt::NoContextMenu);
  tempoBar_->setSingleStep(LINE_STEP);
  // No page size: the thumb is the smallest the style draws. A click beside it still
  // reports a page step, and the program moves the tempo by a page itself.
  tempoBar_->setPageStep(0);
  layout->addWidget(tempoBar_);
  setCentralWidget(client);
  statusParts_ = new PartedStatusBar(this);
  setStatusBar(statusParts_);
  move(centredWindowOrigin(QGuiApplication::primaryScreen()->size()));

  platform_ = std::make_unique<QtPlatform>(*this, midi, keyStore);
  program_ = CreateMainWindow(platform_->services());
  platform_->attach(*program_);
}

// However the event loop ended, the program is taken down once: its settings are saved
// and the MIDI output reset.
MainWindow::~MainWindow() {
  if (program_ && !program_->destroyed) platform_->takeDownForGood();
}

// The close box takes the program down the same way as the exit command, once.
void MainWindow::closeEvent(QCloseEvent* event) {
  if (program_ && !program_->destroyed) platform_->send(WM_DESTROY);
  event->accept();
}

}  // namespace brenavo::qt
