// Test support: a user's keys and mouse for tests, with no Qt in the test file. Every call sends
// real Qt events that take the path a user's input takes (the window system's mouse delivery, the
// shortcut map, the control's widget), so they reach the controls through the message path.
#pragma once

#include <string>

class TControl;
class TWinControl;

namespace inputkit {

// Modifier keys held during an event; Keypad marks a key of the numeric keypad (NumLock on).
enum TMods : unsigned { None = 0, Shift = 1, Ctrl = 2, Alt = 4, Keypad = 8 };
inline TMods operator|(TMods a, TMods b) { return TMods(unsigned(a) | unsigned(b)); }

// Keys as the keyboard names them. A character key is its upper-case character ('A', '5', '+');
// the named keys below are the toolkit's own codes for them.
namespace Key {
constexpr int Escape = 0x01000000, Tab = 0x01000001, Backtab = 0x01000002, Backspace = 0x01000003,
              Return = 0x01000004, Enter = 0x01000005, Insert = 0x01000006, Delete = 0x01000007,
              Pause = 0x01000008, Home = 0x01000010, End = 0x01000011, Left = 0x01000012, Up = 0x01000013,
              Right = 0x01000014, Down = 0x01000015, PageUp = 0x01000016, PageDown = 0x01000017,
              Shift = 0x01000020, Control = 0x01000021, Alt = 0x01000023, CapsLock = 0x01000024,
              NumLock = 0x01000025, F1 = 0x01000030, Menu = 0x01000055, Space = 0x20;
// F1 … F12.
constexpr int F(int n) { return F1 + n - 1; }
} // namespace Key

// The text a key makes under mods, as the X11 desktop gives it: a letter in lower case unless
// Shift, Ctrl with an ASCII key its control code (Ctrl+A "\x01", Ctrl+3 "\x1b", Ctrl+8 "\x7f"),
// Return and keypad Enter "\r", Tab "\t", Backspace "\b", Escape "\x1b", Delete "\x7f", other
// named keys nothing. CP1251 bytes.
std::string KeyText(int key, TMods mods);

// The key that sends the virtual-key code vk ('A', VK_F5, VK_CONTROL, VK_NUMPAD3…), with Keypad
// added to mods for a key of the numeric keypad; 0 when no key sends it.
int KeyOfVirtualKey(unsigned vk, TMods& mods);

// A key pressed (and released) on the control that has the keyboard focus in the test: the events
// go to the control's focus widget (its wrapped widget, else its client area), after the shortcut
// map has had its look, as a focused control receives them. text: what the key types (CP1251),
// by default KeyText(key, mods).
void KeyDown(TWinControl* c, int key, TMods mods = None);
void KeyDown(TWinControl* c, int key, TMods mods, const std::string& text);
void KeyUp(TWinControl* c, int key, TMods mods = None);
void Press(TWinControl* c, int key, TMods mods = None);
void Press(TWinControl* c, int key, TMods mods, const std::string& text);
// Types CP1251 text, one key press per character.
void Type(TWinControl* c, const std::string& text);

// Keyboard layouts of the X11 desktop.
enum class TLayout { Us, Russian };
// Types CP1251 text as on the layout, one key press per character: the key code, Shift and text of
// the key that types it there, with the key's place on the keyboard (its native scan code). Fails
// the test for a character that no key of the layout types.
void Type(TWinControl* c, const std::string& text, TLayout layout);

// The same, delivered to whatever widget has the keyboard focus now (an in-place editor a control
// opened, a dialog's field); fails the test when nothing has it.
void PressToFocus(int key, TMods mods = None);
void TypeToFocus(const std::string& text);
void TypeToFocus(const std::string& text, TLayout layout);

// Mouse buttons.
enum TButton : unsigned { Left = 1, Right = 2, Middle = 4 };

// Mouse input at a point of the control's client area (a graphic control's own box). On a shown
// window the events go to its window as the window system sends them, so the toolkit finds the
// widget under the point, keeps the pressed widget's grab and makes double clicks; a control
// that is not shown gets them on its own widget. held: the buttons held during a move.
void MouseDown(TControl* c, int x, int y, TButton b = Left, TMods mods = None);
void MouseUp(TControl* c, int x, int y, TButton b = Left, TMods mods = None);
void MouseMove(TControl* c, int x, int y, unsigned held = 0, TMods mods = None);
void Click(TControl* c, int x, int y, TButton b = Left, TMods mods = None);
void DoubleClick(TControl* c, int x, int y, TButton b = Left, TMods mods = None);
// Press at from, move halfway and to to holding the button, release at to.
void Drag(TControl* c, int fromX, int fromY, int toX, int toY, TButton b = Left, TMods mods = None);
// Wheel notches at a point (positive: away from the user), to the widget under the point.
void Wheel(TControl* c, int x, int y, int notches, TMods mods = None);

// Where the day year-month-day shows in the month calendar c (a month calendar, a picker's dropped
// calendar), in c's client coordinates: the point a user clicks to pick it; false when c does not
// show that day of that month now.
bool DayPoint(TWinControl* c, int year, int month, int day, int& x, int& y);

// The next pop-up menu that opens gets a user's click on its item captioned caption (CP1251, with
// its '&'), or Escape when caption is empty; it fails the test when the menu has no such item.
// Call it before the input that opens the menu (a menu runs its own loop until it closes).
void ChooseInNextMenu(const std::string& caption);

// A click on the title captioned caption (CP1251, with its '&') in the main menu bar of a shown
// form, as the window system delivers it; with ChooseInNextMenu first, a choice in that menu.
void ClickMenuBar(TWinControl* form, const std::string& caption);

// The window manager maximises, minimises or restores the shown top-level window of form, as its
// title-bar buttons do: the request goes to the window system, and the new state and geometry come
// back from it, not from the program.
enum class TWindowManagerState { Normal, Minimized, Maximized };
void WindowManagerSets(TWinControl* form, TWindowManagerState state);

// Lets the toolkit deliver what is queued (posted messages, timers due, deferred deletes).
void ProcessEvents();

} // namespace inputkit
