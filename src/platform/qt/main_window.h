// The main window: a fixed 800 x 600 frame with the menu bar, the client area with its
// own tempo scroll bar, and the status bar; and QtPlatform, which gives the program the
// desktop services it asks for and turns every Qt event into a message to it.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QStatusBar>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/program.h"
#include "platform/platform.h"

class QLabel;
class QScrollBar;
class QTranslator;
class QWheelEvent;

namespace brenavo {
class QtDialogs;
class QtHelp;
}  // namespace brenavo

namespace brenavo::qt {

class Canvas;
class LiveInput;
class QtAudioInput;
class PeriodicTimer;
class QtPrinter;

// Loads Qt's own Spanish texts (message box buttons and the like) and installs them.
// False when the translation file is missing; the buttons then read "&Yes", "&No", "OK".
bool installSpanishQtTranslation(QTranslator& translator);

// Top left corner of an 800 x 600 window centred on a screen of the given size.
QPoint centredWindowOrigin(const QSize& screen);

// A status bar cut into parts with fixed right edges, in pixels from its left. Its texts
// are written in the bar's font, made smaller until every text a part can show fits it;
// a text that still does not fit is cut short with "..." and shown whole in a tooltip.
class PartedStatusBar : public QStatusBar {
 public:
  explicit PartedStatusBar(QWidget* parent = nullptr);
  void setParts(const std::vector<int>& rightEdges);
  // The texts each part can show, part by part; the font is chosen for them.
  void setPossibleTexts(const std::vector<QStringList>& textsByPart);
  void setPartText(int part, const QString& text);
  // The whole text of a part, as it was set.
  QString partText(int part) const;
  // Left and right edge of a part.
  std::pair<int, int> partExtent(int part) const;
  // The label that shows a part.
  const QLabel& partLabel(int part) const { return *parts_.at(part); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void placeParts();
  int textRoom(int part) const;
  bool fits(const QFont& font, int part, const QString& text) const;
  bool allFit(const QFont& font) const;
  void fitFont();
  void showText(int part);
  std::vector<int> rightEdges_;
  std::vector<QLabel*> parts_;
  std::vector<QString> texts_;
  std::vector<QStringList> possibleTexts_;
};

class MainWindow;

class QtPlatform : public QObject,
                   public platform::Window,
                   public platform::MenuBar,
                   public platform::StatusBar,
                   public platform::Timer,
                   public platform::ScrollBar,
                   public platform::Controls,
                   public platform::Messages {
 public:
  QtPlatform(MainWindow& window, platform::MidiDevice& midi, platform::KeyStore& keyStore);
  ~QtPlatform() override;

  platform::Platform& services() { return services_; }
  // From now on events reach this program, and the picture is its to paint.
  void attach(Program& program);
  // Delivers a message to the program's window procedure (nothing before it exists).
  void send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  // The window is going away: the program is taken down without asking the event loop
  // to quit (a loop started later, a test's next window, must still run).
  void takeDownForGood();
  void sendCommand(int id) { send(WM_COMMAND, static_cast<uintptr_t>(id), 0); }

  // Window
  void invalidate() override;
  void show() override;
  platform::Size screenSize() override;
  void postQuit(int exitCode) override;
  std::unique_ptr<platform::Surface> getDC() override;
  // MenuBar
  void redraw(const Menu& menu) override;
  // StatusBar
  void createBar(const int* rightEdges, int parts, const std::string& firstText) override;
  void setText(int part, const std::string& text) override;
  // Timer
  void setTimer(int id, int periodMs) override;
  void killTimer(int id) override;
  // ScrollBar
  void setRange(int minimum, int maximum) override;
  void setPos(int position) override;
  // Controls
  void createControl(const platform::ControlLayout& description) override;
  void setFocus(int id) override;
  // Messages
  void beep() override;
  int messageBox(const std::string& text, const std::string& caption, int style) override;

  // What the program asked for, for a look from outside.
  std::optional<int> quitCode() const { return quitCode_; }
  bool isTimerRunning(int id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* control(int id) const;
  void installAccelerators();
  void connectTempoBar();
  void onTempoBarAction(int action);
  void onTempoBarWheel(const QWheelEvent& event);
  void sendScroll(int code, int position);
  void mirrorMenuBar(const Menu& menu);
  template <typename Container>
  void mirrorItems(Container& container, const Menu& menu);
  QWidget* makeFrame(const platform::ControlLayout& description);
  QWidget* makeButton(const platform::ControlLayout& description);

  MainWindow& window_;
  std::unique_ptr<QtDialogs> dialogs_;
  std::unique_ptr<QtHelp> help_;
  std::unique_ptr<LiveInput> liveInput_;
  std::unique_ptr<QtPrinter> printer_;
  std::unique_ptr<QtAudioInput> audioInput_;
  platform::Platform services_;
  Program* program_ = nullptr;
  int messageDepth_ = 0;           // messages being handled, nested
  int64_t messageArrivedNs_ = 0;   // when the outermost one arrived
  const Menu* menuToMirror_ = nullptr;  // the program's menu, redrawn inside a message
  std::map<int, std::unique_ptr<PeriodicTimer>> timers_;
  std::map<int, QPointer<QWidget>> controls_;
  bool mouseOnTempoBar_ = false;
  int mouseScrollActions_ = 0;
  int wheelTurn_ = 0;  // what the wheel turned short of a notch
  std::optional<int> quitCode_;
  bool windowGoing_ = false;
};

class MainWindow : public QMainWindow {
 public:
  // Builds the window and runs the program's creation (menus, settings, MIDI output);
  // the caller shows it afterwards.
  MainWindow(platform::MidiDevice& midi, platform::KeyStore& keyStore);
  ~MainWindow() override;

  Program& program() { return *program_; }
  QtPlatform& desktop() { return *platform_; }
  Canvas& canvas() const { return *canvas_; }
  QScrollBar& tempoBar() const { return *tempoBar_; }
  PartedStatusBar& parts() const { return *statusParts_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Canvas* canvas_ = nullptr;
  QScrollBar* tempoBar_ = nullptr;
  PartedStatusBar* statusParts_ = nullptr;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<Program> program_;
};

}  // namespace brenavo::qt
