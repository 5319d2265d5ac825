#include "textmarkers.h"

QString fillMarkers(const QString &format, const QStringList &values)
{
    QString out;
    out.reserve(format.size());
    for (int i = 0; i < format.size(); ++i) {
        const int n = i + 1 < format.size() ? format.at(i + 1).digitValue() : -1;
        if (format.at(i) == QLatin1Char('%') && n >= 1 && n <= values.size()) {
            out += values.at(n - 1);
            ++i;
        } else {
            out += format.at(i);
        }
    }
    return out;
}
