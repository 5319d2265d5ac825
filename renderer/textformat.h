#pragma once
// The renderer's printf-style formatter for item texts.
//
// Theme files are edited by users, so a format is untrusted input. This formatter knows only
// "%d", "%s" and "%%", with an optional "0" flag and a field width of at most 20:
//   %d, %02d, %04d, %5d   an integer value, padded to the width (zeros after a minus sign)
//   %s, %8s               a text value (UTF-8 bytes), padded with blanks to the width
//   %%                    one "%"
// Every other byte of the format is copied as it stands, including anything after a "%" that
// is not one of the conversions above ("%n", "%x", "%99999d" are drawn literally and use no
// value). A conversion whose value is missing, or is a text where a number is asked for, draws
// nothing; a number where a text is asked for draws its decimal digits.

#include <QByteArray>
#include <QList>

struct FormatArg
{
    enum Type { Number, Text };

    static FormatArg number(qint64 value) { return FormatArg{Number, value, QByteArray()}; }
    static FormatArg text(const QByteArray &value) { return FormatArg{Text, 0, value}; }

    Type type;
    qint64 num;
    QByteArray str;
};

QByteArray formatText(const QByteArray &format, const QList<FormatArg> &args);
