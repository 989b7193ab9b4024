// The header control and the hot-key control of the common-controls unit, drawn by the layer:
// sections with the header messages and notifications, owner-drawn sections, dividers dragged with
// the mouse; a key combination entered and shown as "Ctrl+Alt+A".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls.h"

// HDM_GETITEM/HDM_SETITEM/HDM_INSERTITEM: LParam points at this; Mask says which fields count.
enum : UINT { HDI_WIDTH = 0x1, HDI_TEXT = 0x2, HDI_FORMAT = 0x4, HDI_LPARAM = 0x8 };
enum : int {
    HDF_LEFT = 0,
    HDF_RIGHT = 1,
    HDF_CENTER = 2,
    HDF_JUSTIFYMASK = 3,
    HDF_SORTDOWN = 0x0200,
    HDF_SORTUP = 0x0400,
    HDF_STRING = 0x4000,
    HDF_OWNERDRAW = 0x8000
};
struct THDItem {
    UINT Mask = 0;
    int cxy = 0;
    std::string Text;
    int fmt = 0;
    LPARAM lParam = 0;
};
// WM_NOTIFY from a header: the common header, then the section and the mouse button (0 left).
struct THDNotify {
    HWND hwndFrom = nullptr;
    WPARAM idFrom = 0;
    int code = 0;
    int Item = -1;
    int Button = 0;
    THDItem* pItem = nullptr;
};
// HDM_HITTEST: LParam points at this; Flags tell where Pt fell, Item which section.
enum : UINT { HHT_NOWHERE = 0x1, HHT_ONHEADER = 0x2, HHT_ONDIVIDER = 0x4 };
struct THDHitTestInfo {
    TPoint Pt;
    UINT Flags = 0;
    int Item = -1;
};

class THeaderControl;
class THeaderTheme;
enum THeaderSectionStyle { hsText, hsOwnerDraw };
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };

class THeaderSection {
public:
    std::string Text() const { return FText; }
    void SetText(const std::string& v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int v) { FMinWidth = v; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int v) { FMaxWidth = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    THeaderSectionStyle Style() const { return FStyle; }
    void SetStyle(THeaderSectionStyle v);
    // HDF_SORTUP, HDF_SORTDOWN or 0: the arrow the default drawing shows at the right.
    int SortFormat() const { return FSortFormat; }
    void SetSortFormat(int v);
    bool AllowClick() const { return FAllowClick; }
    void SetAllowClick(bool v) { FAllowClick = v; }
    int Index() const;
    // Left and right edge in the header's client coordinates.
    int Left() const;
    int Right() const { return Left() + FWidth; }
    LPARAM Data = 0;

private:
    friend class THeaderSections;
    friend class THeaderControl;
    explicit THeaderSection(THeaderControl* Owner) : FOwner(Owner) {}
    THeaderControl* FOwner;
    std::string FText;
    int FWidth = 50, FMinWidth = 0, FMaxWidth = 10000;
    TAlignment FAlignment = taLeftJustify;
    THeaderSectionStyle FStyle = hsText;
    int FSortFormat = 0;
    bool FAllowClick = true;
};

class THeaderSections {
public:
    int Count() const { return int(FItems.size()); }
    THeaderSection* Items(int i) const { return FItems.at(size_t(i)).get(); }
    THeaderSection* Add() { return Insert(Count()); }
    THeaderSection* Insert(int Index);
    void Delete(int Index);
    void Clear();

private:
    friend class THeaderControl;
    friend class THeaderSection;
    explicit THeaderSections(THeaderControl* Owner) : FOwner(Owner) {}
    THeaderControl* FOwner;
    std::vector<std::unique_ptr<THeaderSection>> FItems;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TDrawSectionEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section,
                                             const TRect& Rect, bool Pressed)>;
using TSectionTrackEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section,
                                              int Width, TSectionTrackState State)>;

class THeaderControl : public TCustomControl {
public:
    explicit THeaderControl(TComponent* AOwner);
    ~THeaderControl() override;
    THeaderSections* Sections() const { return FSections.get(); }
    // The section under X (client coordinates), -1 when none; OnDivider when X is on a section's
    // right edge (within 4 pixels), where a drag resizes it.
    int SectionAt(int X, bool& OnDivider) const;
    bool HotTrack = false;
    TDrawSectionEvent OnDrawSection;
    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;

protected:
    friend class THeaderSection;
    friend class THeaderSections;
    // Owner-drawn sections are asked of the parent with WM_DRAWITEM (ODT_HEADER); a parent that
    // leaves it reflects CN_DRAWITEM back, which lands in DrawSection. While the visual-styles
    // library is there and active, sections and sort arrows are its header parts (normal, hot
    // under the mouse, pressed); otherwise the classic raised buttons.
    void Paint() override;
    virtual void DrawSection(THeaderSection* Section, const TRect& Rect, bool Pressed);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void WMSetCursor(TWMSetCursor& Message) override;

private:
    friend class THeaderTheme;
    // WM_NOTIFY to the parent; its answer (nonzero vetoes a track or change).
    LRESULT Notify(int Code, int Item);
    int Format(const THeaderSection* s) const;
    void Changed();
    std::unique_ptr<THeaderSections> FSections;
    int FPressed = -1;  // section held down for a click
    int FTracking = -1; // section whose divider is being dragged
    int FTrackStartX = 0, FTrackStartWidth = 0;
    int FLastDownX = 0;
    int FHot = -1;                  // section under the mouse
    THeaderTheme* FTheme = nullptr; // the visual styles while a paint uses them
};

// ---- hot key -------------------------------------------------------------------------------------

enum THKModifier { hkShift, hkCtrl, hkAlt, hkExt };
using THKModifiers = Set<THKModifier, hkShift, hkExt>;
enum THKInvalidKey { hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt };
using THKInvalidKeys = Set<THKInvalidKey, hcNone, hcShiftCtrlAlt>;
// Modifier bits of HKM_SETHOTKEY/HKM_GETHOTKEY (high byte; the low byte is the virtual key).
enum : int { HOTKEYF_SHIFT = 1, HOTKEYF_CONTROL = 2, HOTKEYF_ALT = 4, HOTKEYF_EXT = 8 };

class TCustomHotKey : public TCustomControl {
public:
    explicit TCustomHotKey(TComponent* AOwner);
    TShortCut HotKey() const { return FHotKey; }
    void SetHotKey(TShortCut v);
    // Modifiers put on a key typed with a combination InvalidKeys forbids.
    THKModifiers Modifiers() const { return FModifiers; }
    void SetModifiers(THKModifiers v) { FModifiers = v; }
    THKInvalidKeys InvalidKeys() const { return FInvalidKeys; }
    void SetInvalidKeys(THKInvalidKeys v) { FInvalidKeys = v; }
    // What the box shows: "Ctrl+Alt+A", the modifiers held so far ("Ctrl+"), or "Нет" when empty.
    std::string DisplayText() const;
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message) override;

private:
    void Change(TShortCut v);
    TShortCut FHotKey = scNone;
    TShiftState FHeld; // modifiers down while no key is given yet
    THKModifiers FModifiers;
    THKInvalidKeys FInvalidKeys{hcNone, hcShift};
};

class THotKey : public TCustomHotKey {
public:
    explicit THotKey(TComponent* AOwner) : TCustomHotKey(AOwner) {}
};
