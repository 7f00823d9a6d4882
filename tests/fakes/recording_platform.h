// Recording fakes of every desktop service. Each call is appended to one log, in order,
// as a short text ("midi.short 0x007F3C90", "timer.set 605 250"), and the fakes keep
// the state a test wants to look at (status texts, timer, focus, scroll bar, store).
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "selection/menu_model.h"

namespace brenavo::fakes {

// One drawing call on a recording surface.
struct SurfaceOp {
  enum class Kind { Ellipse, TextOut, CopyBlank, SelectPen, SelectBrush, SelectFont, TextColor,
                    BkColor, BkMode };
  Kind kind = Kind::Ellipse;
  int x = 0, y = 0, x2 = 0, y2 = 0;   // ellipse or blank box; text left/top
  std::string text;                    // TextOut text, or the selected font's face
  platform::Colour textColour = 0;     // colour state when the op ran
  platform::Colour value = 0;          // the colour set (TextColor, BkColor), or the mode
  platform::Pen pen;                   // state when the op ran
  platform::Brush brush;
  platform::Font font;
  int bkMode = platform::OPAQUE;
};

// A surface that records what is drawn on it. Text is measured as charWidth per byte
// and charHeight high.
class RecordingSurface : public platform::Surface {
 public:
  explicit RecordingSurface(std::vector<SurfaceOp>* sink = nullptr) : sink_(sink) {}
  platform::Pen selectPen(const platform::Pen& pen) override;
  platform::Brush selectBrush(const platform::Brush& brush) override;
  platform::Font selectFont(const platform::Font& font) override;
  platform::Colour setTextColor(platform::Colour colour) override;
  platform::Colour setBkColor(platform::Colour colour) override;
  int setBkMode(int mode) override;
  void ellipse(int left, int top, int right, int bottom) override;
  platform::Size textExtent(std::string_view text) override;
  void textOut(int left, int top, std::string_view text) override;
  void copyBlank(int left, int top, int right, int bottom) override;

  const std::vector<SurfaceOp>& ops() const { return sink_ ? *sink_ : ops_; }
  std::vector<SurfaceOp> opsOf(SurfaceOp::Kind kind) const;

  int charWidth = 10;
  int charHeight = 20;
  platform::Pen pen;
  platform::Brush brush;
  platform::Font font;
  platform::Colour textColour = platform::BLACK;
  platform::Colour bkColour = platform::WHITE;
  int bkMode = platform::OPAQUE;

 private:
  SurfaceOp stamp(SurfaceOp::Kind kind) const;
  void record(SurfaceOp op);
  std::vector<SurfaceOp>* sink_;
  std::vector<SurfaceOp> ops_;
};

class RecordingPlatform : public platform::Window,
                          public platform::MenuBar,
                          public platform::StatusBar,
                          public platform::Timer,
                          public platform::ScrollBar,
                          public platform::Controls,
                          public platform::Messages,
                          public platform::Dialogs,
                          public platform::Help,
                          public platform::MidiDevice,
                          public platform::KeyStore {
 public:
  RecordingPlatform();

  platform::Platform& services() { return services_; }

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
  // Dialogs
  platform::OptionsOutcome runOptions(const platform::OptionsChecks& initial) override;
  void runAbout(const std::string& text) override;
  void runUsage(const std::string& text) override;
  // Help
  void initialize() override;
  bool displayTopic(const std::string& target) override;
  void uninitialize() override;
  // MidiDevice
  bool open() override;
  uint32_t shortMessage(uint32_t packed) override;
  void reset() override;
  void close() override;
  // KeyStore
  Disposition openOrCreate() override;
  bool readDword(const char* name, int32_t& value) override;
  void writeDword(const char* name, int32_t value) override;
  void writeString(const char* name, const char* value) override;
  void closeKey() override;

  // Everything that happened, in order.
  std::vector<std::string> log;
  // Log lines that start with a prefix ("midi.", "status.text").
  std::vector<std::string> logOf(const std::string& prefix) const;
  void clearLog() { log.clear(); }

  // Window
  int invalidations = 0;
  int quitCode = -1;
  platform::Size screen{1024, 768};
  std::vector<SurfaceOp> dcOps;        // everything drawn through getDC surfaces
  // Menu bar: the model as last redrawn.
  const Menu* lastMenu = nullptr;
  int menuRedraws = 0;
  // Status bar
  std::vector<int> statusParts;
  std::map<int, std::string> statusTexts;
  // Timer
  bool timerRunning = false;
  int timerId = 0;
  int timerPeriod = 0;
  int timerStarts = 0;                 // setTimer calls so far
  // Scroll bar
  int scrollMin = 0, scrollMax = 0, scrollPos = 0;
  // Controls
  std::vector<platform::ControlLayout> controls;
  int focus = -1;
  // Messages: answers given in turn; IDYES/IDOK when none is queued.
  std::deque<int> messageBoxAnswers;
  // Dialogs: outcomes given in turn; a cancel with the initial checks when none is queued.
  std::deque<platform::OptionsOutcome> optionsOutcomes;
  std::vector<platform::OptionsChecks> optionsShown;
  std::string lastAboutText, lastUsageText;
  // Help
  std::vector<std::string> helpTargets;
  // MIDI
  bool midiOpenSucceeds = true;
  bool midiIsOpen = false;
  std::vector<uint32_t> midiMessages;  // every short message sent, in order
  std::map<int, int> soundingNotes;    // note -> how many note-ons are not yet switched off
  // Key store: the values as stored; whether the key exists; whether opening fails.
  bool storeExists = false;
  bool storeFails = false;
  std::map<std::string, int32_t> storedDwords;
  std::map<std::string, std::string> storedStrings;
  std::vector<std::string> storeWriteOrder;

 private:
  platform::Platform services_;
};

}  // namespace brenavo::fakes
