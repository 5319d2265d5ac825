#pragma once
// The cities offered for the forecast: every Chinese provincial capital and the largest cities
// of the world, with their coordinates and names in both interface languages.

#include "weathercodes.h"

#include <QString>

namespace Weather {

struct City
{
    const char *english;
    const char *chinese; // UTF-8
    double latitude;
    double longitude;
};

int cityCount();
const City &city(int index);
QString cityName(const City &city, Lang lang);

// The index of the city with this name in either language, -1 when none has it.
int findCity(const QString &name);

} // namespace Weather
