// settings.ini reads as the shipped defaults until it exists, for the store and its read-only
// view alike, and the first change writes the whole file.

#include "settingsfile.h"
#include "testenv.h"
#include "zconfig.h"

#include <QFileInfo>

namespace {
const QByteArray kDefaults = "# shipped\n[Quillora]\nCurrentTheme = a.theme\nRefresh = true\n";
const QByteArray kMissing; // null: the file is not there
} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void firstChangeWritesWholeFile_data();
    void firstChangeWritesWholeFile();
};

void TestSettingsFile::firstChangeWritesWholeFile_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("defaults");
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("missing: the defaults") << kMissing << kDefaults << QStringLiteral("a.theme")
                                           << kDefaults + "OpenFilePath = /x\n";
    QTest::newRow("present: its own") << QByteArray("[Quillora]\nCurrentTheme = b.theme\n") << kDefaults
                                      << QStringLiteral("b.theme")
                                      << QByteArray("[Quillora]\nCurrentTheme = b.theme\nOpenFilePath = /x\n");
    QTest::newRow("empty: the user's, not the defaults") << QByteArray("") << kDefaults << QString()
                                                         << QByteArray("[Quillora]\nOpenFilePath = /x\n");
    QTest::newRow("no defaults shipped") << kMissing << kMissing << QString()
                                         << QByteArray("[Quillora]\nOpenFilePath = /x\n");
}

void TestSettingsFile::firstChangeWritesWholeFile()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, defaults);
    QFETCH(QString, theme);
    QFETCH(QByteArray, written);
    const QString dir = TestEnv::dir();
    const QString ini = QFileInfo(SettingsFile::path(dir)).fileName();
    const QString shipped = SettingsFile::defaultsPath(dir).mid(dir.size());
    for (const auto &[file, bytes] : {std::pair{ini, settings}, std::pair{shipped, defaults}}) {
        TestEnv::removeFile(file);
        if (!bytes.isNull())
            TestEnv::writeFile(file, bytes);
    }

    const QString group = QStringLiteral("Quillora"), key = QStringLiteral("CurrentTheme");
    QCOMPARE(SettingsFile::snapshot(dir).readEntry(group, key), theme);
    const auto store = SettingsFile::open(dir);
    QCOMPARE(store->readEntry(group, key), theme);
    QVERIFY(store->writeEntry(group, QStringLiteral("OpenFilePath"), QStringLiteral("/x")));
    QCOMPARE(TestEnv::readFile(ini), written);
    QCOMPARE(TestEnv::readFile(shipped), defaults.isNull() ? QByteArray() : defaults);
    TestEnv::resetData();
}

QUILLORA_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
