#include "fakes/recording_platform.h"

#include <cstdio>

#include "model/ids.h"

namespace brenavo::fakes {

using platform::Colour;

SurfaceOp RecordingSurface::stamp(SurfaceOp::Kind kind) const {
  SurfaceOp op;
  op.kind = kind;
  op.textColour = textColour;
  op.pen = pen;
  op.brush = brush;
  op.font = font;
  op.bkMode = bkMode;
  return op;
}

void RecordingSurface::record(SurfaceOp op) {
  (sink_ ? *sink_ : ops_).push_back(std::move(op));
}

platform::Pen RecordingSurface::selectPen(const platform::Pen& newPen) {
  platform::Pen old = pen;
  pen = newPen;
  record(stamp(SurfaceOp::Kind::SelectPen));
  return old;
}

platform::Brush RecordingSurface::selectBrush(const platform::Brush& newBrush) {
  platform::Brush old = brush;
  brush = newBrush;
  record(stamp(SurfaceOp::Kind::SelectBrush));
  return old;
}

platform::Font RecordingSurface::selectFont(const platform::Font& newFont) {
  platform::Font old = font;
  font = newFont;
  SurfaceOp op = stamp(SurfaceOp::Kind::SelectFont);
  op.text = newFont.face;
  record(op);
  return old;
}

Colour RecordingSurface::setTextColor(Colour colour) {
  Colour old = textColour;
  textColour = colour;
  SurfaceOp op = stamp(SurfaceOp::Kind::TextColor);
  op.value = colour;
  record(op);
  return old;
}

Colour RecordingSurface::setBkColor(Colour colour) {
  Colour old = bkColour;
  bkColour = colour;
  SurfaceOp op = stamp(SurfaceOp::Kind::BkColor);
  op.value = colour;
  record(op);
  return old;
}

int RecordingSurface::setBkMode(int mode) {
  int old = bkMode;
  bkMode = mode;
  SurfaceOp op = stamp(SurfaceOp::Kind::BkMode);
  op.value = static_cast<Colour>(mode);
  record(op);
  return old;
}

void RecordingSurface::ellipse(int left, int top, int right, int bottom) {
  SurfaceOp op = stamp(SurfaceOp::Kind::Ellipse);
  op.x = left;
  op.y = top;
  op.x2 = right;
  op.y2 = bottom;
  record(op);
}

platform::Size RecordingSurface::textExtent(std::string_view text) {
  return {charWidth * static_cast<int>(text.size()), charHeight};
}

void RecordingSurface::textOut(int left, int top, std::string_view text) {
  SurfaceOp op = stamp(SurfaceOp::Kind::TextOut);
  op.x = left;
  op.y = top;
  op.text = std::string(text);
  record(op);
}

void RecordingSurface::copyBlank(int left, int top, int right, int bottom) {
  SurfaceOp op = stamp(SurfaceOp::Kind::CopyBlank);
  op.x = left;
  op.y = top;
  op.x2 = right;
  op.y2 = bottom;
  record(op);
}

std::vector<SurfaceOp> RecordingSurface::opsOf(SurfaceOp::Kind kind) const {
  std::vector<SurfaceOp> out;
  for (const SurfaceOp& op : ops())
    if (op.kind == kind) out.push_back(op);
  return out;
}

RecordingPlatform::RecordingPlatform()
    : services_{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this} {}

std::vector<std::string> RecordingPlatform::logOf(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : log)
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
  return out;
}

void RecordingPlatform::invalidate() {
  ++invalidations;
  log.push_back("window.invalidate");
}

void RecordingPlatform::show() { log.push_back("window.show"); }

platform::Size RecordingPlatform::screenSize() {
  log.push_back("window.screenSize");
  return screen;
}

void RecordingPlatform::postQuit(int exitCode) {
  quitCode = exitCode;
  log.push_back("window.postQuit " + std::to_string(exitCode));
}

namespace {
// A surface on the window that says when it is given back.
class WindowSurface : public RecordingSurface {
 public:
  WindowSurface(std::vector<SurfaceOp>* sink, std::vector<std::string>* log)
      : RecordingSurface(sink), log_(log) {}
  ~WindowSurface() override { log_->push_back("window.releaseDC"); }

 private:
  std::vector<std::string>* log_;
};
}  // namespace

std::unique_ptr<platform::Surface> RecordingPlatform::getDC() {
  log.push_back("window.getDC");
  return std::make_unique<WindowSurface>(&dcOps, &log);
}

void RecordingPlatform::redraw(const Menu& menu) {
  lastMenu = &menu;
  ++menuRedraws;
  log.push_back("menu.redraw");
}

void RecordingPlatform::createBar(const int* rightEdges, int parts, const std::string& firstText) {
  statusParts.assign(rightEdges, rightEdges + parts);
  statusTexts.clear();
  statusTexts[0] = firstText;
  log.push_back("status.create " + firstText);
}

void RecordingPlatform::setText(int part, const std::string& text) {
  statusTexts[part] = text;
  log.push_back("status.text " + std::to_string(part) + " " + text);
}

void RecordingPlatform::setTimer(int id, int periodMs) {
  timerRunning = true;
  timerId = id;
  timerPeriod = periodMs;
  ++timerStarts;
  log.push_back("timer.set " + std::to_string(id) + " " + std::to_string(periodMs));
}

void RecordingPlatform::killTimer(int id) {
  if (id == timerId) timerRunning = false;
  log.push_back("timer.kill " + std::to_string(id));
}

void RecordingPlatform::setRange(int minimum, int maximum) {
  scrollMin = minimum;
  scrollMax = maximum;
  log.push_back("scroll.range " + std::to_string(minimum) + " " + std::to_string(maximum));
}

void RecordingPlatform::setPos(int position) {
  scrollPos = position;
  log.push_back("scroll.pos " + std::to_string(position));
}

void RecordingPlatform::createControl(const platform::ControlLayout& description) {
  controls.push_back(description);
  log.push_back("controls.create " + std::to_string(description.id));
}

void RecordingPlatform::setFocus(int id) {
  focus = id;
  log.push_back("focus " + std::to_string(id));
}

void RecordingPlatform::beep() { log.push_back("beep"); }

int RecordingPlatform::messageBox(const std::string& text, const std::string& caption, int style) {
  log.push_back("messageBox " + caption + "|" + text + "|" + std::to_string(style));
  if (!messageBoxAnswers.empty()) {
    int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
  }
  return (style & MB_YESNO) ? IDYES : IDOK;
}

platform::OptionsOutcome RecordingPlatform::runOptions(const platform::OptionsChecks& initial) {
  optionsShown.push_back(initial);
  log.push_back("dialog.options");
  if (!optionsOutcomes.empty()) {
    platform::OptionsOutcome outcome = optionsOutcomes.front();
    optionsOutcomes.pop_front();
    return outcome;
  }
  return {false, initial};
}

void RecordingPlatform::runAbout(const std::string& text) {
  lastAboutText = text;
  log.push_back("dialog.about");
}

void RecordingPlatform::runUsage(const std::string& text) {
  lastUsageText = text;
  log.push_back("dialog.usage");
}

void RecordingPlatform::initialize() { log.push_back("help.initialize"); }

bool RecordingPlatform::displayTopic(const std::string& target) {
  helpTargets.push_back(target);
  log.push_back("help.display " + target);
  return true;
}

void RecordingPlatform::uninitialize() { log.push_back("help.uninitialize"); }

bool RecordingPlatform::open() {
  log.push_back("midi.open");
  midiIsOpen = midiOpenSucceeds;
  return midiOpenSucceeds;
}

uint32_t RecordingPlatform::shortMessage(uint32_t packed) {
  char text[32];
  std::snprintf(text, sizeof text, "midi.short 0x%08X", static_cast<unsigned>(packed));
  log.push_back(text);
  midiMessages.push_back(packed);
  const int status = static_cast<int>(packed & 0xF0);
  const int note = static_cast<int>((packed >> 8) & 0x7F);
  const int velocity = static_cast<int>((packed >> 16) & 0x7F);
  if (status == 0x90 && velocity > 0) {
    ++soundingNotes[note];
  } else if (status == 0x80 || (status == 0x90 && velocity == 0)) {
    // A note-off ends every sounding instance of the note on the channel.
    soundingNotes.erase(note);
  }
  return 0;
}

void RecordingPlatform::reset() {
  log.push_back("midi.reset");
  soundingNotes.clear();
}

void RecordingPlatform::close() {
  log.push_back("midi.close");
  midiIsOpen = false;
}

platform::KeyStore::Disposition RecordingPlatform::openOrCreate() {
  log.push_back("store.open");
  if (storeFails) return Disposition::Failed;
  if (storeExists) return Disposition::OpenedExisting;
  storeExists = true;
  return Disposition::CreatedNew;
}

bool RecordingPlatform::readDword(const char* name, int32_t& value) {
  log.push_back(std::string("store.read ") + name);
  auto found = storedDwords.find(name);
  if (found == storedDwords.end()) return false;
  value = found->second;
  return true;
}

void RecordingPlatform::writeDword(const char* name, int32_t value) {
  storedDwords[name] = value;
  storeWriteOrder.push_back(name);
  log.push_back(std::string("store.write ") + name + " " + std::to_string(value));
}

void RecordingPlatform::writeString(const char* name, const char* value) {
  storedStrings[name] = value;
  storeWriteOrder.push_back(name);
  log.push_back(std::string("store.string ") + name + " " + value);
}

}  // namespace brenavo::fakes

namespace brenavo::fakes {
void RecordingPlatform::closeKey() { log.push_back("store.close"); }
}  // namespace brenavo::fakes
