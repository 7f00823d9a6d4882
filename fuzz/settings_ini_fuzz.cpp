// Any bytes, as the INI file of the desktop's settings store, load as a valid selection
// that paints, plays a whole run and saves what loads back unchanged. A file with a value
// that reads stays where it is; one without is moved aside whole, never lost.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "fakes/recording_platform.h"
#include "platform/qt/qt_key_store.h"
#include "settings_check.h"

namespace brenavo::fuzz {
namespace {

// Every input gets a file of its own, so that nothing remembered about an earlier file
// with the same name can stand in for the new bytes.
QString freshSettingsPath() {
  static QTemporaryDir folder;
  static int inputs = 0;
  require(folder.isValid(), "no temporary folder for the settings files");
  return folder.filePath(QStringLiteral("input-%1/Brenavo 2.0.conf").arg(++inputs));
}

void writeFile(const QString& path, const uint8_t* data, size_t size) {
  require(QDir().mkpath(QFileInfo(path).absolutePath()), "cannot make the settings folder");
  QFile file(path);
  require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the settings file");
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

// Runs the program with its settings in the file at `path`; returns what it saved.
SelectionState runOnFile(const QString& path) {
  fakes::RecordingPlatform fake;
  QtKeyStore store(path);
  const platform::Platform& recording = fake.services();
  platform::Platform services{recording.window,
                              recording.menuBar,
                              recording.statusBar,
                              recording.timer,
                              recording.scrollBar,
                              recording.controls,
                              recording.messages,
                              recording.dialogs,
                              recording.help,
                              recording.midi,
                              store,
                              recording.printer,
                              recording.audioInput};
  return runProgramOnce(services, fake);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first run kept a file with a readable value in place, removed an empty one and moved
// any other aside.
void requireOldBytesKept(const QString& path, const QByteArray& input, bool inputHeldValues) {
  const QString backup = QtKeyStore(path).backupPath();
  if (inputHeldValues || input.isEmpty()) {
    require(!QFile::exists(backup), "a file with values, or an empty one, was moved aside");
  } else {
    require(QFile::exists(backup) && readFile(backup) == input,
            "a file without values was not moved aside whole");
  }
}

void removeFolderOf(const QString& path) { QFileInfo(path).absoluteDir().removeRecursively(); }

}  // namespace
}  // namespace brenavo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brenavo::fuzz;
  const QString path = freshSettingsPath();
  writeFile(path, data, size);
  const bool inputHeldValues = !QSettings(path, QSettings::IniFormat).allKeys().isEmpty();
  const brenavo::SelectionState saved = runOnFile(path);
  requireOldBytesKept(path, QByteArray(reinterpret_cast<const char*>(data),
                                       static_cast<qsizetype>(size)), inputHeldValues);
  require(sameSavedValues(runOnFile(path), saved), "the saved settings load back changed");
  removeFolderOf(path);
  return 0;
}
