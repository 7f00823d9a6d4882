#include "live/live_play.h"

#include <memory>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "live/key_map.h"
#include "model/tables.h"
#include "playback/midi.h"

namespace brenavo {

namespace {

using platform::Surface;

constexpr int CAPTION_TOP = 9;  // below a button's centre, under its label
constexpr platform::Colour CAPTION_GREY = platform::rgb(90, 90, 90);

platform::Font captionFont() { return platform::Font{"DejaVu Sans", 10, 700}; }

int lowWordSigned(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
int highWordSigned(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

int heldIndex(const LiveState& live, int32_t holder) {
  for (int i = 0; i < live.heldCount; ++i)
    if (live.held[i].holder == holder) return i;
  return -1;
}

bool isHeld(const LiveState& live, int32_t HeldButton::*field, int32_t value) {
  for (int i = 0; i < live.heldCount; ++i)
    if (live.held[i].*field == value) return true;
  return false;
}

// Whether the run has this button lit now: playing or paused on a step that holds it.
bool runLights(const Program& program, int position) {
  if (!program.sel.ctrlPlay && !program.sel.ctrlPause) return false;
  for (const SequencerSlot& slot : program.seq.prev)
    if (slot.lit && slot.note == position) return true;
  return false;
}

const platform::Brush& restingFill(const Program& program, int position) {
  return runLights(program, position) ? program.res.hButtonHighlightBrush
                                      : program.res.hButtonBGBrush;
}

// The button's cell blanked, then circle, label and key drawn on it in the given fill.
void drawButtonIn(const Program& program, Surface& surface, int position,
                  const platform::Brush& fill) {
  const ACC_KEYBOARD* tuning = entryAt(keyConfig, program.sel.keySel2);
  if (tuning == nullptr) return;
  const int x = buttonX(program, position);
  const int y = buttonY(program, position);
  const platform::Pen pen = surface.selectPen(program.res.hButtonOutlinePen);
  const platform::Brush brush = surface.selectBrush(fill);
  const platform::Font font = surface.selectFont(program.res.hNotesFont);
  const int mode = surface.setBkMode(platform::TRANSPARENT);
  surface.copyBlank(x - BUTTON_CELL_HALF, y - BUTTON_CELL_HALF, x + BUTTON_CELL_HALF + 1,
                    y + BUTTON_CELL_HALF + 1);
  const platform::Colour colour = surface.setTextColor(platform::BLACK);
  displayNote(surface, tuning->szNoteName[position], x, y, NOTEBUTTON);
  surface.setTextColor(colour);
  drawKeyCaption(program, surface, position);
  surface.setBkMode(mode);
  surface.selectFont(font);
  surface.selectBrush(brush);
  surface.selectPen(pen);
}

void drawOnWindow(Program& program, int position, const platform::Brush& fill) {
  if (std::unique_ptr<Surface> surface = program.os.window.getDC())
    drawButtonIn(program, *surface, position, fill);
}

// The live channel takes the program's voice before its first note after a change.
void noteOn(Program& program, int32_t midi) {
  if (!program.sel.midiDevExists) return;
  if (program.live.voiceSent != program.sel.midiVoice) {
    MidiOutMessage(program.os.midi, 0xC0, LIVE_CHANNEL, program.sel.midiVoice, 0);
    program.live.voiceSent = program.sel.midiVoice;
  }
  MidiNoteOn(program.os.midi, LIVE_CHANNEL, midi, VELOCITY);
}

// The note sounds first, then the button lights.
void press(Program& program, int32_t holder, int position) {
  LiveState& live = program.live;
  const ACC_KEYBOARD* tuning = entryAt(keyConfig, program.sel.keySel2);
  if (live.heldCount == MAX_HELD || tuning == nullptr) return;
  const int32_t midi = tuning->midiKeyNum[position];
  live.held[live.heldCount++] = {holder, position, midi};
  noteOn(program, midi);
  drawOnWindow(program, position, platform::Brush{LIVE_BLUE});
}

// A note or a button another holder still holds stays on.
void release(Program& program, int32_t holder) {
  LiveState& live = program.live;
  const int index = heldIndex(live, holder);
  if (index < 0) return;
  const HeldButton gone = live.held[index];
  for (int i = index + 1; i < live.heldCount; ++i) live.held[i - 1] = live.held[i];
  --live.heldCount;
  if (program.sel.midiDevExists && !isHeld(live, &HeldButton::midi, gone.midi))
    MidiNoteOff(program.os.midi, LIVE_CHANNEL, gone.midi, 0);
  if (!isHeld(live, &HeldButton::position, gone.position))
    drawOnWindow(program, gone.position, restingFill(program, gone.position));
}

int keyPosition(const LiveState& live, int32_t scanCode) {
  const int pull = pullPositionOfKey(scanCode);
  return live.bellowsPushed ? pull + KB_BUTTONS : pull;
}

// Each held key changes to the note of its button on the other side.
void setBellows(Program& program, bool pushed) {
  LiveState& live = program.live;
  if (live.bellowsPushed == pushed) return;
  live.bellowsPushed = pushed;
  int32_t keys[MAX_HELD];
  int count = 0;
  for (int i = 0; i < live.heldCount; ++i)
    if (live.held[i].holder != MOUSE_HOLDER) keys[count++] = live.held[i].holder;
  for (int i = 0; i < count; ++i) {
    release(program, keys[i]);
    press(program, keys[i], keyPosition(live, keys[i]));
  }
}

// A repeat of a held key (the key was already down) changes nothing.
void keyDown(Program& program, int32_t scanCode, intptr_t lParam) {
  if (lParam & KEY_WAS_DOWN) return;
  if (scanCode == SCAN_SPACE) return setBellows(program, true);
  if (pullPositionOfKey(scanCode) < 0 || heldIndex(program.live, scanCode) >= 0) return;
  press(program, scanCode, keyPosition(program.live, scanCode));
}

void keyUp(Program& program, int32_t scanCode) {
  if (scanCode == SCAN_SPACE) return setBellows(program, false);
  release(program, scanCode);
}

// While the left button is down the mouse plays the circle it is on, if any.
void mouseAt(Program& program, int x, int y) {
  LiveState& live = program.live;
  if (!live.mouseDown) return;
  const int target = buttonAt(program, x, y);
  const int index = heldIndex(live, MOUSE_HOLDER);
  if (index >= 0 && live.held[index].position == target) return;
  release(program, MOUSE_HOLDER);
  if (target >= 0) press(program, MOUSE_HOLDER, target);
}

}  // namespace

int buttonAt(const Program& program, int x, int y) {
  constexpr int RADIUS = BUT_SIZE / 2;
  for (int p = 0; p < KB_POSITIONS; ++p) {
    const int dx = x - buttonX(program, p);
    const int dy = y - buttonY(program, p);
    if (!isLabelSlot(p) && dx * dx + dy * dy <= RADIUS * RADIUS) return p;
  }
  return -1;
}

bool isLiveMessage(uint32_t message) {
  return message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONUP ||
         message == WM_KEYDOWN || message == WM_KEYUP || message == WM_KILLFOCUS;
}

void handleLiveMessage(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const auto scanCode = static_cast<int32_t>(wParam & 0xFFFF);
  switch (message) {
    case WM_LBUTTONDOWN:
      program.live.mouseDown = true;
      mouseAt(program, lowWordSigned(lParam), highWordSigned(lParam));
      break;
    case WM_MOUSEMOVE: mouseAt(program, lowWordSigned(lParam), highWordSigned(lParam)); break;
    case WM_LBUTTONUP:
      release(program, MOUSE_HOLDER);
      program.live.mouseDown = false;
      break;
    case WM_KEYDOWN: keyDown(program, scanCode, lParam); break;
    case WM_KEYUP: keyUp(program, scanCode); break;
    case WM_KILLFOCUS:
      releaseLiveNotes(program);
      program.live.bellowsPushed = false;
      break;
    default: break;
  }
}

// Also forgets the live channel's voice: a run may open the output anew.
void releaseLiveNotes(Program& program) {
  while (program.live.heldCount > 0) release(program, program.live.held[0].holder);
  program.live.mouseDown = false;
  program.live.voiceSent = -1;
}

void relightHeldButtons(Program& program) {
  if (program.live.heldCount == 0) return;
  std::unique_ptr<Surface> surface = program.os.window.getDC();
  if (!surface) return;
  for (int i = 0; i < program.live.heldCount; ++i)
    drawButtonIn(program, *surface, program.live.held[i].position, platform::Brush{LIVE_BLUE});
}

void paintLiveLayer(Program& program, Surface& surface) {
  for (int p = 0; p < KB_POSITIONS; ++p) drawKeyCaption(program, surface, p);
  for (int i = 0; i < program.live.heldCount; ++i)
    drawButtonIn(program, surface, program.live.held[i].position, platform::Brush{LIVE_BLUE});
}

void drawKeyCaption(const Program& program, Surface& surface, int position) {
  if (!program.live.showKeys || isLabelSlot(position)) return;
  const char* name = keyNameOf(position);
  const platform::Font font = surface.selectFont(captionFont());
  const platform::Colour colour = surface.setTextColor(CAPTION_GREY);
  const int mode = surface.setBkMode(platform::TRANSPARENT);
  const platform::Size extent = surface.textExtent(name);
  surface.textOut(buttonX(program, position) - extent.cx / 2,
                  buttonY(program, position) + CAPTION_TOP, name);
  surface.setBkMode(mode);
  surface.setTextColor(colour);
  surface.selectFont(font);
}

void loadLiveSettings(Program& program) {
  platform::KeyStore& store = program.os.keyStore;
  if (store.openOrCreate() == platform::KeyStore::Disposition::Failed) return;
  int32_t value = 0;
  if (store.readDword(SHOW_KEYS_SETTING, value)) program.live.showKeys = value != 0;
  store.closeKey();
}

void saveLiveSettings(Program& program) {
  platform::KeyStore& store = program.os.keyStore;
  if (store.openOrCreate() == platform::KeyStore::Disposition::Failed) return;
  store.writeDword(SHOW_KEYS_SETTING, program.live.showKeys);
  store.closeKey();
}

}  // namespace brenavo
