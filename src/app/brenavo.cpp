// The window procedure: every event of the program arrives here as a message and is
// handed to the part of the program that owns it.
#include "app/brenavo_funcs.h"

#include "dialogs/help_topics.h"
#include "dialogs/info_dialogs.h"
#include "dialogs/options.h"
#include "display/geometry.h"
#include "display/painting.h"
#include "display/sheet.h"
#include "display/status_bar.h"
#include "live/live_play.h"
#include "playback/midi.h"
#include "playback/transport.h"
#include "practice/practice.h"
#include "selection/commands.h"
#include "selection/menus.h"
#include "settings/settings_store.h"

namespace brenavo {

namespace {

constexpr const char* EXIT_QUESTION = "¿Quiere terminar con el Brenavo?";
constexpr const char* EXIT_CAPTION = "Brenavo: ";

// Brings every part of the program up, in order, before the window is first shown.
void onCreate(Program& program) {
  initHelp(program);
  InitStatus(program);
  createButtonXYs(program);
  loadSettings(program);
  loadLiveSettings(program);
  SendCommand(program, IDM_UPDATE_MENUS);
  SendCommand(program, IDM_UPDATE_STATUS_BAR);
  openMidiOutput(program);
  initTempoScrollBar(program);
  createTransportControls(program);
  createDrawingResources(program);
}

// Takes everything down and saves the settings. Runs once, however the program ends.
void onDestroy(Program& program) {
  if (program.destroyed) return;
  program.destroyed = true;
  releaseLiveNotes(program);
  // A run still going has its timer stopped so no step follows the closing of the output.
  if (program.sel.ctrlPlay) program.os.timer.killTimer(IDM_PLAY_TIMER);
  endPractice(program);
  freeDrawingResources(program);
  closeMidiOutput(program);
  shutdownHelp(program);
  saveSettings(program);
  saveLiveSettings(program);
  program.os.window.postQuit(0);
}

// Tuning and voice may change: nothing played live goes on sounding across the dialog.
void runOptionsCommand(Program& program) {
  releaseLiveNotes(program);
  endPractice(program);
  runOptionsDialog(program);
  SendCommand(program, IDM_UPDATE_MENUS);
  SendCommand(program, IDM_UPDATE_STATUS_BAR);
  sendProgramChange(program);
}

void runExitCommand(Program& program) {
  if (program.os.messages.messageBox(EXIT_QUESTION, EXIT_CAPTION, MB_YESNO) == IDYES)
    SendMessage(program, WM_DESTROY, 0, 0);
}

bool isHelpOrDialogCommand(int id) { return id >= IDM_HELP && id <= IDM_MTHEORY; }

void runHelpOrDialogCommand(Program& program, int id) {
  if (id == IDM_USAGE) {
    runUsageDialog(program);
  } else if (id == IDM_ABOUT) {
    runAboutDialog(program);
  } else {
    showHelpTopic(program, id);
  }
}

bool isTransportCommand(int id) {
  return (id >= IDPB_PLAY && id <= IDPB_STOP) || (id >= IDM_SPEED_PLUS_5 && id <= IDM_SPEED_MIN_25);
}

// A run that starts lets go of what is played live; a run going on leaves live play lit.
void runTransportCommand(Program& program, int id) {
  if ((id == IDPB_PLAY || id == IDPB_LOOP) && !program.sel.ctrlPlay) releaseLiveNotes(program);
  handleTransportCommand(program, id);
  relightHeldButtons(program);
}

void onCommand(Program& program, int id) {
  if (isHelpOrDialogCommand(id)) {
    runHelpOrDialogCommand(program, id);
  } else if (id == IDM_DIALOGBOX_OPTIONS) {
    runOptionsCommand(program);
  } else if (id == IDM_EXIT) {
    runExitCommand(program);
  } else if (isPracticeCommand(id)) {
    releaseLiveNotes(program);
    handlePracticeCommand(program, id);
  } else if (isTransportCommand(id)) {
    if (id == IDPB_STOP) endPractice(program);
    if (!isPractising(program)) runTransportCommand(program, id);
  } else if (id == IDM_UPDATE_MENUS) {
    updateMenus(program);
  } else if (id == IDM_UPDATE_STATUS_BAR) {
    updateStatusBar(program);
  } else if (isSheetCommand(id)) {
    handleSheetCommand(program, id);
  } else {
    endPractice(program);
    handleSelectionCommand(program, id);
  }
}

// The whole picture, every button unlit but those of the practice step and those held live.
void onPaint(Program& program, platform::Surface& surface) {
  paintWindow(program, surface);
  forgetHighlights(program.seq);
  paintPractice(program, surface);
  paintLiveLayer(program, surface);
}

}  // namespace

int32_t WindowFunc(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // Once the window has been taken down, nothing more reaches the program.
  if (program.destroyed) return 0;
  switch (message) {
    case WM_CREATE:
      onCreate(program);
      return 0;
    case WM_DESTROY:
      onDestroy(program);
      return 0;
    case WM_PAINT:
      if (lParam != 0) onPaint(program, *reinterpret_cast<platform::Surface*>(lParam));
      return 0;
    case WM_COMMAND:
      onCommand(program, static_cast<int>(wParam & 0xFFFF));
      return 0;
    case WM_TIMER:
      if (wParam == IDM_PRACTICE_TIMER)
        handlePracticeTimer(program);
      else
        handlePlaybackTimer(program);
      relightHeldButtons(program);
      return 0;
    case WM_VSCROLL:
      handleVScroll(program, wParam);
      practiceTempoChanged(program);
      return 0;
    case WM_PRACTICE_HEARD:
      if (lParam != 0)
        handlePracticeHeard(program, *reinterpret_cast<const listening::Hearing*>(lParam));
      return 0;
    default:
      if (isLiveMessage(message)) handleLiveMessage(program, message, wParam, lParam);
      return 0;
  }
}

std::unique_ptr<Program> CreateMainWindow(platform::Platform& platformServices) {
  auto program = std::make_unique<Program>(platformServices);
  program->menu = makeMainMenu();
  program->windowProc = WindowFunc;
  SendMessage(*program, WM_CREATE, 0, 0);
  return program;
}

}  // namespace brenavo
