// The per-user settings store: one INI file in the user's configuration folder
// (on Linux ~/.config/Brenavo/Brenavo 2.0.conf), opened afresh for every load or save.
#pragma once

#include <QString>
#include <memory>

#include "platform/platform.h"

class QSettings;

namespace brenavo {

// <user configuration folder>/Brenavo/Brenavo 2.0.conf
QString defaultSettingsPath();

class QtKeyStore : public platform::KeyStore {
 public:
  QtKeyStore();
  explicit QtKeyStore(const QString& iniPath);
  ~QtKeyStore() override;
  QtKeyStore(const QtKeyStore&) = delete;
  QtKeyStore& operator=(const QtKeyStore&) = delete;

  // OpenedExisting when the file holds values. CreatedNew when it is missing, empty,
  // unreadable or damaged: such a file is removed, and the file is written anew from
  // what the program writes. Failed when the file cannot be used and its folder cannot
  // be written; then nothing is read or written.
  Disposition openOrCreate() override;
  // True, with the value, when the name holds a whole number in the signed 32-bit
  // range; otherwise the value is left as it was.
  bool readDword(const char* name, int32_t& value) override;
  void writeDword(const char* name, int32_t value) override;
  void writeString(const char* name, const char* value) override;
  // Writes the file, if anything changed, by replacing it whole; a file that cannot be
  // replaced is left as it was.
  void closeKey() override;

  const QString& path() const { return path_; }

 private:
  // Opens the file; true when it parses and holds values.
  bool openSettings();
  bool folderWritable() const;

  QString path_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace brenavo
