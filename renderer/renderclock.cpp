#include "renderclock.h"

namespace {
QDateTime g_fixed;
}

namespace RenderClock {

QDateTime now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

void setFixed(const QDateTime &instant)
{
    g_fixed = instant;
}

void clearFixed()
{
    g_fixed = QDateTime();
}

} // namespace RenderClock
