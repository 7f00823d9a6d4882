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

  // OpenedExisting when any value of the file reads, even if some lines do not. CreatedNew
  // when it is missing, empty, unreadable or holds no value: such a file is moved aside
  // to backupPath() (replacing an older backup), and the file is written anew from what
  // the program writes. Failed when the file cannot be used and its folder cannot be
  // written or the file cannot be moved aside; then nothing is read or written.
  Disposition openOrCreate() override;
  // True, with the value, when the name holds a whole number in the signed 32-bit
  // range; otherwise the value is left as it was.
  bool readDword(const char* name, int32_t& value) override;
  void writeDword(const char* name, int32_t value) override;
  void writeString(const char* name, const char* value) override;
  // Writes the file, if anything changed, by replacing it whole with every value read and
  // written (a damaged file comes back clean); a file that cannot be replaced is left as
  // it was.
  void closeKey() override;
  bool readString(const char* name, std::string& value) override;

  const QString& path() const { return path_; }
  // Where a file without values is kept: the same name with ".bak" added.
  QString backupPath() const { return path_ + QStringLiteral(".bak"); }

 private:
  // Opens the file; true when it holds values.
  bool openSettings();
  // Renames a file that holds no values to backupPath(); true when no file is left in the way.
  bool moveAsideUnreadable() const;
  bool folderWritable() const;

  QString path_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace brenavo
