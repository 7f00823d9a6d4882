// Brenavo: the desktop program. Qt's own texts in Spanish, the embedded synthesizer as
// the MIDI output, the settings in the per-user store, one main window.
#include <QApplication>
#include <QTranslator>

#include "platform/fluidsynth/fluid_midi_device.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_key_store.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brenavo"));
  QApplication::setOrganizationName(QStringLiteral("Brenavo"));
  QTranslator spanish;
  brenavo::qt::installSpanishQtTranslation(spanish);

  brenavo::fluid::FluidMidiDevice midi;
  brenavo::QtKeyStore keyStore;
  brenavo::qt::MainWindow window(midi, keyStore);
  window.show();
  return QApplication::exec();
}
