// Live play through the window procedure on recording fakes: mouse, keys, bellows, releases.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "fakes/recording_platform.h"
#include "live/key_map.h"
#include "live/live_play.h"
#include "model/tables.h"

using namespace brenavo;

using Messages = std::vector<uint32_t>;
constexpr platform::Colour WHITE = platform::WHITE, YELLOW = platform::rgb(255, 255, 0);
constexpr uintptr_t Q = 0x10, W = 0x11, E = 0x12, SPACE = SCAN_SPACE;

// Live notes go on a channel of their own.
static uint32_t on(int note) { return 0x7F0091u | static_cast<uint32_t>(note) << 8; }
static uint32_t off(int note) { return 0x81u | static_cast<uint32_t>(note) << 8; }

struct Live : ::testing::Test {
  Live() { start(); }
  void start() {  // the live channel has taken the voice
    program = CreateMainWindow(fake.services());
    mouse(WM_LBUTTONDOWN, 13), mouse(WM_LBUTTONUP, 13), midi(), fake.dcOps.clear();
  }
  void send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) { SendMessage(*program, message, wParam, lParam); }
  void mouse(uint32_t message, int p, int dx = 0, int dy = 0) {
    send(message, 0, MAKELPARAM(buttonX(*program, p) + dx, buttonY(*program, p) + dy));
  }
  Messages midi() { return std::exchange(fake.midiMessages, {}); }
  int note(int p) { return keyConfig[program->sel.keySel2].midiKeyNum[p]; }
  std::optional<platform::Colour> fillOf(int p) {  // of the last circle drawn on the button
    const auto last = std::find_if(fake.dcOps.rbegin(), fake.dcOps.rend(), [&](const fakes::SurfaceOp& op) {
      return op.kind == fakes::SurfaceOp::Kind::Ellipse && std::pair{op.x + 20, op.y + 20} == xy(p);
    });
    return last == fake.dcOps.rend() ? std::nullopt : std::optional(last->brush.colour);
  }
  std::pair<int, int> xy(int p) { return {buttonX(*program, p), buttonY(*program, p)}; }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program;
};

// Every button of both sides in every tuning sounds its note by the mouse, also near the edge
// of its circle; each key sounds its pull button, or its push button with the space bar held.
// A press outside every circle does nothing.
TEST_F(Live, EveryButtonSoundsItsTuningsNoteByMouseAndByKey) {
  fake.optionsOutcomes = {{true, {IDRB_GCF, IDRB_OUT, IDRB_PICCOLO}}};
  SendCommand(*program, IDM_DIALOGBOX_OPTIONS), midi();
  mouse(WM_LBUTTONDOWN, 13), mouse(WM_LBUTTONUP, 13);  // the live channel follows the new voice
  EXPECT_EQ(midi(), (Messages{0x48C1, on(note(13)), off(note(13))}));
  for (int tuning = 0; tuning < 4; ++tuning) {
    program->sel.keySel2 = tuning;
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      mouse(WM_LBUTTONDOWN, p, 14, -14), mouse(WM_LBUTTONUP, p);
      EXPECT_EQ(midi(), (Messages{on(note(p)), off(note(p))})) << tuning << " " << p;
      EXPECT_EQ(fillOf(p), WHITE);
      const uintptr_t key = static_cast<uintptr_t>(KEY_ROWS[p % KB_BUTTONS / 11][p % 11].scanCode);
      if (p >= KB_BUTTONS) send(WM_KEYDOWN, SPACE);
      send(WM_KEYDOWN, key), send(WM_KEYUP, key), send(WM_KEYUP, SPACE);
      EXPECT_EQ(midi(), (Messages{on(note(p)), off(note(p))})) << tuning << " key " << p;
    }
  }
  // The lowest button of a column on the row's left key: Q, A and Z start the columns.
  for (auto [key, p] : {std::pair{0x10, 0}, {0x19, 9}, {0x1E, 11}, {0x28, 21}, {0x2C, 22},
                        {0x35, 31}, {0x1A, -1}, {0x29, -1}, {0x39, -1}, {0, -1}})
    EXPECT_EQ(pullPositionOfKey(key), p) << key;
  // Between circles, on a label slot, on the listing, off the window: nothing sounds or is drawn.
  fake.dcOps.clear();
  for (auto [p, dx, dy] : {std::tuple{0, 0, 23}, {1, 15, 15}, {11, -21, 0}, {10, 0, 0}, {43, 0, 0},
                           {0, -350, -2}, {0, -500, -100}}) {
    mouse(WM_LBUTTONDOWN, p, dx, dy), mouse(WM_LBUTTONUP, p, dx, dy);
    EXPECT_TRUE(midi().empty() && fake.dcOps.empty()) << p << " " << dx << " " << dy;
  }
}

// Held, the mouse sounds each circle it moves onto and silences the one it leaves, also after a
// press between circles; let go, it plays nothing. Held keys follow the bellows, the mouse keeps
// its side; repeats of a held key or of the space bar change nothing.
TEST_F(Live, TheMouseGlidesAndHeldKeysFollowTheBellows) {
  mouse(WM_LBUTTONDOWN, 12), mouse(WM_MOUSEMOVE, 12, 5, 5), mouse(WM_MOUSEMOVE, 13);
  mouse(WM_MOUSEMOVE, 13, 0, 23), mouse(WM_MOUSEMOVE, 14), mouse(WM_LBUTTONUP, 14);
  mouse(WM_MOUSEMOVE, 15), mouse(WM_LBUTTONDOWN, 15, 0, 23), mouse(WM_MOUSEMOVE, 16);
  EXPECT_EQ(midi(), (Messages{on(note(12)), off(note(12)), on(note(13)), off(note(13)),
                              on(note(14)), off(note(14)), on(note(16))}));
  send(WM_KEYDOWN, Q), send(WM_KEYDOWN, Q, KEY_WAS_DOWN), send(WM_KEYDOWN, Q);
  send(WM_KEYDOWN, SPACE), send(WM_KEYDOWN, SPACE, KEY_WAS_DOWN), send(WM_KEYDOWN, W);
  send(WM_KEYUP, SPACE), mouse(WM_LBUTTONUP, 16), send(WM_KEYUP, Q), send(WM_KEYUP, W);
  EXPECT_EQ(midi(), (Messages{on(note(0)), off(note(0)), on(note(33)), on(note(34)), off(note(33)),
                              on(note(0)), off(note(34)), on(note(1)), off(note(16)),
                              off(note(0)), off(note(1))}));
  EXPECT_EQ(fillOf(33), WHITE);
}

// Focus lost, options opened, a run started or the window closed: every live note is off first
// and its button white; a key still down or the mouse moving afterwards plays nothing.
TEST_F(Live, EveryReleaseCaseSilencesAndRestoresTheHeldButtons) {
  for (auto [message, id] : {std::pair<uint32_t, int>{WM_KILLFOCUS, 0}, {WM_COMMAND, IDM_DIALOGBOX_OPTIONS},
                             {WM_COMMAND, IDPB_PLAY}, {WM_COMMAND, IDPB_LOOP}, {WM_DESTROY, 0}}) {
    start(), send(WM_KEYDOWN, SPACE), send(WM_KEYDOWN, E), mouse(WM_LBUTTONDOWN, 20), midi();
    send(message, static_cast<uintptr_t>(id));
    const Messages sent = midi();
    EXPECT_EQ(Messages(sent.begin(), sent.begin() + 2), (Messages{off(note(35)), off(note(20))}));
    EXPECT_TRUE(fillOf(35) == WHITE && fillOf(20) == WHITE && !fake.soundingNotes.count(note(35)) &&
                !fake.soundingNotes.count(note(20))) << message << " " << id;
    send(WM_KEYDOWN, E, KEY_WAS_DOWN), send(WM_KEYDOWN, Q), mouse(WM_MOUSEMOVE, 19);  // Q only
    // Focus lost: bellows pulled. The voice is chosen again: a run may have opened the output anew.
    const Messages expected{0x17C1, on(note(message == WM_KILLFOCUS ? 0 : 33))};
    EXPECT_EQ(midi(), program->destroyed ? Messages{} : expected);
  }
}

// A live press on a button the run lights is blue and gets the run's yellow back; a run step
// under a held button leaves it blue; paused highlights stay, stopped ones go. Without an output
// the buttons light all the same.
TEST_F(Live, LivePlayOverARunKeepsTheRunsColours) {
  SendCommand(*program, IDPB_PLAY);
  const int first = program->seq.prev[0].note;
  mouse(WM_LBUTTONDOWN, first);
  EXPECT_EQ(fillOf(first), LIVE_BLUE);
  mouse(WM_LBUTTONUP, first);
  EXPECT_EQ(fillOf(first), YELLOW);
  mouse(WM_LBUTTONDOWN, first), midi(), SendMessage(*program, WM_TIMER, IDM_PLAY_TIMER, 0);
  const int second = program->seq.prev[0].note;
  const Messages step = midi();  // the run's note-off on its channel leaves the live note on
  const uint32_t runOff = 0x80u | static_cast<uint32_t>(note(first)) << 8;
  EXPECT_TRUE(fillOf(first) == LIVE_BLUE && fillOf(second) == YELLOW && step.front() == runOff &&
              std::ranges::count(step, off(note(first))) == 0);
  mouse(WM_LBUTTONUP, first), SendCommand(*program, IDPB_PAUSE);
  mouse(WM_LBUTTONDOWN, second), mouse(WM_LBUTTONUP, second);
  EXPECT_TRUE(fillOf(first) == WHITE && fillOf(second) == YELLOW);
  SendCommand(*program, IDPB_STOP), mouse(WM_LBUTTONDOWN, second), mouse(WM_LBUTTONUP, second);
  EXPECT_EQ(fillOf(second), WHITE);
  fake.midiOpenSucceeds = false, start(), mouse(WM_LBUTTONDOWN, 30);  // lit, no sound, no word
  EXPECT_TRUE(fillOf(30) == LIVE_BLUE && midi().empty() && fake.logOf("messageBox").size() == 1);
}

// "Mostrar teclas" comes from the settings, writes each key under its label on both sides (and
// on a button a run lights), and is saved as the options dialog left it.
TEST_F(Live, ShowKeysWritesTheKeysAndIsRemembered) {
  fake.storedDwords[SHOW_KEYS_SETTING] = 1, start();
  fakes::RecordingSurface surface;
  send(WM_PAINT, 0, reinterpret_cast<intptr_t>(static_cast<platform::Surface*>(&surface)));
  SendCommand(*program, IDPB_PLAY);
  std::map<int, std::string> painted, lit;  // the text drawn under each centre
  for (auto [ops, keys] : {std::pair{&surface.ops(), &painted}, {&std::as_const(fake.dcOps), &lit}})
    for (const fakes::SurfaceOp& op : *ops)
      for (int p = 0; p < KB_POSITIONS; ++p)
        if (op.kind == fakes::SurfaceOp::Kind::TextOut &&
            std::pair{op.x + 5 * static_cast<int>(op.text.size()), op.y - 9} == xy(p))
          (*keys)[p] = op.text;
  EXPECT_TRUE(painted.size() == 62 && painted[0] == "Q" && painted[54] == "´" && painted[55] == "Z" &&
              painted[64] == "-");
  EXPECT_EQ(lit, (std::map<int, std::string>{{program->seq.prev[0].note, "W"}}));
  fake.optionsOutcomes = {{true, {IDRB_GCF, IDRB_OUT, IDRB_TANGO_ACC, 0}}};
  SendCommand(*program, IDM_DIALOGBOX_OPTIONS), SendMessage(*program, WM_DESTROY, 0, 0);
  EXPECT_EQ(fake.storedDwords[SHOW_KEYS_SETTING], 0);
}
