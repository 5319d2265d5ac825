#pragma once
// Wording with numbered markers, as the language files write it: "%1" to "%9" stand for the
// values given, in one pass, so a value that itself holds "%1" is never replaced again. A
// marker without a value, and any other "%", stay as they are.

#include <QString>
#include <QStringList>

QString fillMarkers(const QString &format, const QStringList &values);
