#include "themecheck.h"

#include "busyday.h"
#include "configsnapshot.h"

#include <QFontMetrics>

namespace ThemeCheck {

namespace {

const QRect kScreen(0, 0, DrawImg::Width, DrawImg::Height);

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The time of day whose "HH:MM" is widest in the theme's clock font.
QTime widestTime(const QString &themePath)
{
    const ConfigSnapshot theme(themePath);
    const QFontMetrics metrics(DrawImg::itemFont(theme.readNumEntry(QStringLiteral("SysTime"), QStringLiteral("FontSize"), 20)));
    QTime widest(0, 0);
    int best = -1;
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; ++m) {
            const int w = metrics.horizontalAdvance(QTime(h, m).toString(QStringLiteral("HH:mm")));
            if (w > best) {
                best = w;
                widest = QTime(h, m);
            }
        }
    return widest;
}

void merge(QList<ItemExtent> &into, const ItemExtent &extent)
{
    for (ItemExtent &known : into)
        if (known.item == extent.item) {
            known.textArea |= extent.textArea;
            known.box |= extent.box;
            known.overflows = known.overflows || extent.overflows;
            for (const QRect &p : extent.pictures)
                if (!known.pictures.contains(p))
                    known.pictures << p;
            return;
        }
    into << extent;
}

} // namespace

QStringList problems(const QList<ItemExtent> &extents)
{
    QStringList lines;
    for (const ItemExtent &e : extents) {
        if (!e.textArea.isNull() && !kScreen.contains(e.textArea))
            lines << QStringLiteral("%1: text leaves the screen (%2)").arg(e.item, describe(e.textArea));
        for (const QRect &p : e.pictures)
            if (!kScreen.contains(p))
                lines << QStringLiteral("%1: picture leaves the screen (%2)").arg(e.item, describe(p));
        if (e.overflows)
            lines << QStringLiteral("%1: text overflows its box (%2)").arg(e.item, describe(e.box));
    }
    for (int i = 0; i < extents.size(); ++i)
        for (int j = i + 1; j < extents.size(); ++j) {
            const QRect both = extents.at(i).textArea & extents.at(j).textArea;
            // The same area twice is one text drawn twice (the city of every weather day, say):
            // it reads as one.
            if (!both.isEmpty() && extents.at(i).textArea != extents.at(j).textArea)
                lines << QStringLiteral("%1 and %2: texts overlap (%3)")
                             .arg(extents.at(i).item, extents.at(j).item, describe(both));
        }
    return lines;
}

QList<ItemExtent> busyDayExtents(const QString &themePath)
{
    const QTime time = widestTime(themePath);
    QList<ItemExtent> merged;
    for (const QDate &day : BusyDay::days()) {
        RenderInput input;
        input.themePath = themePath;
        input.now = QDateTime(day, time);
        input.settings = BusyDay::settings();
        input.notifyDb = BusyDay::notifyDb(day);
        input.weather = BusyDay::weather();
        const DrawImg drawn(input);
        for (const ItemExtent &e : drawn.extents())
            merge(merged, e);
    }
    return merged;
}

QStringList run(const QString &themePath)
{
    return problems(busyDayExtents(themePath));
}

} // namespace ThemeCheck
