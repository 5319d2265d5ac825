#pragma once
// The text of one configuration file, kept line by line as the bytes that were read.
//
// Groups start with a "[Group]" line; entries are "key = value" lines directly under it.
// Lines that are not touched by a change are written back byte for byte, so comments,
// blank lines and hand-made spacing survive every write.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class IniDocument
{
public:
    IniDocument() = default;
    explicit IniDocument(const QByteArray &text) { parse(text); }

    void parse(const QByteArray &text);
    QByteArray toBytes() const;

    bool hasEntry(const QString &group, const QString &key) const;
    // The stored value, or a null string when the group or key is missing.
    QString value(const QString &group, const QString &key) const;
    // Sets a value: replaces the first entry of that key in the group, or appends the entry
    // after the group's last entry, or appends the group at the end of the text.
    void setValue(const QString &group, const QString &key, const QString &value);
    void removeEntry(const QString &group, const QString &key);

    // False for a group or key that an entry written with setValue() would not be found by:
    // a key holding "=" or a line break, starting with "#", ";" or "[", or with blanks around it.
    static bool canHold(const QString &group, const QString &key);

    QStringList groupList() const;
    QStringList keyList(const QString &group) const;

    // Every entry value() finds, by group and key, in one pass over the text: the first
    // "[Group]" of a name and the first entry of a key count.
    using Entries = QHash<QString, QHash<QString, QString>>;
    // `keys` (when given) receives keyList() of every group that holds an entry, in the same pass.
    Entries entries(QHash<QString, QStringList> *keys = nullptr) const;
    // The entries value() finds in one group, in file order, as the bytes of the file.
    QList<QPair<QByteArray, QByteArray>> groupEntries(const QByteArray &group) const;
    // Removes every entry of the key in the group that value() reads (a later header of the
    // same name is not part of it), so that no older entry of the key comes to light.
    void removeAll(const QByteArray &group, const QByteArray &key);

    // "key = value" split of one line, with or without its "\r"; false for lines that hold no
    // "=" and for comment and header lines.
    static bool splitEntry(const QByteArray &line, QByteArray *key, QByteArray *value);
    static bool isHeader(const QByteArray &line, QByteArray *name = nullptr);

private:
    // Line index range [first, end) of the group's body, or false when the group is missing.
    bool groupRange(const QByteArray &group, int *first, int *end) const;
    int findEntry(const QByteArray &group, const QByteArray &key) const;

    QList<QByteArray> m_lines;   // without their "\n"; a "\r" before it is kept
    bool m_endsWithNewline = true;
};
