// Brenavo: the desktop program. Qt's own texts in Spanish, the embedded synthesizer as
// the MIDI output, the settings in the per-user store, one main window.
#include <QApplication>

#include "platform/fluidsynth/fluid_midi_device.h"
#include "platform/qt/desktop_program.h"
#include "platform/qt/main_window.h"

int main(int argc, char* argv[]) {
  // The synthesizer loads its SoundFont while Qt starts; the window's creation waits for
  // it when it opens the MIDI output, so a failure is still reported before the window.
  brenavo::fluid::FluidMidiDevice midi;
  midi.openInBackground();
  QApplication application(argc, argv);
  brenavo::qt::DesktopProgram desktop(midi);
  desktop.window().show();
  return QApplication::exec();
}
