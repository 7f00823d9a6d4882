#include "playback/transport.h"

#include "playback/midi.h"
#include "playback/sequencer.h"
#include "selection/menus.h"

namespace brenavo {

namespace {

int timerPeriod(const Program& program) { return program.sel.vPos * TIMER_MILLISECS; }

void startTimer(Program& program) {
  program.os.timer.setTimer(IDM_PLAY_TIMER, timerPeriod(program));
}

void stopTimer(Program& program) { program.os.timer.killTimer(IDM_PLAY_TIMER); }

// The remembered notes off and no further step: what Pause and Stop do to a run.
void silence(Program& program) {
  allNotesOff(program);
  stopTimer(program);
}

void performStep(Program& program) {
  playScaleChordCircle(program);
  ++program.sel.scalePoint;
}

void play(Program& program) {
  SelectionState& sel = program.sel;
  if (sel.ctrlPlay) return;
  reopenMissingMidiOutput(program);  // a sound server may have come since the start
  program.os.controls.setFocus(sel.ctrlLoop ? IDPB_LOOP : IDPB_PLAY);
  if (!sel.ctrlPause) sel.scalePoint = 0;
  sel.ctrlPlay = 1;
  sel.ctrlPause = 0;
  EnableMenuBar(program, 0);
  performStep(program);
  startTimer(program);
}

void loop(Program& program) {
  program.sel.ctrlLoop = 1;
  SendCommand(program, IDPB_PLAY);
}

// The step that was sounding stays highlighted until the run goes on or stops.
void pause(Program& program) {
  SelectionState& sel = program.sel;
  program.os.controls.setFocus(IDPB_PAUSE);
  if (!sel.ctrlPlay) return;
  silence(program);
  sel.ctrlLoop = 0;
  sel.ctrlPlay = 0;
  sel.ctrlPause = 1;
}

void stop(Program& program) {
  SelectionState& sel = program.sel;
  program.os.controls.setFocus(IDPB_STOP);
  if (sel.ctrlPlay || sel.ctrlPause) silence(program);
  EnableMenuBar(program, 1);
  program.os.window.invalidate();
  sel.scalePoint = 0;
  sel.ctrlPause = 0;
  sel.ctrlLoop = 0;
  sel.ctrlPlay = 0;
}

void endRun(Program& program) {
  SelectionState& sel = program.sel;
  program.os.controls.setFocus(IDC_CONTROLS_FRAME);
  stopTimer(program);
  EnableMenuBar(program, 1);
  program.os.window.show();
  sel.ctrlPause = 0;
  sel.ctrlPlay = 0;
  allNotesOff(program);
  if (sel.ctrlLoop) SendCommand(program, IDPB_PLAY);
}

void sendScroll(Program& program, int scrollCode) {
  SendMessage(program, WM_VSCROLL, static_cast<uintptr_t>(scrollCode), ID_STATUSBAR);
}

int scrolledTempo(int vPos, int scrollCode, int thumbPosition) {
  switch (scrollCode) {
    case SB_LINEUP: return clampTempo(vPos - LINE_STEP);
    case SB_LINEDOWN: return clampTempo(vPos + LINE_STEP);
    case SB_PAGEUP: return clampTempo(vPos - PAGE_STEP);
    case SB_PAGEDOWN: return clampTempo(vPos + PAGE_STEP);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return clampTempo(thumbPosition);
    default: return vPos;
  }
}

}  // namespace

void handleTransportCommand(Program& program, int commandId) {
  switch (commandId) {
    case IDPB_PLAY: play(program); break;
    case IDPB_LOOP: loop(program); break;
    case IDPB_PAUSE: pause(program); break;
    case IDPB_STOP: stop(program); break;
    case IDM_SPEED_PLUS_5: sendScroll(program, SB_LINEDOWN); break;
    case IDM_SPEED_PLUS_25: sendScroll(program, SB_PAGEDOWN); break;
    case IDM_SPEED_MIN_5: sendScroll(program, SB_LINEUP); break;
    case IDM_SPEED_MIN_25: sendScroll(program, SB_PAGEUP); break;
    default: break;
  }
}

// A tick that arrives while nothing is playing (one already queued when the timer was
// stopped) is dropped, so that it cannot start a note nobody will stop.
void handlePlaybackTimer(Program& program) {
  SelectionState& sel = program.sel;
  if (!sel.ctrlPlay) return;
  if (sel.scalePoint <= sel.scaleSteps)
    performStep(program);
  else
    endRun(program);
}

void handleVScroll(Program& program, uintptr_t wParam) {
  const int scrollCode = static_cast<int>(wParam & 0xFFFF);
  const int thumbPosition = static_cast<int>((wParam >> 16) & 0xFFFF);
  program.sel.vPos = scrolledTempo(program.sel.vPos, scrollCode, thumbPosition);
  if (program.sel.ctrlPlay) {
    stopTimer(program);
    startTimer(program);
  }
  program.os.scrollBar.setPos(program.sel.vPos);
}

void initTempoScrollBar(Program& program) {
  program.os.scrollBar.setRange(VERT_RANGE_MIN, VERT_RANGE_MAX);
  program.os.scrollBar.setPos(program.sel.vPos);
}

void createTransportControls(Program& program) {
  static const platform::ControlLayout controls[] = {
      {IDC_CONTROLS_FRAME, "STATIC", "Controles", 285, 180, 80, 155, ""},
      {IDPB_PLAY, "BUTTON", "", 300, 210, 50, 25, "CtrlPlayBmp"},
      {IDPB_LOOP, "BUTTON", "", 300, 240, 50, 25, "CtrlLoopBmp"},
      {IDPB_PAUSE, "BUTTON", "", 300, 270, 50, 25, "CtrlPauseBmp"},
      {IDPB_STOP, "BUTTON", "", 300, 300, 50, 25, "CtrlStopBmp"},
  };
  for (const platform::ControlLayout& control : controls) program.os.controls.createControl(control);
}

void allNotesOff(Program& program) {
  if (!program.sel.midiDevExists) return;
  for (const SequencerSlot& slot : program.seq.prev)
    MidiNoteOff(program.os.midi, CHANNEL_NUM, slot.midi, 0);
}

}  // namespace brenavo
