#ifndef QUILLORA_LUNARKEYPARSE_H
#define QUILLORA_LUNARKEYPARSE_H

// The lunar date of a festival key "MM$DD" of notify.db: the lunar month, negative for a leap
// month, a "$", and the day. The festival list and the desktop both read keys with this one
// function, so that every key the list shows as a lunar date is drawn on that date.
//
// Keys are written as "%02d$%02d" ("08$15", "-4$01"), but files edited by hand hold other forms
// of the same date, and all of them count: blanks around either number, a "+" before the month,
// leading zeros or none ("8$15", "+08$15", "08$5", "-04$01", " 08 $ 15"). The month is 1 to 12
// or -1 to -12, the day 1 to 30; anything else is not a lunar key. Needs only the C++ standard
// library.

#include <string>

bool parseLunarKey(const std::string &key, int &month, int &day);

#endif
