#pragma once
// Text conversion of the renderer.
//
// Every stored text of the suite is UTF-8. The renderer works on "UTF-8 byte strings": strings
// each of whose characters holds one byte (0 to 255) of UTF-8 encoded text. Formats are applied
// to those bytes, and the result is decoded just before it is drawn.

#include <QByteArray>
#include <QString>

// The process-wide text codec. Qt 6 has no codec registry in Qt Core, so this is a small
// object of our own around QStringEncoder/QStringDecoder; it is looked up by name once, when
// the program starts, and always names UTF-8.
class TextCodec
{
public:
    // The codec of that name, or nullptr when the name is not known.
    static const TextCodec *codecForName(const char *name);

    QByteArray fromUnicode(const QString &text) const;
    QString toUnicode(const QByteArray &bytes) const;
    QString toUnicode(const char *bytes) const;
    const char *name() const { return m_name; }

private:
    explicit TextCodec(const char *name) : m_name(name) {}
    const char *m_name;
};

extern const TextCodec *const gbk_codec;

// Encodes a text as UTF-8 and returns the bytes as a UTF-8 byte string.
QString UnicodeAndChinese(const QString &text);
// Takes the characters of a UTF-8 byte string as bytes and decodes them as UTF-8.
QString ChineseAndEnglish(const QString &byteString);
// Decodes a zero-terminated UTF-8 byte sequence.
QString ChineseAndEnglish(const char *bytes);
// Decodes UTF-8 bytes.
QString ChineseAndEnglish(const QByteArray &bytes);

// The bytes held by a UTF-8 byte string, and back.
inline QByteArray byteStringToBytes(const QString &byteString) { return byteString.toLatin1(); }
inline QString bytesToByteString(const QByteArray &bytes) { return QString::fromLatin1(bytes); }
