#include "textconv.h"

#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>

const TextCodec *TextCodec::codecForName(const char *name)
{
    static const TextCodec utf8("UTF-8");
    const auto encoding = QStringConverter::encodingForName(name);
    if (encoding && *encoding == QStringConverter::Utf8)
        return &utf8;
    return nullptr;
}

QByteArray TextCodec::fromUnicode(const QString &text) const
{
    QStringEncoder encoder(m_name);
    return encoder.encode(text);
}

QString TextCodec::toUnicode(const QByteArray &bytes) const
{
    QStringDecoder decoder(m_name);
    return decoder.decode(bytes);
}

QString TextCodec::toUnicode(const char *bytes) const
{
    return bytes ? toUnicode(QByteArray(bytes)) : QString();
}

const TextCodec *const gbk_codec = TextCodec::codecForName("UTF-8");

QString UnicodeAndChinese(const QString &text)
{
    return bytesToByteString(gbk_codec->fromUnicode(text));
}

QString ChineseAndEnglish(const QString &byteString)
{
    return gbk_codec->toUnicode(byteStringToBytes(byteString));
}

QString ChineseAndEnglish(const char *bytes)
{
    return gbk_codec->toUnicode(bytes);
}

QString ChineseAndEnglish(const QByteArray &bytes)
{
    return gbk_codec->toUnicode(bytes);
}
