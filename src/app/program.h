// The one program context: the desktop it runs on and every piece of state the
// window procedure and its helpers share. Tests build a fresh one per case.
#pragma once

#include <cstdint>

#include "display/drawing_resources.h"
#include "live/live_state.h"
#include "model/ids.h"
#include "platform/platform.h"
#include "playback/sequencer_state.h"
#include "practice/practice_state.h"
#include "selection/menu_model.h"
#include "selection/selection_state.h"

namespace brenavo {

struct Program;
using WindowProc = int32_t (*)(Program&, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct Program {
  explicit Program(platform::Platform& platformServices) : os(platformServices) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Platform& os;
  WindowProc windowProc = nullptr;     // where messages the program sends itself go
  SelectionState sel;
  ButtonGeometry geo;
  DrawingResources res;
  SequencerState seq;
  LiveState live;
  PracticeState practice;
  Menu menu;                           // the menu bar "MainMenu"
  char tempStr[255] = {};
  bool destroyed = false;              // the destruction branch has run
};

// Delivers a message to the program's own window procedure and returns its result.
inline int32_t SendMessage(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return program.windowProc ? program.windowProc(program, message, wParam, lParam) : 0;
}

// An internal request: a command the window sends itself, carrying ID_STATUSBAR.
inline void SendCommand(Program& program, int commandId) {
  SendMessage(program, WM_COMMAND, static_cast<uintptr_t>(commandId), ID_STATUSBAR);
}

}  // namespace brenavo
