#pragma once
// Key codes of the phone's keypad, and the mapping from a desktop keyboard to them.
//
// The phone reports its keys with codes of its own: the three hard keys under the display are
// 4144 (add / left soft key), 4145 (back) and 4146 (delete), the select key is 4100, the
// navigation keys are 4114 (left), 4115 (up), 4116 (right) and 4117 (down), and the number
// keys report their digit characters ('0' = 48 ... '9' = 57). Every key handler of the suite
// compares ZKey::code(event) with these constants, so a desktop keyboard works as well:
//
//   F1 .................. 4144 (Add)        F2, Escape ....... 4145 (Back)
//   F3, Delete .......... 4146 (Delete)     F4 ............... 4147 (right soft key)
//   Menu ................ 4181 (left soft key)
//   Return, Enter, Select 4100 (Select)     arrow keys ....... 4114 to 4117
//   digits .............. their character codes (the number pad included)
//
// A key event that already carries a phone code (as tests send them) passes through unchanged.

class QAbstractButton;
class QKeyEvent;

namespace ZKey {

constexpr int Select = 4100;
constexpr int Left = 4114;
constexpr int Up = 4115;
constexpr int Right = 4116;
constexpr int Down = 4117;
constexpr int Add = 4144;       // left hard key: opens the options menu where nothing else uses it
constexpr int Back = 4145;      // closes a dialog with reject()
constexpr int Delete = 4146;
constexpr int RightSoft = 4147; // clicks the right soft key where nothing else uses it
constexpr int LeftSoft = 4181;  // clicks the left soft key (opens the options menu) in every window,
                                // also where 4144 adds

// Digit keys of the keypad as the list dialogs use them.
constexpr int Digit2 = '2'; // one row up
constexpr int Digit3 = '3'; // next storage root in the file picker
constexpr int Digit4 = '4'; // a page up
constexpr int Digit5 = '5'; // select / view
constexpr int Digit6 = '6'; // a page down
constexpr int Digit8 = '8'; // one row down

// The phone code of a desktop (Qt) key code.
int fromQtKey(int qtKey);

// The phone code of a key event.
int code(const QKeyEvent *event);

// The keypad on a button: select and 5 click it, and the navigation keys are left to the
// parent window, which moves the focus. False for every other key, which the button's own
// handler then takes.
bool buttonKey(QAbstractButton *button, QKeyEvent *event);

} // namespace ZKey
