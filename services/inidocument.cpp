#include "inidocument.h"

#include <QSet>

namespace {

QByteArray singleLine(const QString &text)
{
    // A value is one line of the file; a line break inside it would split the entry.
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

// The line end a line carries inside the document: "\r" for a line of a CRLF file.
QByteArray crOf(const QByteArray &line)
{
    return line.endsWith('\r') ? QByteArray("\r") : QByteArray();
}

} // namespace

void IniDocument::parse(const QByteArray &text)
{
    m_lines.clear();
    if (text.isEmpty()) {
        m_endsWithNewline = true;
        return;
    }
    m_lines = text.split('\n');
    m_endsWithNewline = text.endsWith('\n');
    if (m_endsWithNewline)
        m_lines.removeLast();
    // A "\r" before the "\n" stays part of its line, so lines of a CRLF file go back unchanged.
}

QByteArray IniDocument::toBytes() const
{
    QByteArray out;
    for (int i = 0; i < m_lines.size(); ++i) {
        out += m_lines.at(i);
        if (i + 1 < m_lines.size() || m_endsWithNewline)
            out += '\n';
    }
    return out;
}

bool IniDocument::isHeader(const QByteArray &line, QByteArray *name)
{
    const QByteArray t = line.trimmed();
    if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2);
    return true;
}

bool IniDocument::splitEntry(const QByteArray &rawLine, QByteArray *key, QByteArray *value)
{
    const QByteArray line = rawLine.endsWith('\r') ? rawLine.chopped(1) : rawLine;
    const QByteArray t = line.trimmed();
    if (t.startsWith('#') || t.startsWith(';') || t.startsWith('['))
        return false;
    const int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    if (key)
        *key = line.left(eq).trimmed();
    if (value) {
        // "key = value": exactly one blank after "=" belongs to the layout; any further
        // leading blanks belong to the value.
        QByteArray v = line.mid(eq + 1);
        if (v.startsWith(' '))
            v.remove(0, 1);
        *value = v;
    }
    return true;
}

bool IniDocument::groupRange(const QByteArray &group, int *first, int *end) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        QByteArray name;
        if (!isHeader(m_lines.at(i), &name) || name != group)
            continue;
        int j = i + 1;
        while (j < m_lines.size() && !isHeader(m_lines.at(j)))
            ++j;
        *first = i + 1;
        *end = j;
        return true;
    }
    return false;
}

int IniDocument::findEntry(const QByteArray &group, const QByteArray &key) const
{
    int first = 0, end = 0;
    if (!groupRange(group, &first, &end))
        return -1;
    for (int i = first; i < end; ++i) {
        QByteArray k;
        if (splitEntry(m_lines.at(i), &k, nullptr) && k == key)
            return i;
    }
    return -1;
}

bool IniDocument::hasEntry(const QString &group, const QString &key) const
{
    return findEntry(group.toUtf8(), key.toUtf8()) >= 0;
}

QString IniDocument::value(const QString &group, const QString &key) const
{
    const int i = findEntry(group.toUtf8(), key.toUtf8());
    if (i < 0)
        return QString();
    QByteArray v;
    splitEntry(m_lines.at(i), nullptr, &v);
    return QString::fromUtf8(v.isNull() ? QByteArray("") : v);
}

void IniDocument::setValue(const QString &group, const QString &key, const QString &value)
{
    const QByteArray g = singleLine(group);
    const QByteArray k = singleLine(key).trimmed();
    const QByteArray line = k + " = " + singleLine(value);
    const int at = findEntry(g, k);
    if (at >= 0) {
        m_lines[at] = line + crOf(m_lines.at(at));
        return;
    }
    int first = 0, end = 0;
    if (groupRange(g, &first, &end)) {
        // After the group's last entry, so that the entries stay together under the header.
        int insertAt = first;
        for (int i = first; i < end; ++i) {
            if (splitEntry(m_lines.at(i), nullptr, nullptr))
                insertAt = i + 1;
        }
        // A new line ends the way the line before it does.
        m_lines.insert(insertAt, line + crOf(m_lines.at(insertAt - 1)));
        return;
    }
    const QByteArray cr = m_lines.isEmpty() ? QByteArray() : crOf(m_lines.first());
    m_lines.append('[' + g + ']' + cr);
    m_lines.append(line + cr);
    m_endsWithNewline = true;
}

void IniDocument::removeEntry(const QString &group, const QString &key)
{
    const int at = findEntry(group.toUtf8(), key.toUtf8());
    if (at >= 0)
        m_lines.removeAt(at);
}

bool IniDocument::canHold(const QString &group, const QString &key)
{
    // Whatever the text around it, an entry reads back exactly when it does in a text of its own.
    IniDocument probe;
    probe.setValue(group, key, QStringLiteral("x"));
    return probe.value(group, key) == QLatin1String("x");
}

QStringList IniDocument::groupList() const
{
    QStringList groups;
    for (const QByteArray &line : m_lines) {
        QByteArray name;
        if (isHeader(line, &name))
            groups.append(QString::fromUtf8(name));
    }
    return groups;
}

QStringList IniDocument::keyList(const QString &group) const
{
    QStringList keys;
    int first = 0, end = 0;
    if (!groupRange(group.toUtf8(), &first, &end))
        return keys;
    for (int i = first; i < end; ++i) {
        QByteArray k;
        if (splitEntry(m_lines.at(i), &k, nullptr) && !keys.contains(QString::fromUtf8(k)))
            keys.append(QString::fromUtf8(k));
    }
    return keys;
}

namespace {

// Walks the lines as value() reads them: visit(line index, group, key, value) for each entry
// line inside the first header of its group's name. Entries before any header, and those under
// a later header of a name already seen, are no entries.
template <typename Visit>
void walkEntries(const QList<QByteArray> &lines, Visit visit)
{
    QList<QByteArray> seen;
    bool counts = false;
    QByteArray group;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (IniDocument::isHeader(line, &group)) {
            counts = !seen.contains(group);
            if (counts)
                seen.append(group);
            continue;
        }
        QByteArray key, value;
        if (counts && IniDocument::splitEntry(line, &key, &value))
            visit(i, group, key, value.isNull() ? QByteArray("") : value);
    }
}

} // namespace

IniDocument::Entries IniDocument::entries(QHash<QString, QStringList> *keys) const
{
    Entries all;
    QHash<QString, QString> *current = nullptr;
    QStringList *currentKeys = nullptr;
    QByteArray currentName;
    walkEntries(m_lines, [&](int, const QByteArray &group, const QByteArray &key, const QByteArray &value) {
        if (!current || group != currentName) {
            currentName = group;
            const QString name = QString::fromUtf8(group);
            current = &all[name];
            if (keys)
                currentKeys = &(*keys)[name];
        }
        const QString k = QString::fromUtf8(key);
        if (!current->contains(k)) {
            current->insert(k, QString::fromUtf8(value));
            if (currentKeys)
                currentKeys->append(k);
        }
    });
    return all;
}

QList<QPair<QByteArray, QByteArray>> IniDocument::groupEntries(const QByteArray &group) const
{
    QList<QPair<QByteArray, QByteArray>> out;
    QSet<QByteArray> keys;
    walkEntries(m_lines, [&](int, const QByteArray &g, const QByteArray &key, const QByteArray &value) {
        if (g == group && !keys.contains(key)) {
            keys.insert(key);
            out.append({key, value});
        }
    });
    return out;
}

void IniDocument::removeAll(const QByteArray &group, const QByteArray &key)
{
    QList<int> at;
    walkEntries(m_lines, [&](int i, const QByteArray &g, const QByteArray &k, const QByteArray &) {
        if (g == group && k == key)
            at.append(i);
    });
    for (int n = at.size() - 1; n >= 0; --n)
        m_lines.removeAt(at.at(n));
}
