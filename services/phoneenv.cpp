#include "phoneenv.h"

#include "atomicfile.h"
#include "boundedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QStringList>
#include <QtGlobal>

#include <fontconfig/fontconfig.h>

namespace PhoneEnv {

void chooseHeadlessPlatform()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void substitutePhoneFont()
{
    // Latin letters, digits and symbols come from DejaVu Sans; Chinese characters, which it
    // lacks, fall back to the CJK font. (WenQuanYi Micro Hei has an empty glyph for "℃", so
    // it must not come first.)
    QFont::insertSubstitutions(QStringLiteral("AMCSL"),
                               {QStringLiteral("DejaVu Sans"),
                                QStringLiteral("WenQuanYi Micro Hei"),
                                QStringLiteral("Noto Sans CJK SC")});
}

QStringList phoneFontFiles()
{
    return {QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
            QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc")};
}

namespace {

// A name reduced to its lower-case letters and digits: "DejaVuSans.ttf" and
// "57-dejavu-sans.conf" both hold "dejavusans".
QString nameKey(const QString &name)
{
    QString key;
    for (const QChar c : name)
        if (c.isLetterOrNumber())
            key += c.toLower();
    return key;
}

// The rule files of `ruleFolder` that can change how the phone's fonts draw: the rendering
// defaults (10 to 19: hinting, antialiasing, sub-pixel order, LCD filter), the synthetic
// styles (90 to 99), and every file that names one of the fonts (their own hinting and
// size rules). Family aliases and the rules of other fonts are left out: they decide between
// fonts the configuration does not hold, and each file read costs the start of every run.
QStringList phoneFontRules(const QStringList &fontFiles, const QString &ruleFolder)
{
    QStringList fontKeys;
    for (const QString &file : fontFiles)
        fontKeys << nameKey(QFileInfo(file).completeBaseName());
    QStringList rules;
    const QDir folder(ruleFolder);
    for (const QString &name : folder.entryList({QStringLiteral("*.conf")}, QDir::Files | QDir::Readable, QDir::Name)) {
        const int number = name.left(2).toInt();
        bool chosen = name.size() > 2 && name.at(2) == QLatin1Char('-')
                      && ((number >= 10 && number <= 19) || number >= 90);
        const QString key = nameKey(name);
        for (const QString &fontKey : fontKeys)
            chosen = chosen || (!fontKey.isEmpty() && key.contains(fontKey));
        if (chosen)
            rules << folder.filePath(name);
    }
    return rules;
}

} // namespace

QByteArray phoneFontConfiguration(const QStringList &fontFiles, const QString &ruleFolder)
{
    if (fontFiles.isEmpty() || !QFileInfo(ruleFolder).isDir())
        return QByteArray();
    QStringList folders;
    for (const QString &file : fontFiles) {
        if (!QFileInfo(file).isFile())
            return QByteArray();
        const QString folder = QFileInfo(file).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    const auto escaped = [](const QString &path) { return path.toHtmlEscaped().toUtf8(); };
    QByteArray text = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n";
    for (const QString &folder : folders)
        text += "  <dir>" + escaped(folder) + "</dir>\n";
    for (const QString &rule : phoneFontRules(fontFiles, ruleFolder))
        text += "  <include ignore_missing=\"yes\">" + escaped(rule) + "</include>\n";
    text += "  <cachedir>/var/cache/fontconfig</cachedir>\n"
            "  <cachedir prefix=\"xdg\">fontconfig</cachedir>\n"
            "</fontconfig>\n";
    return text;
}

bool usePhoneFontConfiguration(const QString &file)
{
    // A configuration of the user's own is kept.
    if (!qEnvironmentVariableIsEmpty("FONTCONFIG_FILE") || !qEnvironmentVariableIsEmpty("FONTCONFIG_PATH"))
        return false;
    const QByteArray text = phoneFontConfiguration(phoneFontFiles(), QStringLiteral("/etc/fonts/conf.d"));
    if (text.isEmpty())
        return false;
    // Written once; later runs only read it back.
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (BoundedFile::read(absolute, text.size() + 1) != text) {
        QDir().mkpath(QFileInfo(absolute).absolutePath());
        if (!AtomicFile::replace(absolute, text))
            return false;
    }
    qputenv("FONTCONFIG_FILE", QFile::encodeName(absolute));
    // Loaded here, it becomes the library's current configuration: the application's fonts
    // start from it as it is. Left to the library, the first use would load the same file and
    // then read every template of the system's rule collection as well, at a fifth of the
    // whole run's work. When it cannot be loaded here, the library loads it itself.
    if (FcConfig *config = FcConfigCreate()) {
        const QByteArray name = QFile::encodeName(absolute);
        if (FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8 *>(name.constData()), FcTrue)
            && FcConfigBuildFonts(config))
            FcConfigSetCurrent(config); // takes its own reference
        FcConfigDestroy(config);
    }
    return true;
}

} // namespace PhoneEnv
