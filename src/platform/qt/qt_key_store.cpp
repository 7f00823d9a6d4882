#include "platform/qt/qt_key_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <cstdio>
#include <limits>

namespace brenavo {

QString defaultSettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Brenavo/Brenavo 2.0.conf");
}

QtKeyStore::QtKeyStore() : QtKeyStore(defaultSettingsPath()) {}

QtKeyStore::QtKeyStore(const QString& iniPath) : path_(iniPath) {}

QtKeyStore::~QtKeyStore() { closeKey(); }

auto QtKeyStore::openOrCreate() -> Disposition {
  if (openSettings()) return Disposition::OpenedExisting;
  settings_.reset();
  if (!folderWritable() || !moveAsideUnreadable()) return Disposition::Failed;
  openSettings();
  return Disposition::CreatedNew;
}

bool QtKeyStore::openSettings() {
  settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
  // Writes go to a temporary file that then replaces the old one, or nowhere. The whole
  // file is written anew from what was read, so lines the reader skipped are gone then.
  settings_->setAtomicSyncRequired(true);
  // A line the reader does not understand (a '#' comment, a line without '=', a
  // byte-order mark) makes it report a format error, but every other line still reads:
  // only a file without a single value counts as unusable.
  return !settings_->allKeys().isEmpty();
}

bool QtKeyStore::moveAsideUnreadable() const {
  if (!QFileInfo::exists(path_)) return true;
  // An empty file holds nothing worth keeping, and must not take an older backup's place.
  if (QFileInfo(path_).size() == 0) return QFile::remove(path_);
  return std::rename(QFile::encodeName(path_).constData(),
                     QFile::encodeName(backupPath()).constData()) == 0;
}

bool QtKeyStore::readDword(const char* name, int32_t& value) {
  if (!settings_) return false;
  const QString text = settings_->value(QString::fromLatin1(name)).toString().trimmed();
  bool isNumber = false;
  const qlonglong number = text.toLongLong(&isNumber);
  if (!isNumber || number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  value = static_cast<int32_t>(number);
  return true;
}

void QtKeyStore::writeDword(const char* name, int32_t value) {
  if (settings_) settings_->setValue(QString::fromLatin1(name), value);
}

void QtKeyStore::writeString(const char* name, const char* value) {
  if (settings_) settings_->setValue(QString::fromLatin1(name), QString::fromUtf8(value));
}

bool QtKeyStore::readString(const char* name, std::string& value) {
  if (!settings_ || !settings_->contains(QString::fromLatin1(name))) return false;
  value = settings_->value(QString::fromLatin1(name)).toString().toStdString();
  return true;
}

void QtKeyStore::closeKey() {
  if (!settings_) return;
  settings_->sync();
  settings_.reset();
}

bool QtKeyStore::folderWritable() const {
  const QString folder = QFileInfo(path_).absolutePath();
  return QDir().mkpath(folder) && QFileInfo(folder).isWritable();
}

}  // namespace brenavo
