#pragma once
// The instant a rendering shows. The renderer takes the local date and time of the
// environment; tests fix it with setFixed() so that clock, date, calendar and notices can be
// checked against a known day. The programs of the suite never call setFixed().

#include <QDateTime>

namespace RenderClock {

QDateTime now();
void setFixed(const QDateTime &instant);
void clearFixed();

} // namespace RenderClock
