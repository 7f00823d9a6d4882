#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>

#include "platform/qt/qt_key_store.h"

using brenavo::QtKeyStore;
using Disposition = brenavo::platform::KeyStore::Disposition;

static void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

static QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static Disposition save(const QString& path, const char* name, int32_t value) {
  QtKeyStore store(path);
  const Disposition disposition = store.openOrCreate();
  return store.writeDword(name, value), store.closeKey(), disposition;
}

class KeyStoreTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;  // a folder per case: no case meets another's settings, even in Qt's cache
  QString home_, path_;
  int cases_ = 0;
 private slots:
  void init() {
    home_ = dir_.filePath(QString::number(++cases_)), path_ = home_ + "/Brenavo/Brenavo 2.0.conf";
  }
  void cleanup() {  // a folder made read-only must be writable again to be removed
    QFile::setPermissions(QFileInfo(path_).absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  void theDefaultFileIsTheUsualPerUserSettingsFile() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_));
    QCOMPARE(QtKeyStore().path(), path_);
  }
  // Whole numbers in the 32-bit range, blanks around them allowed, are read; anything else
  // counts as absent and leaves the variable as it was (42).
  void valuesThatAreNoNumbersCountAsAbsent() {
    writeFile(path_, "[General]\na=-1\nb= 203 \nc=abc\nd=1, 2\ne=4294967295\nf=12abc\ng=\n");
    QtKeyStore store(path_);
    QCOMPARE(store.openOrCreate(), Disposition::OpenedExisting);
    QList<int32_t> read;  // a value read as is, an absent one negated
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"}) {
      int32_t value = 42;
      read << (store.readDword(name, value) ? value : -value);
    }
    QCOMPARE(read, (QList<int32_t>{-1, 203, -42, -42, -42, -42, -42, -42}));
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
    QTest::addColumn<QByteArray>("content"), QTest::addColumn<QByteArray>("backup");
    const QByteArray values = "app_Version=2.0.1\ndBox_accKey=1013\n[Extra]\nx=1\n";
    const QByteArray older = "an older backup", garbage("\x00\x01\xff\xfe garbage\n\x7f", 14);
    QTest::newRow("comment") << "[General]\n# set by hand\n" + values << older;
    QTest::newRow("no '='") << "[General]\nno equals sign\n" + values << older;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF[General]\n" + values << older;
    QTest::newRow("CRLF") << QByteArray("[General]\n" + values).replace("\n", "\r\n") << older;
    QTest::newRow("empty") << QByteArray() << older;
    QTest::newRow("garbage") << garbage << garbage;
  }

  // A file with values loses only its odd lines; one without is moved aside in place of an older
  // backup (an empty one is only removed). A second name keeps the old bytes: no in-place write.
  void aDamagedFileIsWrittenAnewClean() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, backup);
    writeFile(path_, content), writeFile(path_ + ".bak", "an older backup");
    const QString secondName = path_ + ".link";
    QCOMPARE(::link(QFile::encodeName(path_), QFile::encodeName(secondName)), 0);
    const bool hasValues = content.contains("dBox_accKey=1013");
    QCOMPARE(save(path_, "playbackSpeed", 7), hasValues ? Disposition::OpenedExisting : Disposition::CreatedNew);
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
