#pragma once
// The instant a rendering shows. The renderer takes the local date and time of the
// environment; tests fix it with setFixed() so that clock, date, calendar and notices can be
// checked against a known day. show fixes it for a run, so that every part of its picture shows
// the same instant, and to the minute it is asked to draw ahead.

#include <QDateTime>

namespace RenderClock {

QDateTime now();
void setFixed(const QDateTime &instant);
void clearFixed();

} // namespace RenderClock
