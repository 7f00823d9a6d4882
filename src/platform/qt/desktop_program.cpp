#include "platform/qt/desktop_program.h"

#include <QApplication>

#include "platform/qt/main_window.h"
#include "platform/qt/qt_key_store.h"

namespace brenavo::qt {

// The names come first: Qt and the desktop know the program by them. (The settings file
// has a place of its own, chosen by QtKeyStore.)
DesktopProgram::DesktopProgram(platform::MidiDevice& midi) {
  QApplication::setApplicationName(QStringLiteral("Brenavo"));
  QApplication::setOrganizationName(QStringLiteral("Brenavo"));
  // Lets the desktop match the window to its entry and icon (Wayland in particular).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.brenavo.Brenavo"));
  installSpanishQtTranslation(spanish_);
  keyStore_ = std::make_unique<QtKeyStore>();
  window_ = std::make_unique<MainWindow>(midi, *keyStore_);
}

DesktopProgram::~DesktopProgram() = default;

}  // namespace brenavo::qt
