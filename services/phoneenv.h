#pragma once
// The environment every program of the suite starts in, without any widget: the platform
// plugin where there is no display, and the phone's font family.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace PhoneEnv {

// Switches to the offscreen platform when nothing names a display; call before any
// application object exists.
void chooseHeadlessPlatform();
// Maps the phone's font family "AMCSL" to the fonts of the machine that replace it, so Latin
// and Chinese texts render everywhere. Needs a QGuiApplication.
void substitutePhoneFont();

// The font files the phone's font family stands for, in the order of substitutePhoneFont().
QStringList phoneFontFiles();
// A font library configuration that knows only the folders of `fontFiles`, the system's font
// caches and those of the system's rule files (`ruleFolder`) that bear on these fonts (the
// rendering defaults, the synthetic styles and the fonts' own rules): the texts render exactly
// as with the system's configuration, at a fraction of its start-up. Empty when a font file or the rule
// folder is missing; the system's configuration is then the one to use.
QByteArray phoneFontConfiguration(const QStringList &fontFiles, const QString &ruleFolder);
// Makes this process's font library use phoneFontConfiguration() of the machine's phone
// fonts, kept in `file` (written when it differs); false, leaving everything as it is, when it
// cannot be built or written, or the user set a configuration of their own. Call before any
// application object exists, in a program that draws in the phone's font only.
bool usePhoneFontConfiguration(const QString &file);

} // namespace PhoneEnv
