// Test support: what the screen shows of a control, with no Qt in the test file. Pictures come
// back as TBitmaps (read them with Canvas()->GetPixel); a fresh paint paints what is due now,
// without delivering queued events first (inputkit::ProcessEvents does). The other answers are
// what the native widgets show, which a control's own state might not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics.h"

class TWinControl;

namespace screenkit {

// A fresh paint of c's whole window (frame, native widget, children), as the screen shows it.
void Window(TWinControl* c, TBitmap& into);
// A fresh paint of c's client area.
void Client(TWinControl* c, TBitmap& into);
// The native widget c wraps (a combo box's, a line edit's), painted alone; empty without one.
void Native(TWinControl* c, TBitmap& into);
// What the top-level window keeps on the screen now over c's client area, with no new paint.
void OnScreen(TWinControl* c, TBitmap& into);
// The drop-down list c shows now (a combo box's); false, and into empty, when none is shown.
bool DropDown(TWinControl* c, TBitmap& into);
// Row row of the drop-down list c shows, in that picture's coordinates; empty when none.
TRect DropDownRow(TWinControl* c, int row);
// The sizes and every pixel of a and b are the same.
bool SamePixels(TBitmap& a, TBitmap& b);
// The focus mark that picture with shows over picture without (of the same control): the box of the
// pixels that differ when they make a dotted rectangle, every other pixel of the box's outline and
// nothing else; empty when they make anything else, or nothing.
TRect DottedRect(TBitmap& with, TBitmap& without);

// From its making until it goes, the areas of c's client that the window system paints: one
// rectangle a paint (client coordinates), the box of what that paint was asked for. A fresh
// picture (Window, Client) paints the whole client too.
class TPaintWatch {
public:
    explicit TPaintWatch(TWinControl* c);
    ~TPaintWatch();
    TPaintWatch(const TPaintWatch&) = delete;
    TPaintWatch& operator=(const TPaintWatch&) = delete;
    const std::vector<TRect>& Painted() const { return FPainted; }
    void Clear() { FPainted.clear(); }

private:
    class TFilter;
    std::vector<TRect> FPainted;
    std::unique_ptr<TFilter> FFilter;
};

// c's window, and the native widget it wraps, are visible on the screen.
bool Shown(TWinControl* c);
// The text c's native widget shows (a line edit's, an editable combo box's, a button's caption, a
// date picker's date).
std::string ShownText(TWinControl* c);
// c's native check box or radio button shows checked.
bool ShownChecked(TWinControl* c);
// The position c's native scroll bar shows.
int ShownPosition(TWinControl* c);
// Where c's window shows, in the client coordinates of in.
TRect ShownRect(TWinControl* c, TWinControl* in);
// The place of c's window among the windows of its parent's client area, bottom first; -1 when
// it has none.
int StackPlace(TWinControl* c);

// The desktop's clipboard as another program reads it, and another program copying text (CP1251).
std::string DesktopClipboardText();
void DesktopCopies(const std::string& text);

} // namespace screenkit
