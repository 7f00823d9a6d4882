// The settings file: damaged and hand-edited files, folders that cannot be written.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/qt/qt_key_store.h"

using brenavo::QtKeyStore;
using Disposition = brenavo::platform::KeyStore::Disposition;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One run of the program's saving: opens the store, writes the value, closes it.
Disposition save(const QString& path, const char* name, int32_t value) {
  QtKeyStore store(path);
  const Disposition disposition = store.openOrCreate();
  store.writeDword(name, value);
  store.closeKey();
  return disposition;
}

}  // namespace

class KeyStoreTest : public QObject {
  Q_OBJECT

 private:
  // A fresh folder per case: no case meets another's settings, even in Qt's cache of them.
  std::unique_ptr<QTemporaryDir> dir_;
  QString path_;

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath("Brenavo/Brenavo 2.0.conf");
  }
  void cleanup() {  // a folder made read-only must be writable again to be removed
    QFile::setPermissions(QFileInfo(path_).absolutePath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    dir_.reset();
  }

  void theDefaultFileIsTheUsualPerUserSettingsFile() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_->path()));
    QCOMPARE(QtKeyStore().path(), path_);
  }

  // Whole numbers in the 32-bit range, blanks around them allowed, are read; anything else
  // counts as absent and leaves the variable as it was.
  void valuesThatAreNoNumbersCountAsAbsent() {
    writeFile(path_, "[General]\na=-1\nb= 203 \nc=abc\nd=1, 2\ne=4294967295\nf=12abc\ng=\n");
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    const std::pair<const char*, int32_t> expected[] = {
        {"a", -1}, {"b", 203}, {"c", 42}, {"d", 42}, {"e", 42}, {"f", 42}, {"g", 42}, {"h", 42}};
    for (const auto& [name, value] : expected) {
      int32_t read = 42;
      QCOMPARE(store.readDword(name, read), value != 42);
      QCOMPARE(read, value);
    }
  }

  void aReadOnlyFolderKeepsThePreviousFile() {
    writeFile(path_, "[General]\ndBox_accKey=1013\n");
    const QString folder = QFileInfo(path_).absolutePath();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable()) QSKIP("this user may write into any folder");
    QCOMPARE(save(path_, "dBox_accKey", 1011), Disposition::OpenedExisting);
    QCOMPARE(readFile(path_), QByteArray("[General]\ndBox_accKey=1013\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Brenavo 2.0.conf"});
  }

  void aDamagedFileIsWrittenAnewClean_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("backup");  // what the backup holds afterwards
    const QByteArray values = "app_Version=2.0.1\ndBox_accKey=1013\n[Extra]\nx=1\n";
    const QByteArray older = "an older backup", garbage("\x00\x01\xff\xfe garbage\n\x7f", 14);
    QTest::newRow("comment") << "[General]\n# set by hand\n" + values << older;
    QTest::newRow("no '='") << "[General]\nno equals sign\n" + values << older;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF[General]\n" + values << older;
    QTest::newRow("CRLF") << QByteArray("[General]\n" + values).replace("\n", "\r\n") << older;
    QTest::newRow("empty") << QByteArray() << older;
    QTest::newRow("garbage") << garbage << garbage;
  }

  // A file with values reads and loses only its odd lines. One without is moved aside in
  // place of an older backup (an empty one is only removed) and a new one is made. The file
  // is replaced whole, never written in place: a second name for its bytes keeps them.
  void aDamagedFileIsWrittenAnewClean() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, backup);
    writeFile(path_, content);
    writeFile(path_ + ".bak", "an older backup");
    const QString secondName = path_ + ".link";
    QCOMPARE(::link(QFile::encodeName(path_), QFile::encodeName(secondName)), 0);
    const bool hasValues = content.contains("dBox_accKey=1013");
    QCOMPARE(save(path_, "playbackSpeed", 7),
             hasValues ? Disposition::OpenedExisting : Disposition::CreatedNew);
    QCOMPARE(readFile(path_),
             hasValues ? QByteArray("[General]\napp_Version=2.0.1\ndBox_accKey=1013\n"
                                    "playbackSpeed=7\n\n[Extra]\nx=1\n")
                       : QByteArray("[General]\nplaybackSpeed=7\n"));
    QCOMPARE(readFile(QtKeyStore(path_).backupPath()), backup);
    QCOMPARE(readFile(secondName), content);
  }
};

QTEST_GUILESS_MAIN(KeyStoreTest)
#include "key_store_test.moc"
