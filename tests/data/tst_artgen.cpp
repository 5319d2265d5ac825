// The picture generator: it draws into any program directory it is given, the same bytes on
// every run, and reports a call without a directory as an error.

#include "testenv.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QtTest>

namespace {

int runArtgen(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(ARTGEN_PROGRAM), args);
    if (!p.waitForFinished(60000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Relative file name -> checksum of its bytes.
QMap<QString, QByteArray> tree(const QString &dir)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QDir(dir).relativeFilePath(path), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return out;
}

} // namespace

class TestArtgen : public QObject
{
    Q_OBJECT

private slots:
    void drawsTheSamePicturesEveryRun()
    {
        QTemporaryDir a, b;
        QCOMPARE(runArtgen({a.path()}), 0);
        QCOMPARE(runArtgen({b.path() + QStringLiteral("/")}), 0);
        const QMap<QString, QByteArray> first = tree(a.path()), second = tree(b.path());
        QVERIFY(first.size() > 60);
        QCOMPARE(first.keys(), second.keys());
        for (const QString &name : first.keys())
            QVERIFY2(first.value(name) == second.value(name), qPrintable(name + QStringLiteral(" differs between runs")));
        // Everything it writes is a picture the suite loads.
        for (const QString &name : first.keys())
            QVERIFY2(!QImage(a.path() + QStringLiteral("/") + name).isNull(), qPrintable(name));
    }

    void failsWithoutUsableDirectory_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no argument") << QStringList();
        QTest::newRow("two arguments") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("directory below a file") << QStringList{TestEnv::path(QStringLiteral("settings.ini")) + QStringLiteral("/sub")};
    }
    void failsWithoutUsableDirectory()
    {
        QFETCH(QStringList, args);
        QVERIFY(runArtgen(args) != 0);
    }
};

QUILLORA_TEST_MAIN(TestArtgen)
#include "tst_artgen.moc"
