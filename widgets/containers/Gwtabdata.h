// Plain data behind the tab controls: the tab records and their list, the colour sets, the cache of
// tab-shape regions and the unit's error class. Widget layer; no drawing here.
#pragma once

#include <string>
#include <vector>

#include "classes.h"
#include "graphics.h"
#include "sysutils.h"
#include "wingdi.h"

enum TGwTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners, tsBackSlant };
enum TGwTabOrientation { toTop, toLeft, toBottom, toRight };
enum TGwTabSequence { tsStandard, tsReverse };
enum TGwHorizontalAlignment { haLeft, haCenter, haRight };
enum TGwVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TGwImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TGwTabHotTrackStyle { htsTab, htsText };

class EGwTabControlError : public Exception {
public:
    using Exception::Exception;
};

extern const char* const SGwTabWrongPointCount;
extern const char* const SGwTabCacheCapacity;
extern const char* const SGwTabSaveDC;
extern const char* const SGwTabCreateRegion;
extern const char* const SGwTabSheetVisible;
extern const char* const SGwTabBadPageIndex;

// One tab; Rect (mapped coordinates, tabs on top) and Row are the layout's.
class TGwTabData : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    std::string Caption;
    TColor Color = clBtnFace;
    int DisabledIndex = -1;
    bool Enabled = true;
    std::string Hint;
    int ImageIndex = -1;
    TRect Rect{};
    bool Visible = true;
    int Row = 0;
};

// Owns its tabs.
class TGwTabDataList : public TPersistent {
public:
    TGwTabDataList() = default;
    TGwTabDataList(const TGwTabDataList&) = delete;
    TGwTabDataList& operator=(const TGwTabDataList&) = delete;
    ~TGwTabDataList() override;

    void Assign(TPersistent* Source) override;
    virtual int GetCount() const { return static_cast<int>(FItems.size()); }
    virtual TGwTabData* GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
    void SetItem(int Index, TGwTabData* Tab);
    int Add(TGwTabData* Tab);
    void Insert(int Index, TGwTabData* Tab);
    void Delete(int Index);
    // Index the tab had, or -1 (then nothing is freed).
    int Remove(TGwTabData* Tab);
    int IndexOf(const TGwTabData* Tab) const;
    TGwTabData* First() const { return GetItem(0); }
    TGwTabData* Last() const { return GetItem(GetCount() - 1); }
    void Move(int From, int To);
    void Clear();

private:
    std::vector<TGwTabData*> FItems;
};

class TGwCustomTabControl;

class TGwTabColors : public TPersistent {
public:
    explicit TGwTabColors(TGwCustomTabControl* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* Source) override;
    TColor HighlightBar() const { return FHighlightBar; }
    TColor Shadow() const { return FShadow; }
    TColor Unselected() const { return FUnselected; }
    void SetHighlightBar(TColor Value);
    void SetShadow(TColor Value);
    void SetUnselected(TColor Value);

private:
    void Changed();
    TGwCustomTabControl* FOwner;
    TColor FHighlightBar = clHighlight;
    TColor FShadow = clBtnFace;
    TColor FUnselected = clWindow;
};

class TGwTextColors : public TPersistent {
public:
    explicit TGwTextColors(TGwCustomTabControl* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* Source) override;
    TColor DisabledHighlight() const { return FDisabledHighlight; }
    TColor DisabledShadow() const { return FDisabledShadow; }
    TColor Selected() const { return FSelected; }
    TColor Unselected() const { return FUnselected; }
    void SetDisabledHighlight(TColor Value);
    void SetDisabledShadow(TColor Value);
    void SetSelected(TColor Value);
    void SetUnselected(TColor Value);

private:
    void Changed();
    TGwCustomTabControl* FOwner;
    TColor FDisabledHighlight = clBtnHighlight;
    TColor FDisabledShadow = clBtnShadow;
    TColor FSelected = clBtnText;
    TColor FUnselected = clBtnText;
};

// Regions of tab shapes keyed by the mapped tab rectangle, most recent first; owns the regions.
class TGwTabRegionCache {
public:
    TGwTabRegionCache() = default;
    TGwTabRegionCache(const TGwTabRegionCache&) = delete;
    TGwTabRegionCache& operator=(const TGwTabRegionCache&) = delete;
    ~TGwTabRegionCache() { Clear(); }

    HRGN Find(const TRect& Rect);
    // Takes ownership of Region unless Rect is already cached (then Region is freed).
    void Add(const TRect& Rect, HRGN Region);
    int Capacity() const { return FCapacity; }
    // -1 keeps everything; 0 or below -1 raises EGwTabControlError.
    void SetCapacity(int Value);
    int GetCount() const { return static_cast<int>(FItems.size()); }
    void Clear();

private:
    struct Item {
        TRect Rect;
        HRGN Region;
    };
    void Trim();
    std::vector<Item> FItems;
    int FCapacity = 1;
};
