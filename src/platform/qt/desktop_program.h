// What the desktop program is made of once its QApplication exists: the program's names,
// Qt's own texts in Spanish, the per-user settings store and the main window on a MIDI
// output. main() builds it, and so does the start-up benchmark, the same way.
#pragma once

#include <QTranslator>
#include <memory>

#include "platform/platform.h"

namespace brenavo {
class QtKeyStore;
}

namespace brenavo::qt {

class MainWindow;

class DesktopProgram {
 public:
  // Builds the window, which opens the MIDI output; the caller shows it.
  explicit DesktopProgram(platform::MidiDevice& midi);
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  MainWindow& window() { return *window_; }

 private:
  QTranslator spanish_;
  std::unique_ptr<QtKeyStore> keyStore_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace brenavo::qt
