#include "dialogs/help_topics.h"

namespace brenavo {

const char* helpTarget(int commandId) {
  switch (commandId) {
    case IDM_HELP:
      return "brenavo.chm";
    case IDM_FAQ:
      return "brenavo.chm::brv_intro_faq.htm";
    case IDM_HOTKEYS:
      return "brenavo.chm::brv_intro_hotkeys.htm";
    case IDM_MTHEORY:
      return "brenavo.chm::brv_musicTheory_intro.htm";
    default:
      return nullptr;
  }
}

void initHelp(Program& program) { program.os.help.initialize(); }

// The help window runs beside the main window; whether it could open changes nothing here.
void showHelpTopic(Program& program, int commandId) {
  if (const char* target = helpTarget(commandId)) program.os.help.displayTopic(target);
}

void shutdownHelp(Program& program) { program.os.help.uninitialize(); }

}  // namespace brenavo
