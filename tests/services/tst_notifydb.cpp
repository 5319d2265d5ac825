// notify.db read and rewritten line by line, without any window.

#include "notifydb.h"
#include "testenv.h"

#include <QFile>

using NoticeDb::Entry;
using Entries = QList<Entry>;
Q_DECLARE_METATYPE(Entry)

namespace {

QByteArray u8(const char *s) { return QByteArray(s); }

const QByteArray kMixed = "[FestivalNotify]\n01/01 = New Year\n01$01 = Spring\n"
                          "[CustomNotify]\n2009/05/01 = Labour: day = off\n"
                          "2009/06/01 = \xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82\n"
                          "[CustomFestival]\n05/01 = fest\n";

} // namespace

class TestNotifyDb : public QObject
{
    Q_OBJECT
private slots:

    void readGroup_data();
    void readGroup();
    void removeFromGroup_data();
    void removeFromGroup();
    void rewriteFile_data();
    void rewriteFile();
    void unreadableFileIsNeverReplaced();
};

void TestNotifyDb::readGroup_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<Entries>("expected");

    QTest::newRow("only other groups")
        << u8("[FestivalNotify]\n01/01 = New Year\n[CustomFestival]\n02/31 = none\n")
        << u8("CustomNotify") << Entries{};
    QTest::newRow("other groups before and after, value with = and :")
        << kMixed << u8("CustomNotify")
        << Entries{{"2009/05/01", "Labour: day = off"},
                   {"2009/06/01", "\xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82"}};
    QTest::newRow("festival group at end without final newline")
        << u8("[CustomFestival]\n05/01 = a\n02/31 = b") << u8("CustomFestival")
        << Entries{{"05/01", "a"}, {"02/31", "b"}};
    QTest::newRow("blank and stray lines do not end the group")
        << u8("[CustomNotify]\n2009/05/01 = a\n\nstray\n; note\n2009/05/02 = b\n") << u8("CustomNotify")
        << Entries{{"2009/05/01", "a"}, {"2009/05/02", "b"}};
    QTest::newRow("second header of the group is not read, as by the store")
        << u8("[CustomNotify]\n2009/05/01 = a\n[X]\nk = v\n[CustomNotify]\n2009/05/02 = b\n")
        << u8("CustomNotify") << Entries{{"2009/05/01", "a"}};
    QTest::newRow("key written twice: its first value")
        << u8("[CustomNotify]\n2009/05/01 = a\n2009/05/01 = b\n") << u8("CustomNotify")
        << Entries{{"2009/05/01", "a"}};
    QTest::newRow("empty value and blanks kept")
        << u8("[CustomNotify]\n2009/05/01 = \n2009/05/02 =   x  \n") << u8("CustomNotify")
        << Entries{{"2009/05/01", ""}, {"2009/05/02", "  x  "}};
    QTest::newRow("crlf lines")
        << u8("[CustomNotify]\r\n2009/05/01 = a\r\n") << u8("CustomNotify")
        << Entries{{"2009/05/01", "a"}};
    QTest::newRow("written without blanks around =")
        << u8("[CustomNotify]\n2009/05/01=Party\n2009/05/02 =x\n2009/05/03= y\n") << u8("CustomNotify")
        << Entries{{"2009/05/01", "Party"}, {"2009/05/02", "x"}, {"2009/05/03", "y"}};
    QTest::newRow("more blanks before =")
        << u8("[CustomFestival]\n05/01   = a\n") << u8("CustomFestival") << Entries{{"05/01", "a"}};
    QTest::newRow("text naming another group opens nothing")
        << u8("[CustomNotify]\n2009/05/01 = CustomFestival party\n2009/05/02 = b\n")
        << u8("CustomFestival") << Entries{};
    QTest::newRow("similar group name is another group")
        << u8("[CustomNotifyOld]\n2009/05/01 = a\n") << u8("CustomNotify") << Entries{};
    QTest::newRow("empty file") << QByteArray() << u8("CustomNotify") << Entries{};
}

void TestNotifyDb::readGroup()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, group);
    QFETCH(Entries, expected);
    QCOMPARE(NoticeDb::readGroup(text, group), expected);
}

void TestNotifyDb::removeFromGroup_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("middle of mixed file, others byte for byte")
        << kMixed << u8("CustomNotify") << u8("2009/05/01")
        << u8("[FestivalNotify]\n01/01 = New Year\n01$01 = Spring\n[CustomNotify]\n"
              "2009/06/01 = \xe5\x84\xbf\xe7\xab\xa5\xe8\x8a\x82\n[CustomFestival]\n05/01 = fest\n");
    QTest::newRow("last entry keeps the header")
        << u8("[CustomNotify]\n2009/05/01 = a\n") << u8("CustomNotify") << u8("2009/05/01")
        << u8("[CustomNotify]\n");
    QTest::newRow("text holding the key stays")
        << u8("[CustomNotify]\n2009/05/02 = see 2009/05/01\n2009/05/01 = a\n")
        << u8("CustomNotify") << u8("2009/05/01") << u8("[CustomNotify]\n2009/05/02 = see 2009/05/01\n");
    QTest::newRow("same key in another group stays")
        << u8("[FestivalNotify]\n05/01 = Labour\n[CustomFestival]\n05/01 = mine\n")
        << u8("CustomFestival") << u8("05/01") << u8("[FestivalNotify]\n05/01 = Labour\n[CustomFestival]\n");
    QTest::newRow("missing final newline is added")
        << u8("[CustomFestival]\n05/01 = a\n02/31 = b") << u8("CustomFestival") << u8("05/01")
        << u8("[CustomFestival]\n02/31 = b\n");
    QTest::newRow("entry after a blank line")
        << u8("[CustomNotify]\n\n2009/05/01 = a\n") << u8("CustomNotify") << u8("2009/05/01")
        << u8("[CustomNotify]\n\n");
    QTest::newRow("every entry of the key, none under a second header")
        << u8("[CustomNotify]\n2009/05/01 = a\n2009/05/01 = b\n[CustomNotify]\n2009/05/01 = c\n")
        << u8("CustomNotify") << u8("2009/05/01") << u8("[CustomNotify]\n[CustomNotify]\n2009/05/01 = c\n");
    QTest::newRow("crlf and odd lines kept")
        << u8("# note\r\n[CustomNotify]\r\n2009/05/01 = a\r\n2009/05/02 = b\r\n")
        << u8("CustomNotify") << u8("2009/05/01") << u8("# note\r\n[CustomNotify]\r\n2009/05/02 = b\r\n");
    QTest::newRow("entry written without blanks, by its key")
        << u8("[CustomNotify]\n2009/05/01=Party\n2009/05/02 = b\n") << u8("CustomNotify")
        << u8("2009/05/01") << u8("[CustomNotify]\n2009/05/02 = b\n");
    QTest::newRow("unknown key changes nothing")
        << kMixed << u8("CustomNotify") << u8("2010/01/01") << kMixed;
}

void TestNotifyDb::removeFromGroup()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);
    QCOMPARE(NoticeDb::removeFromGroup(text, group, key), expected);
    // What was removed is no longer listed; everything else still is.
    Entries before = NoticeDb::readGroup(text, group);
    before.erase(std::remove_if(before.begin(), before.end(), [&](const Entry &e) { return e.key == key; }),
                 before.end());
    QCOMPARE(NoticeDb::readGroup(expected, group), before);
}

void TestNotifyDb::rewriteFile_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("existing file rewritten")
        << true << int(NoticeDb::RewriteResult::Written)
        << u8("[CustomNotify]\n2009/06/01 = b\n[CustomFestival]\n05/01 = f\n");
    QTest::newRow("missing file is not created")
        << false << int(NoticeDb::RewriteResult::Missing) << QByteArray();
}

void TestNotifyDb::rewriteFile()
{
    QFETCH(bool, exists);
    QFETCH(int, result);
    QFETCH(QByteArray, after);
    const QString db = TestEnv::path(QStringLiteral("notify.db"));
    if (exists)
        TestEnv::writeFile(QStringLiteral("notify.db"),
                           "[CustomNotify]\n2009/05/01 = a\n2009/06/01 = b\n[CustomFestival]\n05/01 = f");
    else
        TestEnv::removeFile(QStringLiteral("notify.db"));
    QCOMPARE(int(NoticeDb::rewriteGroupFile(db, "CustomNotify", "2009/05/01")), result);
    QCOMPARE(QFile::exists(db), exists);
    QCOMPARE(TestEnv::readFile(QStringLiteral("notify.db")), after);
    QVERIFY(!QFile::exists(db + QStringLiteral(".lock")));
}

void TestNotifyDb::unreadableFileIsNeverReplaced()
{
    // A notify.db that is a directory cannot be read as a file: it must stay as it is, with
    // what it holds.
    const QString db = TestEnv::path(QStringLiteral("notify.db"));
    TestEnv::removeFile(QStringLiteral("notify.db"));
    TestEnv::writeFile(QStringLiteral("notify.db/inside"), "kept");
    QCOMPARE(NoticeDb::rewriteGroupFile(db, "CustomNotify", "2009/05/01"),
             NoticeDb::RewriteResult::Unreadable);
    QCOMPARE(TestEnv::readFile(QStringLiteral("notify.db/inside")), QByteArray("kept"));
    QDir(db).removeRecursively();
}

QUILLORA_TEST_MAIN(TestNotifyDb)
#include "tst_notifydb.moc"
