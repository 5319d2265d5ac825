#include "lunarkeyparse.h"

namespace {

// A whole number with blanks around it and an optional sign; at most 4 digits, which is more
// than any month or day needs and keeps the value far from overflow.
bool number(const std::string &text, bool allowSign, int &value)
{
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ')
        ++i;
    while (end > i && text[end - 1] == ' ')
        --end;
    int sign = 1;
    if (allowSign && i < end && (text[i] == '+' || text[i] == '-'))
        sign = text[i++] == '-' ? -1 : 1;
    if (i == end || end - i > 4)
        return false;
    value = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    value *= sign;
    return true;
}

} // namespace

bool parseLunarKey(const std::string &key, int &month, int &day)
{
    const std::size_t dollar = key.find('$');
    if (dollar == std::string::npos || key.find('$', dollar + 1) != std::string::npos)
        return false;
    int m = 0, d = 0;
    if (!number(key.substr(0, dollar), true, m) || !number(key.substr(dollar + 1), false, d))
        return false;
    if (m == 0 || m < -12 || m > 12 || d < 1 || d > 30)
        return false;
    month = m;
    day = d;
    return true;
}
