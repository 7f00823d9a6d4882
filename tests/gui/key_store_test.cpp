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

#include "platform/qt/qt_key_store.h"
#include "settings/settings_store.h"

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

// The keys of the file as a fresh reader sees them, or nothing if it does not parse.
QStringList keysOnDisk(const QString& path) {
  QSettings settings(path, QSettings::IniFormat);
  const QStringList keys = settings.allKeys();
  return settings.status() == QSettings::NoError ? keys : QStringList{"unreadable"};
}

// The seventeen values the program keeps, as the core saves and loads them.
struct Remembered {
  int32_t v[17] = {};
};

void save(QtKeyStore& store, const Remembered& r) {
  const int32_t* v = r.v;
  brenavo::registryUpdate(store, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10],
                          v[11], v[12], v[13], v[14], v[15], v[16]);
}

void load(QtKeyStore& store, Remembered& r) {
  int32_t* v = r.v;
  brenavo::registryReadCreate(store, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8],
                              &v[9], &v[10], &v[11], &v[12], &v[13], &v[14], &v[15], &v[16]);
}

}  // namespace

class KeyStoreTest : public QObject {
  Q_OBJECT

 private:
  // A fresh folder per case: the settings of one case never meet those of another,
  // not even in the process-wide cache of settings files.
  std::unique_ptr<QTemporaryDir> dir_;
  QString path_;

  QString inFolder(const QString& name) const { return dir_->filePath(name); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = inFolder(QStringLiteral("Brenavo/Brenavo 2.0.conf"));
  }

  void cleanup() { dir_.reset(); }

  void firstRunCreatesTheFileAndTheSecondReadsIt() {
    {
      QtKeyStore store(path_);
      QCOMPARE(store.openOrCreate(), Disposition::CreatedNew);
      store.writeString("app_Version", "2.0.1");
      store.writeDword("dBox_accKey", 1014);
      store.writeDword("z_chord", -5);
      store.writeDword("lowest", std::numeric_limits<int32_t>::min());
      store.writeDword("highest", std::numeric_limits<int32_t>::max());
      store.closeKey();
    }
    QVERIFY(QFile::exists(path_));

    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    int32_t value = 0;
    QVERIFY(store.readDword("dBox_accKey", value));
    QCOMPARE(value, 1014);
    QVERIFY(store.readDword("z_chord", value));
    QCOMPARE(value, -5);
    QVERIFY(store.readDword("lowest", value));
    QCOMPARE(value, std::numeric_limits<int32_t>::min());
    QVERIFY(store.readDword("highest", value));
    QCOMPARE(value, std::numeric_limits<int32_t>::max());
    value = 77;
    QVERIFY(!store.readDword("playbackSpeed", value));
    QCOMPARE(value, 77);
    store.closeKey();
  }

  void theProgramsValuesSurviveARestart() {
    Remembered saved;
    for (int i = 0; i < 17; ++i) saved.v[i] = 1000 * i - 7;
    {
      QtKeyStore store(path_);
      Remembered firstRun;
      load(store, firstRun);  // creates the file with the values it was given
      save(store, saved);
    }
    QtKeyStore store(path_);
    Remembered loaded;
    load(store, loaded);
    for (int i = 0; i < 17; ++i) QCOMPARE(loaded.v[i], saved.v[i]);
    const QStringList keys = keysOnDisk(path_);
    QCOMPARE(keys.size(), 19);  // the two strings and the seventeen numbers
    QVERIFY(keys.contains(QStringLiteral("app_LastMod")));
  }

  void handEditedValuesThatAreNoNumbersCountAsAbsent() {
    writeFile(path_,
              "[General]\n"
              "dBox_accKey=1013\n"
              "dBox_midiVoice=abc\n"
              "z_chord=1, 2\n"
              "z_circle=4294967295\n"
              "z__index=12abc\n"
              "playbackSpeed=\n"
              "scaleSteps=-1\n"
              "formatSelected= 203 \n");
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    int32_t value = 0;
    QVERIFY(store.readDword("dBox_accKey", value));
    QCOMPARE(value, 1013);
    QVERIFY(store.readDword("scaleSteps", value));
    QCOMPARE(value, -1);
    QVERIFY(store.readDword("formatSelected", value));
    QCOMPARE(value, 203);
    for (const char* name :
         {"dBox_midiVoice", "z_chord", "z_circle", "z__index", "playbackSpeed", "pentScaleType"}) {
      value = 42;
      QVERIFY2(!store.readDword(name, value), name);
      QCOMPARE(value, 42);
    }
    store.closeKey();
  }

  void aFileWithoutValuesCountsAsNew_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("only a comment") << QByteArray("; nothing here\n") << false;
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\xff\xfe garbage\n\x7f", 14) << false;
    QTest::newRow("broken lines") << QByteArray("[General\nno equals sign\n[other\nz_chord=3\n")
                                  << false;
    QTest::newRow("read-only garbage") << QByteArray("garbage\n") << true;
  }

  void aFileWithoutValuesCountsAsNew() {
    QFETCH(QByteArray, content);
    QFETCH(bool, readOnly);
    writeFile(path_, content);
    if (readOnly)
      QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    {
      QtKeyStore store(path_);
      QCOMPARE(store.openOrCreate(), Disposition::CreatedNew);
      int32_t value = 9;
      QVERIFY(!store.readDword("z_chord", value));
      QCOMPARE(value, 9);
      store.writeString("app_Version", "2.0.1");
      store.writeDword("dBox_accKey", 1012);
      store.closeKey();
    }
    // Rewritten whole: nothing of the old content is left.
    QStringList keys = keysOnDisk(path_);
    keys.sort();
    QCOMPARE(keys, (QStringList{"app_Version", "dBox_accKey"}));
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    store.closeKey();
  }

  void theFileIsReplacedWholeNeverWrittenInPlace() {
    {
      QtKeyStore store(path_);
      QCOMPARE(store.openOrCreate(), Disposition::CreatedNew);
      store.writeDword("playbackSpeed", 3);
      store.closeKey();
    }
    const QByteArray before = readFile(path_);
    // A second name for the same bytes on disk sees any writing done in place.
    const QString otherName = inFolder(QStringLiteral("Brenavo/old.conf"));
    QCOMPARE(::link(QFile::encodeName(path_).constData(), QFile::encodeName(otherName).constData()),
             0);

    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    store.writeDword("playbackSpeed", 17);
    store.closeKey();

    QCOMPARE(readFile(otherName), before);
    QVERIFY(readFile(path_).contains("playbackSpeed=17"));
  }

  void anUnreadableFileIsReplacedByANewOne() {
    writeFile(path_, "[General]\ndBox_accKey=1013\n");
    QFile::setPermissions(path_, QFile::WriteOwner);
    const bool canStillRead = QFileInfo(path_).isReadable();
    Disposition disposition = Disposition::OpenedExisting;
    if (!canStillRead) {
      QtKeyStore store(path_);
      disposition = store.openOrCreate();
      store.writeDword("dBox_accKey", 1014);
      store.closeKey();
    }
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
    if (canStillRead) QSKIP("this user may read any file");
    QCOMPARE(disposition, Disposition::CreatedNew);
    QCOMPARE(keysOnDisk(path_), QStringList{"dBox_accKey"});
    QVERIFY(readFile(path_).contains("dBox_accKey=1014"));
  }

  void aFolderThatCannotBeMadeFailsQuietly() {
    const QString blocker = inFolder(QStringLiteral("Brenavo"));
    writeFile(blocker, "a file where the folder should be");
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::Failed);
    int32_t value = 5;
    QVERIFY(!store.readDword("dBox_accKey", value));
    QCOMPARE(value, 5);
    store.writeDword("dBox_accKey", 1012);
    store.writeString("app_Version", "2.0.1");
    store.closeKey();
    QCOMPARE(readFile(blocker), QByteArray("a file where the folder should be"));
  }

  void aReadOnlyFolderKeepsThePreviousFile() {
    writeFile(path_, "[General]\ndBox_accKey=1013\n");
    const QString folder = QFileInfo(path_).absolutePath();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool canStillWrite = QFileInfo(folder).isWritable();
    if (!canStillWrite) {
      QtKeyStore store(path_);
      QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
      int32_t value = 0;
      QVERIFY(store.readDword("dBox_accKey", value));
      QCOMPARE(value, 1013);
      store.writeDword("dBox_accKey", 1011);
      store.writeDword("z_chord", 300);
      store.closeKey();
    }
    const QStringList leftInFolder = QDir(folder).entryList(QDir::Files);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite) QSKIP("this user may write into any folder");
    QCOMPARE(readFile(path_), QByteArray("[General]\ndBox_accKey=1013\n"));
    QCOMPARE(leftInFolder, QStringList{"Brenavo 2.0.conf"});
  }

  void aReadOnlyFolderWithoutAFileFails() {
    const QString folder = QFileInfo(path_).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool canStillWrite = QFileInfo(folder).isWritable();
    Disposition disposition = Disposition::CreatedNew;
    if (!canStillWrite) {
      QtKeyStore store(path_);
      disposition = store.openOrCreate();
      store.writeDword("dBox_accKey", 1011);
      store.closeKey();
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite) QSKIP("this user may write into any folder");
    QCOMPARE(disposition, Disposition::Failed);
    QVERIFY(!QFile::exists(path_));
  }

  void theDefaultFileIsTheUsualPerUserSettingsFile() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_->path()));
    QCOMPARE(brenavo::defaultSettingsPath(), path_);
#ifdef Q_OS_LINUX
    QCOMPARE(QSettings(QStringLiteral("Brenavo"), QStringLiteral("Brenavo 2.0")).fileName(), path_);
#endif
    QtKeyStore store;
    QCOMPARE(store.path(), path_);
    QCOMPARE(store.openOrCreate(), Disposition::CreatedNew);
    store.writeDword("dBox_accKey", 1011);
    store.closeKey();
    QVERIFY(QFile::exists(path_));
  }
};

QTEST_GUILESS_MAIN(KeyStoreTest)
#include "key_store_test.moc"
