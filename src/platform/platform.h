// What the program asks of a desktop. The desktop layer implements these; the tests
// use recording fakes. None of it names a toolkit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace brenavo {
struct Menu;
}

namespace brenavo::platform {

class Window {
 public:
  virtual ~Window() = default;
  virtual void invalidate() = 0;                      // repaint the whole client area
  virtual void show() = 0;
  virtual Size screenSize() = 0;
  virtual void postQuit(int exitCode) = 0;
  // A surface on the visible client area, given back when the pointer is released.
  virtual std::unique_ptr<Surface> getDC() = 0;
};

class MenuBar {
 public:
  virtual ~MenuBar() = default;
  // Shows the menu bar as the model now stands.
  virtual void redraw(const Menu& menu) = 0;
};

class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual void createBar(const int* rightEdges, int parts, const std::string& firstText) = 0;
  virtual void setText(int part, const std::string& text) = 0;
};

class Timer {
 public:
  virtual ~Timer() = default;
  // Ticks arrive as WM_TIMER every periodMs, counted from this call.
  virtual void setTimer(int id, int periodMs) = 0;
  virtual void killTimer(int id) = 0;
};

class ScrollBar {
 public:
  virtual ~ScrollBar() = default;
  virtual void setRange(int minimum, int maximum) = 0;
  virtual void setPos(int position) = 0;
};

// A child control of the main window, in client pixels.
struct ControlLayout {
  int id = 0;
  const char* kind = "";      // "STATIC" (a captioned frame) or "BUTTON" (a bitmap button)
  const char* text = "";
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  const char* image = "";     // bitmap resource name, for buttons
};

class Controls {
 public:
  virtual ~Controls() = default;
  virtual void createControl(const ControlLayout& description) = 0;
  virtual void setFocus(int id) = 0;
};

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void beep() = 0;                            // the exclamation beep
  // Returns IDYES, IDNO or IDOK.
  virtual int messageBox(const std::string& text, const std::string& caption, int style) = 0;
};

// The checked radio button of each group of the options dialog; -1 when none is checked.
struct OptionsChecks {
  int tuning = -1;
  int direction = -1;
  int voice = -1;
  int32_t showKeys = 0;        // the "Mostrar teclas" box, 1 when checked
  // The sound inputs offered (a choice only when there are several), the one chosen
  // (-1 the default) and the reference A in Hz (430-450).
  std::vector<std::string> inputs{};
  int input = -1;
  int referenceA = 440;
  bool operator==(const OptionsChecks&) const = default;
};

struct OptionsOutcome {
  bool saved = false;          // "GUAR&DAR"; false for "CAN&CELAR", Esc and the close box
  OptionsChecks checks;        // the buttons checked when the dialog ended
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual OptionsOutcome runOptions(const OptionsChecks& initial) = 0;
  virtual void runAbout(const std::string& text) = 0;
  virtual void runUsage(const std::string& text) = 0;
};

class Help {
 public:
  virtual ~Help() = default;
  virtual void initialize() = 0;
  // target: "brenavo.chm" or "brenavo.chm::page.htm". False when nothing could be shown.
  virtual bool displayTopic(const std::string& target) = 0;
  virtual void uninitialize() = 0;
};

class MidiDevice {
 public:
  virtual ~MidiDevice() = default;
  virtual bool open() = 0;                            // the default output
  // Byte 0 status, byte 1 data 1, byte 2 data 2. Returns 0 when sent.
  virtual uint32_t shortMessage(uint32_t packed) = 0;
  virtual void reset() = 0;                           // every note off on every channel
  virtual void close() = 0;
};

class KeyStore {
 public:
  enum class Disposition { Failed, CreatedNew, OpenedExisting };
  virtual ~KeyStore() = default;
  virtual Disposition openOrCreate() = 0;
  // Leaves value untouched and returns false when the name is absent.
  virtual bool readDword(const char* name, int32_t& value) = 0;
  virtual void writeDword(const char* name, int32_t value) = 0;
  virtual void writeString(const char* name, const char* value) = 0;
  virtual void closeKey() = 0;
  // Leaves value untouched and returns false when the name is absent.
  virtual bool readString(const char* name, std::string& value) = 0;
};

// The learner's microphone. Blocks of mono samples reach the callback on the program's own
// thread while it listens; nothing is stored.
class AudioInput {
 public:
  using BlockCallback = std::function<void(const float* mono, std::size_t frames, int sampleRate)>;
  virtual ~AudioInput() = default;
  // The inputs by name, the default one first; empty when there is none.
  virtual std::vector<std::string> inputs() = 0;
  // Listens on the named input ("" or an unknown name: the default). False, and nothing
  // started, when there is no input or access to it is refused.
  virtual bool start(const std::string& input, BlockCallback onBlock) = 0;
  virtual void stop() = 0;
};

// Pages are measured in units of which PAGE_UNITS_PER_INCH make an inch.
inline constexpr int PAGE_UNITS_PER_INCH = 120;

// Told after each page is drawn, with the pages drawn so far and the document's pages;
// answers false to stop.
using PageDone = std::function<bool(int pagesDrawn, int pageCount)>;

// Something to put on paper or in a file: it draws its pages on a surface whose printable
// area is `page` units, from the area's top left corner, one after another with
// Surface::newPage between them. Returns false when pageDone stopped it.
struct Document {
  std::string title;      // names the sheet in the dialogs and the file
  // The narrowest printable area, in page units, the pages are laid out for: narrower
  // paper gets smaller units, so the drawing shrinks to fit it.
  int minPageWidth = 0;
  std::function<bool(Surface& surface, Size page, const PageDone& pageDone)> draw;
};

class Printer {
 public:
  virtual ~Printer() = default;
  // A print preview of the document, from which it goes to a printer or a PDF file.
  virtual void preview(const Document& document) = 0;
  // A file dialog offers one kind of file for each document; the chosen one is written
  // as PDF, PNG or SVG, as the file name's extension says.
  virtual void exportToFile(const std::vector<Document>& choices) = 0;
  // A file dialog, then the document written to a PDF file with its progress shown; a
  // cancel leaves no file behind.
  virtual void writeBook(const Document& book) = 0;
};

struct Platform {
  Window& window;
  MenuBar& menuBar;
  StatusBar& statusBar;
  Timer& timer;
  ScrollBar& scrollBar;
  Controls& controls;
  Messages& messages;
  Dialogs& dialogs;
  Help& help;
  MidiDevice& midi;
  KeyStore& keyStore;
  Printer& printer;
  AudioInput& audioInput;
};

}  // namespace brenavo::platform
