// The settings file: first and later runs, damaged and hand-edited files, folders that
// cannot be written.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "platform/qt/qt_key_store.h"

using brenavo::QtKeyStore;
using Disposition = brenavo::platform::KeyStore::Disposition;
using Values = std::vector<std::pair<const char*, int32_t>>;

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

// The keys of the file as a fresh reader sees them, sorted.
QStringList keysOnDisk(const QString& path) {
  QStringList keys = QSettings(path, QSettings::IniFormat).allKeys();
  keys.sort();
  return keys;
}

// One run of the program's saving: opens the store, writes the values, closes it.
Disposition save(const QString& path, const Values& values) {
  QtKeyStore store(path);
  const Disposition disposition = store.openOrCreate();
  for (const auto& [name, value] : values) store.writeDword(name, value);
  store.closeKey();
  return disposition;
}

}  // namespace

class KeyStoreTest : public QObject {
  Q_OBJECT

 private:
  // A fresh folder per case: the settings of one case never meet those of another,
  // not even in the process-wide cache of settings files.
  std::unique_ptr<QTemporaryDir> dir_;
  QString path_;

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath("Brenavo/Brenavo 2.0.conf");
  }
  void cleanup() { dir_.reset(); }

  void firstRunCreatesTheFileAndTheSecondReadsIt() {
    const Values values = {{"dBox_accKey", 1014},
                           {"z_chord", -5},
                           {"lowest", std::numeric_limits<int32_t>::min()},
                           {"highest", std::numeric_limits<int32_t>::max()}};
    QCOMPARE(save(path_, values), Disposition::CreatedNew);
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    for (const auto& [name, expected] : values) {
      int32_t value = 0;
      QVERIFY2(store.readDword(name, value), name);
      QCOMPARE(value, expected);
    }
    int32_t absent = 77;
    QVERIFY(!store.readDword("playbackSpeed", absent));
    QCOMPARE(absent, 77);
  }

  // Whole numbers in the 32-bit range, blanks around them allowed, are read; anything else
  // counts as absent and leaves the value as it was.
  void handEditedValuesThatAreNoNumbersCountAsAbsent() {
    writeFile(path_,
              "[General]\ndBox_accKey=1013\ndBox_midiVoice=abc\nz_chord=1, 2\n"
              "z_circle=4294967295\nz__index=12abc\nplaybackSpeed=\nscaleSteps=-1\n"
              "formatSelected= 203 \n");
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    const Values expected = {{"dBox_accKey", 1013}, {"scaleSteps", -1}, {"formatSelected", 203},
                             {"dBox_midiVoice", 42}, {"z_chord", 42}, {"z_circle", 42},
                             {"z__index", 42}, {"playbackSpeed", 42}, {"pentScaleType", 42}};
    for (const auto& [name, value] : expected) {
      int32_t read = 42;
      QCOMPARE(store.readDword(name, read), value != 42);
      QCOMPARE(read, value);
    }
  }

  void aFileWithoutValuesIsMovedAsideAndReplacedByANewOne_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\xff\xfe garbage\n\x7f", 14) << false;
    QTest::newRow("read-only garbage") << QByteArray("garbage\n") << true;
  }

  // The old bytes go to the backup, in place of an older one; an empty file leaves it.
  void aFileWithoutValuesIsMovedAsideAndReplacedByANewOne() {
    QFETCH(QByteArray, content);
    QFETCH(bool, readOnly);
    writeFile(path_, content);
    writeFile(path_ + ".bak", "an older backup");
    if (readOnly) QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadOther);
    QCOMPARE(save(path_, {{"dBox_accKey", 1012}}), Disposition::CreatedNew);
    QCOMPARE(keysOnDisk(path_), QStringList{"dBox_accKey"});  // nothing old is left
    QCOMPARE(readFile(QtKeyStore(path_).backupPath()),
             content.isEmpty() ? QByteArray("an older backup") : content);
  }

  // A second name for the same bytes on disk would see any writing done in place.
  void theFileIsReplacedWholeNeverWrittenInPlace() {
    save(path_, {{"playbackSpeed", 3}});
    const QByteArray before = readFile(path_);
    const QString otherName = dir_->filePath("Brenavo/old.conf");
    QCOMPARE(::link(QFile::encodeName(path_), QFile::encodeName(otherName)), 0);
    QCOMPARE(save(path_, {{"playbackSpeed", 17}}), Disposition::OpenedExisting);
    QCOMPARE(readFile(otherName), before);
    QVERIFY(readFile(path_).contains("playbackSpeed=17"));
  }

  void aReadOnlyFolderKeepsThePreviousFile() {
    writeFile(path_, "[General]\ndBox_accKey=1013\n");
    const QString folder = QFileInfo(path_).absolutePath();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool canStillWrite = QFileInfo(folder).isWritable();
    Disposition disposition = Disposition::Failed;
    if (!canStillWrite) disposition = save(path_, {{"dBox_accKey", 1011}, {"z_chord", 300}});
    const QStringList leftInFolder = QDir(folder).entryList(QDir::Files);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite) QSKIP("this user may write into any folder");
    QCOMPARE(disposition, Disposition::OpenedExisting);
    QCOMPARE(readFile(path_), QByteArray("[General]\ndBox_accKey=1013\n"));
    QCOMPARE(leftInFolder, QStringList{"Brenavo 2.0.conf"});
  }

  // Even a user who may write anywhere cannot make the settings folder inside a file.
  void aFolderThatCannotBeMadeFailsAndTouchesNothing() {
    const QString inTheWay = QFileInfo(path_).absolutePath();
    writeFile(inTheWay, "not a folder");
    QCOMPARE(save(path_, {{"dBox_accKey", 1011}}), Disposition::Failed);
    QCOMPARE(readFile(inTheWay), QByteArray("not a folder"));
  }

  void theDefaultFileIsTheUsualPerUserSettingsFile() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_->path()));
    QCOMPARE(brenavo::defaultSettingsPath(), path_);
    QCOMPARE(QtKeyStore().path(), path_);
  }

  void linesTheReaderSkipsCostNoValue_data() {
    QTest::addColumn<QByteArray>("content");
    const QByteArray values = "app_Version=2.0.1\ndBox_accKey=1013\n";
    QTest::newRow("comment") << "[General]\n# set by hand\n" + values + "[Extra]\nx=1\n";
    QTest::newRow("no '='") << "[General]\nno equals sign\n" + values + "[Extra]\nx=1\n";
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF[General]\n" + values + "[Extra]\nx=1\n";
    QTest::newRow("CRLF") << QByteArray("[General]\r\napp_Version=2.0.1\r\ndBox_accKey=1013\r\n"
                             "[Extra]\r\nx=1\r\n");
  }

  // Every value reads, and the save writes the file anew without the odd line.
  void linesTheReaderSkipsCostNoValue() {
    QFETCH(QByteArray, content);
    writeFile(path_, content);
    {
      QtKeyStore store(path_);
      QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
      int32_t value = 0;
      QVERIFY(store.readDword("dBox_accKey", value));
      QCOMPARE(value, 1013);
    }
    QCOMPARE(save(path_, {{"playbackSpeed", 7}}), Disposition::OpenedExisting);
    QCOMPARE(readFile(path_), QByteArray("[General]\napp_Version=2.0.1\ndBox_accKey=1013\n"
                                         "playbackSpeed=7\n\n[Extra]\nx=1\n"));
    QVERIFY(!QFile::exists(path_ + ".bak"));
  }
};

QTEST_GUILESS_MAIN(KeyStoreTest)
#include "key_store_test.moc"
