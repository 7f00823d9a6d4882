// Recording fakes of every desktop service. Each call is appended to one log, in order,
// as a short text ("midi.short 0x007F3C90", "timer.set 605 250"), and the fakes keep
// the state a test wants to look at (status texts, timer, focus, scroll bar, store).
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "selection/menu_model.h"

namespace brenavo::fakes {

// One drawing call on a recording surface, with the drawing state it ran in.
struct SurfaceOp {
  enum class Kind { Ellipse, TextOut, CopyBlank, Line, Rectangle };
  Kind kind = Kind::Ellipse;
  int x = 0, y = 0, x2 = 0, y2 = 0;   // a box (ellipse, blank copy); a text's left and top
  std::string text;
  platform::Colour textColour = 0;
  platform::Brush brush;
  platform::Font font;
  int bkMode = platform::OPAQUE, page = 0;  // page: pages begun before this one
  platform::Pen pen;
};

// A surface that records what is drawn on it, in page coordinates (its origin added). Text is
// measured as 10 pixels a byte, 20 high.
class RecordingSurface : public platform::Surface {
 public:
  explicit RecordingSurface(std::vector<SurfaceOp>* sink = nullptr) : sink_(sink ? sink : &ops_) {}
  platform::Pen selectPen(const platform::Pen& p) override { return std::exchange(pen, p); }
  platform::Brush selectBrush(const platform::Brush& b) override { return std::exchange(brush, b); }
  platform::Font selectFont(const platform::Font& f) override { return std::exchange(font, f); }
  platform::Colour setTextColor(platform::Colour c) override { return std::exchange(textColour, c); }
  platform::Colour setBkColor(platform::Colour c) override { return std::exchange(bkColour, c); }
  int setBkMode(int mode) override { return std::exchange(bkMode, mode); }
  void ellipse(int l, int t, int r, int b) override { record(SurfaceOp::Kind::Ellipse, l, t, r, b); }
  platform::Size textExtent(std::string_view text) override { return {10 * int(text.size()), 20}; }
  void textOut(int left, int top, std::string_view text) override {
    record(SurfaceOp::Kind::TextOut, left, top, 0, 0, std::string(text));
  }
  void copyBlank(int l, int t, int r, int b) override { record(SurfaceOp::Kind::CopyBlank, l, t, r, b); }
  void line(int x1, int y1, int x2, int y2) override { record(SurfaceOp::Kind::Line, x1, y1, x2, y2); }
  void rectangle(int l, int t, int r, int b) override { record(SurfaceOp::Kind::Rectangle, l, t, r, b); }
  void setOrigin(int x, int y) override { originX = x, originY = y; }
  void newPage() override { ++pages, originX = originY = 0; }

  const std::vector<SurfaceOp>& ops() const { return *sink_; }

  platform::Pen pen;
  platform::Brush brush;
  platform::Font font;
  platform::Colour textColour = platform::BLACK, bkColour = platform::WHITE;
  int bkMode = platform::OPAQUE;
  int originX = 0, originY = 0, pages = 0;

 private:
  void record(SurfaceOp::Kind kind, int x, int y, int x2, int y2, std::string text = {}) {
    const bool box = kind != SurfaceOp::Kind::TextOut;
    sink_->push_back({kind, x + originX, y + originY, box ? x2 + originX : x2,
                      box ? y2 + originY : y2, std::move(text), textColour, brush, font, bkMode,
                      pages, pen});
  }
  std::vector<SurfaceOp> ops_;
  std::vector<SurfaceOp>* sink_;
};

class RecordingPlatform : public platform::Window, public platform::MenuBar, public platform::StatusBar,
                          public platform::Timer, public platform::ScrollBar, public platform::Controls,
                          public platform::Messages, public platform::Dialogs, public platform::Help,
                          public platform::MidiDevice, public platform::KeyStore,
                          public platform::Printer, public platform::AudioInput {
 public:
  platform::Platform& services() { return services_; }

  // Window
  void invalidate() override { ++invalidations, note("window.invalidate"); }
  void show() override { note("window.show"); }
  platform::Size screenSize() override { return note("window.screenSize"), platform::Size{1024, 768}; }
  void postQuit(int exitCode) override { quitCode = exitCode, note("window.postQuit", exitCode); }
  std::unique_ptr<platform::Surface> getDC() override {
    return note("window.getDC"), std::make_unique<RecordingSurface>(&dcOps);
  }
  // MenuBar
  void redraw(const Menu&) override { ++menuRedraws, note("menu.redraw"); }
  // StatusBar
  void createBar(const int*, int, const std::string& firstText) override {
    statusTexts = {{0, firstText}}, note("status.create", firstText);
  }
  void setText(int part, const std::string& text) override {
    statusTexts[part] = text, note("status.text", part, text);
  }
  // Timer
  void setTimer(int id, int ms) override { timerRunning = true, timerId = id, note("timer.set", id, ms); }
  void killTimer(int id) override { timerRunning &= id != timerId, note("timer.kill", id); }
  // ScrollBar
  void setRange(int lo, int hi) override { scrollMin = lo, scrollMax = hi, note("scroll.range", lo, hi); }
  void setPos(int position) override { scrollPos = position, note("scroll.pos", position); }
  // Controls
  void createControl(const platform::ControlLayout& layout) override {
    controls.push_back(layout), note("controls.create", layout.id);
  }
  void setFocus(int id) override { focus = id, note("focus", id); }
  // Messages
  void beep() override { note("beep"); }
  int messageBox(const std::string& text, const std::string& caption, int style) override;
  // Dialogs
  platform::OptionsOutcome runOptions(const platform::OptionsChecks& initial) override;
  void runAbout(const std::string& text) override { lastAboutText = text, note("dialog.about"); }
  void runUsage(const std::string& text) override { lastUsageText = text, note("dialog.usage"); }
  // Help
  void initialize() override { note("help.initialize"); }
  bool displayTopic(const std::string& target) override { return note("help.display", target), true; }
  void uninitialize() override { note("help.uninitialize"); }
  // MidiDevice
  bool open() override { return note("midi.open"), midiOpenSucceeds; }
  uint32_t shortMessage(uint32_t packed) override;
  void reset() override { soundingNotes.clear(), note("midi.reset"); }
  void close() override { note("midi.close"); }
  // KeyStore
  Disposition openOrCreate() override {
    if (note("store.open"), storeFails) return Disposition::Failed;
    return std::exchange(storeExists, true) ? Disposition::OpenedExisting : Disposition::CreatedNew;
  }
  bool readDword(const char* name, int32_t& value) override {
    return note("store.read", name), lookUp(storedDwords, name, value);
  }
  void writeDword(const char* n, int32_t v) override { storedDwords[n] = v, note("store.write", n, v); }
  void writeString(const char* n, const char* v) override { storedStrings[n] = v, note("store.string", n, v); }
  void closeKey() override { note("store.close"); }
  // Printer: each document is drawn at once on a recording surface of `page` units.
  void preview(const platform::Document& document) override {
    note("printer.preview", document.title), draw(document, [](int, int) { return true; });
  }
  void exportToFile(const std::vector<platform::Document>& choices) override;
  void writeBook(const platform::Document& book) override;
  bool readString(const char* name, std::string& value) override {
    return note("store.readString", name), lookUp(storedStrings, name, value);
  }
  // AudioInput
  std::vector<std::string> inputs() override { return audioInputs; }
  // Starts only on an input it has; an empty list is a machine without a microphone.
  bool start(const std::string& input, BlockCallback) override {
    return note("audio.start", input), !audioInputs.empty();
  }
  void stop() override { note("audio.stop"); }

  // Everything that happened, in order.
  std::vector<std::string> log;
  // Log lines that start with a prefix ("midi.", "status.text").
  std::vector<std::string> logOf(const std::string& prefix) const;

  // What the calls left: the window, menus, status bar, timer, scroll bar and controls...
  int invalidations = 0, quitCode = -1, menuRedraws = 0, focus = -1;
  std::vector<SurfaceOp> dcOps;        // everything drawn through getDC surfaces
  std::map<int, std::string> statusTexts;
  bool timerRunning = false;
  int timerId = 0;
  int scrollMin = 0, scrollMax = 0, scrollPos = 0;
  std::vector<platform::ControlLayout> controls;
  // ...the answers the boxes and the options dialog give in turn (by default yes, OK, and a
  // cancel that keeps the checks), and what they were shown...
  std::deque<int> messageBoxAnswers;
  std::deque<platform::OptionsOutcome> optionsOutcomes;
  std::vector<platform::OptionsChecks> optionsShown;
  std::string lastAboutText, lastUsageText;
  // ...the MIDI output (note -> note-ons not yet switched off) and the key store.
  bool midiOpenSucceeds = true, storeExists = false, storeFails = false;
  std::vector<uint32_t> midiMessages;
  std::map<int, int> soundingNotes;
  std::map<std::string, int32_t> storedDwords;
  // ...and the printer: what the documents drew, and the page at which a book is cancelled.
  platform::Size page{900, 1300};
  std::vector<SurfaceOp> printedOps;
  int cancelBookAtPage = 0;
  std::map<std::string, std::string> storedStrings;
  // ...and the microphone's inputs.
  std::vector<std::string> audioInputs{"Microfono"};

 private:
  // Appends one log line: the words joined by blanks.
  template <typename... Words>
  void note(const char* what, const Words&... words) {
    std::ostringstream line;
    line << what;
    ((line << ' ' << words), ...);
    log.push_back(line.str());
  }

  bool draw(const platform::Document& document, const platform::PageDone& pageDone);
  // Reads name from a store into value; false when it is not there.
  template <typename T>
  static bool lookUp(const std::map<std::string, T>& store, const char* name, T& value) {
    const auto found = store.find(name);
    return found != store.end() && (value = found->second, true);
  }

  platform::Platform services_{*this, *this, *this, *this, *this, *this,
                               *this, *this, *this, *this, *this, *this, *this};
};

}  // namespace brenavo::fakes
