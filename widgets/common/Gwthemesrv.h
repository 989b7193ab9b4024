// The widget library's visual-styles service: whether styles are in use, the element/part/state
// numbering of the theme schema, theme data opened per element on demand, themed drawing, and
// theme changes. Widget library.
#pragma once

#include <memory>
#include <string>

#include "controls.h"
#include "Gwuxtheme.h"

enum TThemedElement {
    teButton,
    teClock,
    teComboBox,
    teEdit,
    teExplorerBar,
    teHeader,
    teListView,
    teMenu,
    tePage,
    teProgress,
    teRebar,
    teScrollBar,
    teSpin,
    teStartPanel,
    teStatus,
    teTab,
    teTaskBand,
    teTaskBar,
    teToolBar,
    teToolTip,
    teTrackBar,
    teTrayNotify,
    teTreeview,
    teWindow
};
constexpr int ThemedElementCount = teWindow + 1;

struct TThemedElementDetails {
    TThemedElement Element = teButton;
    int Part = 0;
    int State = 0;
};

// One enumeration per element: DontCare, Root, then each part as a run of its states in the
// schema's order (a part without states is a run of one).
enum TThemedButton {
    tbButtonDontCare,
    tbButtonRoot,
    tbPushButtonNormal,
    tbPushButtonHot,
    tbPushButtonPressed,
    tbPushButtonDisabled,
    tbPushButtonDefaulted,
    tbRadioButtonUncheckedNormal,
    tbRadioButtonUncheckedHot,
    tbRadioButtonUncheckedPressed,
    tbRadioButtonUncheckedDisabled,
    tbRadioButtonCheckedNormal,
    tbRadioButtonCheckedHot,
    tbRadioButtonCheckedPressed,
    tbRadioButtonCheckedDisabled,
    tbCheckBoxUncheckedNormal,
    tbCheckBoxUncheckedHot,
    tbCheckBoxUncheckedPressed,
    tbCheckBoxUncheckedDisabled,
    tbCheckBoxCheckedNormal,
    tbCheckBoxCheckedHot,
    tbCheckBoxCheckedPressed,
    tbCheckBoxCheckedDisabled,
    tbCheckBoxMixedNormal,
    tbCheckBoxMixedHot,
    tbCheckBoxMixedPressed,
    tbCheckBoxMixedDisabled,
    tbGroupBoxNormal,
    tbGroupBoxDisabled,
    tbUserButton
};
enum TThemedClock { tcClockDontCare, tcClockRoot, tcTimeNormal };
enum TThemedComboBox {
    tcComboBoxDontCare,
    tcComboBoxRoot,
    tcDropDownButtonNormal,
    tcDropDownButtonHot,
    tcDropDownButtonPressed,
    tcDropDownButtonDisabled
};
enum TThemedEdit {
    teEditDontCare,
    teEditRoot,
    teEditTextNormal,
    teEditTextHot,
    teEditTextSelected,
    teEditTextDisabled,
    teEditTextFocused,
    teEditTextReadOnly,
    teEditTextAssist,
    teEditCaret
};
enum TThemedExplorerBar {
    tebExplorerBarDontCare,
    tebExplorerBarRoot,
    tebHeaderBackgroundNormal,
    tebHeaderBackgroundHot,
    tebHeaderBackgroundPressed,
    tebHeaderCloseNormal,
    tebHeaderCloseHot,
    tebHeaderClosePressed,
    tebHeaderPinNormal,
    tebHeaderPinHot,
    tebHeaderPinPressed,
    tebHeaderPinSelectedNormal,
    tebHeaderPinSelectedHot,
    tebHeaderPinSelectedPressed,
    tebIEBarMenuNormal,
    tebIEBarMenuHot,
    tebIEBarMenuPressed,
    tebNormalGroupBackground,
    tebNormalGroupCollapseNormal,
    tebNormalGroupCollapseHot,
    tebNormalGroupCollapsePressed,
    tebNormalGroupExpandNormal,
    tebNormalGroupExpandHot,
    tebNormalGroupExpandPressed,
    tebNormalGroupHead,
    tebSpecialGroupBackground,
    tebSpecialGroupCollapseNormal,
    tebSpecialGroupCollapseHot,
    tebSpecialGroupCollapsePressed,
    tebSpecialGroupExpandNormal,
    tebSpecialGroupExpandHot,
    tebSpecialGroupExpandPressed,
    tebSpecialGroupHead
};
enum TThemedHeader {
    thHeaderDontCare,
    thHeaderRoot,
    thHeaderItemNormal,
    thHeaderItemHot,
    thHeaderItemPressed,
    thHeaderItemLeftNormal,
    thHeaderItemLeftHot,
    thHeaderItemLeftPressed,
    thHeaderItemRightNormal,
    thHeaderItemRightHot,
    thHeaderItemRightPressed,
    thHeaderSortArrowSortedUp,
    thHeaderSortArrowSortedDown
};
enum TThemedListview {
    tlListviewDontCare,
    tlListviewRoot,
    tlListItemNormal,
    tlListItemHot,
    tlListItemSelected,
    tlListItemDisabled,
    tlListItemSelectedNotFocus,
    tlListGroup,
    tlListDetail,
    tlListSortDetail,
    tlEmptyText
};
enum TThemedMenu {
    tmMenuDontCare,
    tmMenuRoot,
    tmMenuItemNormal,
    tmMenuItemSelected,
    tmMenuItemDemoted,
    tmMenuDropDown,
    tmMenuBarItem,
    tmMenuBarDropDown,
    tmChevron,
    tmSeparator
};
enum TThemedPage {
    tpPageDontCare,
    tpPageRoot,
    tpUpNormal,
    tpUpHot,
    tpUpPressed,
    tpUpDisabled,
    tpDownNormal,
    tpDownHot,
    tpDownPressed,
    tpDownDisabled,
    tpUpHorzNormal,
    tpUpHorzHot,
    tpUpHorzPressed,
    tpUpHorzDisabled,
    tpDownHorzNormal,
    tpDownHorzHot,
    tpDownHorzPressed,
    tpDownHorzDisabled
};
enum TThemedProgress { tpProgressDontCare, tpProgressRoot, tpBar, tpBarVert, tpChunk, tpChunkVert };
enum TThemedRebar {
    trRebarDontCare,
    trRebarRoot,
    trGripper,
    trGripperVert,
    trBandNormal,
    trBandHot,
    trBandPressed,
    trBandDisabled,
    trBandChecked,
    trBandHotChecked,
    trChevronNormal,
    trChevronHot,
    trChevronPressed,
    trChevronDisabled,
    trChevronVertNormal,
    trChevronVertHot,
    trChevronVertPressed,
    trChevronVertDisabled
};
enum TThemedScrollBar {
    tsScrollBarDontCare,
    tsScrollBarRoot,
    tsArrowBtnUpNormal,
    tsArrowBtnUpHot,
    tsArrowBtnUpPressed,
    tsArrowBtnUpDisabled,
    tsArrowBtnDownNormal,
    tsArrowBtnDownHot,
    tsArrowBtnDownPressed,
    tsArrowBtnDownDisabled,
    tsArrowBtnLeftNormal,
    tsArrowBtnLeftHot,
    tsArrowBtnLeftPressed,
    tsArrowBtnLeftDisabled,
    tsArrowBtnRightNormal,
    tsArrowBtnRightHot,
    tsArrowBtnRightPressed,
    tsArrowBtnRightDisabled,
    tsThumbBtnHorzNormal,
    tsThumbBtnHorzHot,
    tsThumbBtnHorzPressed,
    tsThumbBtnHorzDisabled,
    tsThumbBtnVertNormal,
    tsThumbBtnVertHot,
    tsThumbBtnVertPressed,
    tsThumbBtnVertDisabled,
    tsLowerTrackHorzNormal,
    tsLowerTrackHorzHot,
    tsLowerTrackHorzPressed,
    tsLowerTrackHorzDisabled,
    tsUpperTrackHorzNormal,
    tsUpperTrackHorzHot,
    tsUpperTrackHorzPressed,
    tsUpperTrackHorzDisabled,
    tsLowerTrackVertNormal,
    tsLowerTrackVertHot,
    tsLowerTrackVertPressed,
    tsLowerTrackVertDisabled,
    tsUpperTrackVertNormal,
    tsUpperTrackVertHot,
    tsUpperTrackVertPressed,
    tsUpperTrackVertDisabled,
    tsGripperHorzNormal,
    tsGripperHorzHot,
    tsGripperHorzPressed,
    tsGripperHorzDisabled,
    tsGripperVertNormal,
    tsGripperVertHot,
    tsGripperVertPressed,
    tsGripperVertDisabled,
    tsSizeBoxRightAlign,
    tsSizeBoxLeftAlign
};
enum TThemedSpin {
    tsSpinDontCare,
    tsSpinRoot,
    tsUpNormal,
    tsUpHot,
    tsUpPressed,
    tsUpDisabled,
    tsDownNormal,
    tsDownHot,
    tsDownPressed,
    tsDownDisabled,
    tsUpHorzNormal,
    tsUpHorzHot,
    tsUpHorzPressed,
    tsUpHorzDisabled,
    tsDownHorzNormal,
    tsDownHorzHot,
    tsDownHorzPressed,
    tsDownHorzDisabled
};
enum TThemedStartPanel {
    tspStartPanelDontCare,
    tspStartPanelRoot,
    tspUserPane,
    tspMorePrograms,
    tspMoreProgramsArrowNormal,
    tspMoreProgramsArrowHot,
    tspMoreProgramsArrowPressed,
    tspProgList,
    tspProgListSeparator,
    tspPlacesList,
    tspPlacesListSeparator,
    tspLogOff,
    tspLogOffButtonsNormal,
    tspLogOffButtonsHot,
    tspLogOffButtonsPressed,
    tspUserPicture,
    tspPreview
};
enum TThemedStatus { tsStatusDontCare, tsStatusRoot, tsPane, tsGripperPane, tsGripper };
enum TThemedTab {
    ttTabDontCare,
    ttTabRoot,
    ttTabItemNormal,
    ttTabItemHot,
    ttTabItemSelected,
    ttTabItemDisabled,
    ttTabItemFocused,
    ttTabItemLeftEdgeNormal,
    ttTabItemLeftEdgeHot,
    ttTabItemLeftEdgeSelected,
    ttTabItemLeftEdgeDisabled,
    ttTabItemLeftEdgeFocused,
    ttTabItemRightEdgeNormal,
    ttTabItemRightEdgeHot,
    ttTabItemRightEdgeSelected,
    ttTabItemRightEdgeDisabled,
    ttTabItemRightEdgeFocused,
    ttTabItemBothEdgeNormal,
    ttTabItemBothEdgeHot,
    ttTabItemBothEdgeSelected,
    ttTabItemBothEdgeDisabled,
    ttTabItemBothEdgeFocused,
    ttTopTabItemNormal,
    ttTopTabItemHot,
    ttTopTabItemSelected,
    ttTopTabItemDisabled,
    ttTopTabItemFocused,
    ttTopTabItemLeftEdgeNormal,
    ttTopTabItemLeftEdgeHot,
    ttTopTabItemLeftEdgeSelected,
    ttTopTabItemLeftEdgeDisabled,
    ttTopTabItemLeftEdgeFocused,
    ttTopTabItemRightEdgeNormal,
    ttTopTabItemRightEdgeHot,
    ttTopTabItemRightEdgeSelected,
    ttTopTabItemRightEdgeDisabled,
    ttTopTabItemRightEdgeFocused,
    ttTopTabItemBothEdgeNormal,
    ttTopTabItemBothEdgeHot,
    ttTopTabItemBothEdgeSelected,
    ttTopTabItemBothEdgeDisabled,
    ttTopTabItemBothEdgeFocused,
    ttPane,
    ttBody
};
enum TThemedTaskBand {
    ttbnTaskBandDontCare,
    ttbnTaskBandRoot,
    ttbnGroupCount,
    ttbnFlashButton,
    ttbnFlashButtonGroupMenu
};
enum TThemedTaskBar { ttkTaskBarDontCare, ttkTaskBarRoot, ttkTimeNormal };
enum TThemedToolBar {
    ttbToolBarDontCare,
    ttbToolBarRoot,
    ttbButtonNormal,
    ttbButtonHot,
    ttbButtonPressed,
    ttbButtonDisabled,
    ttbButtonChecked,
    ttbButtonCheckedHot,
    ttbDropDownButtonNormal,
    ttbDropDownButtonHot,
    ttbDropDownButtonPressed,
    ttbDropDownButtonDisabled,
    ttbDropDownButtonChecked,
    ttbDropDownButtonCheckedHot,
    ttbSplitButtonNormal,
    ttbSplitButtonHot,
    ttbSplitButtonPressed,
    ttbSplitButtonDisabled,
    ttbSplitButtonChecked,
    ttbSplitButtonCheckedHot,
    ttbSplitButtonDropDownNormal,
    ttbSplitButtonDropDownHot,
    ttbSplitButtonDropDownPressed,
    ttbSplitButtonDropDownDisabled,
    ttbSplitButtonDropDownChecked,
    ttbSplitButtonDropDownCheckedHot,
    ttbSeparatorNormal,
    ttbSeparatorHot,
    ttbSeparatorPressed,
    ttbSeparatorDisabled,
    ttbSeparatorChecked,
    ttbSeparatorCheckedHot,
    ttbSeparatorVertNormal,
    ttbSeparatorVertHot,
    ttbSeparatorVertPressed,
    ttbSeparatorVertDisabled,
    ttbSeparatorVertChecked,
    ttbSeparatorVertCheckedHot
};
enum TThemedToolTip {
    tttToolTipDontCare,
    tttToolTipRoot,
    tttStandardNormal,
    tttStandardLink,
    tttStandardTitleNormal,
    tttStandardTitleLink,
    tttBalloonNormal,
    tttBalloonLink,
    tttBalloonTitleNormal,
    tttBalloonTitleLink,
    tttCloseNormal,
    tttCloseHot,
    tttClosePressed
};
enum TThemedTrackBar {
    ttbrTrackBarDontCare,
    ttbrTrackBarRoot,
    ttbrTrack,
    ttbrTrackVert,
    ttbrThumbNormal,
    ttbrThumbHot,
    ttbrThumbPressed,
    ttbrThumbFocused,
    ttbrThumbDisabled,
    ttbrThumbBottomNormal,
    ttbrThumbBottomHot,
    ttbrThumbBottomPressed,
    ttbrThumbBottomFocused,
    ttbrThumbBottomDisabled,
    ttbrThumbTopNormal,
    ttbrThumbTopHot,
    ttbrThumbTopPressed,
    ttbrThumbTopFocused,
    ttbrThumbTopDisabled,
    ttbrThumbVertNormal,
    ttbrThumbVertHot,
    ttbrThumbVertPressed,
    ttbrThumbVertFocused,
    ttbrThumbVertDisabled,
    ttbrThumbLeftNormal,
    ttbrThumbLeftHot,
    ttbrThumbLeftPressed,
    ttbrThumbLeftFocused,
    ttbrThumbLeftDisabled,
    ttbrThumbRightNormal,
    ttbrThumbRightHot,
    ttbrThumbRightPressed,
    ttbrThumbRightFocused,
    ttbrThumbRightDisabled,
    ttbrTics,
    ttbrTicsVert
};
enum TThemedTrayNotify { ttnTrayNotifyDontCare, ttnTrayNotifyRoot, ttnBackground, ttnAnimBackground };
enum TThemedTreeview {
    ttvTreeviewDontCare,
    ttvTreeviewRoot,
    ttvTreeItemNormal,
    ttvTreeItemHot,
    ttvTreeItemSelected,
    ttvTreeItemDisabled,
    ttvTreeItemSelectedNotFocus,
    ttvGlyphClosed,
    ttvGlyphOpened,
    ttvBranch
};
enum TThemedWindow {
    twWindowDontCare,
    twWindowRoot,
    twCaptionActive,
    twCaptionInactive,
    twCaptionDisabled,
    twSmallCaptionActive,
    twSmallCaptionInactive,
    twSmallCaptionDisabled,
    twMinCaptionActive,
    twMinCaptionInactive,
    twMinCaptionDisabled,
    twSmallMinCaptionActive,
    twSmallMinCaptionInactive,
    twSmallMinCaptionDisabled,
    twMaxCaptionActive,
    twMaxCaptionInactive,
    twMaxCaptionDisabled,
    twSmallMaxCaptionActive,
    twSmallMaxCaptionInactive,
    twSmallMaxCaptionDisabled,
    twFrameLeftActive,
    twFrameLeftInactive,
    twFrameRightActive,
    twFrameRightInactive,
    twFrameBottomActive,
    twFrameBottomInactive,
    twSmallFrameLeftActive,
    twSmallFrameLeftInactive,
    twSmallFrameRightActive,
    twSmallFrameRightInactive,
    twSmallFrameBottomActive,
    twSmallFrameBottomInactive,
    twSysButtonNormal,
    twSysButtonHot,
    twSysButtonPressed,
    twSysButtonDisabled,
    twMDISysButtonNormal,
    twMDISysButtonHot,
    twMDISysButtonPressed,
    twMDISysButtonDisabled,
    twMinButtonNormal,
    twMinButtonHot,
    twMinButtonPressed,
    twMinButtonDisabled,
    twMDIMinButtonNormal,
    twMDIMinButtonHot,
    twMDIMinButtonPressed,
    twMDIMinButtonDisabled,
    twMaxButtonNormal,
    twMaxButtonHot,
    twMaxButtonPressed,
    twMaxButtonDisabled,
    twCloseButtonNormal,
    twCloseButtonHot,
    twCloseButtonPressed,
    twCloseButtonDisabled,
    twSmallCloseButtonNormal,
    twSmallCloseButtonHot,
    twSmallCloseButtonPressed,
    twSmallCloseButtonDisabled,
    twMDICloseButtonNormal,
    twMDICloseButtonHot,
    twMDICloseButtonPressed,
    twMDICloseButtonDisabled,
    twRestoreButtonNormal,
    twRestoreButtonHot,
    twRestoreButtonPressed,
    twRestoreButtonDisabled,
    twMDIRestoreButtonNormal,
    twMDIRestoreButtonHot,
    twMDIRestoreButtonPressed,
    twMDIRestoreButtonDisabled,
    twHelpButtonNormal,
    twHelpButtonHot,
    twHelpButtonPressed,
    twHelpButtonDisabled,
    twMDIHelpButtonNormal,
    twMDIHelpButtonHot,
    twMDIHelpButtonPressed,
    twMDIHelpButtonDisabled,
    twHorzScrollNormal,
    twHorzScrollHot,
    twHorzScrollPressed,
    twHorzScrollDisabled,
    twHorzThumbNormal,
    twHorzThumbHot,
    twHorzThumbPressed,
    twHorzThumbDisabled,
    twVertScrollNormal,
    twVertScrollHot,
    twVertScrollPressed,
    twVertScrollDisabled,
    twVertThumbNormal,
    twVertThumbHot,
    twVertThumbPressed,
    twVertThumbDisabled,
    twDialog,
    twCaptionSizingTemplate,
    twSmallCaptionSizingTemplate,
    twFrameLeftSizingTemplate,
    twSmallFrameLeftSizingTemplate,
    twFrameRightSizingTemplate,
    twSmallFrameRightSizingTemplate,
    twFrameBottomSizingTemplate,
    twSmallFrameBottomSizingTemplate
};

class TThemeServices : public TObject {
public:
    // Window (may be null) is subclassed to hear WM_THEMECHANGED.
    explicit TThemeServices(HWND Window);
    ~TThemeServices() override;

    bool ThemesAvailable() const { return FThemesAvailable; }
    bool UseThemes() const { return FUseThemes; }
    bool ControlsEnabled() const { return FControlsEnabled; }
    bool GetThemesEnabled() const { return FThemesAvailable && FUseThemes && FControlsEnabled; }
    bool ThemesEnabled() const { return GetThemesEnabled(); }

    // The element's theme data, opened on first need; null while themes are off.
    HTHEME GetTheme(TThemedElement Element);

    static TThemedElementDetails GetElementDetails(TThemedButton Detail);
    static TThemedElementDetails GetElementDetails(TThemedClock Detail);
    static TThemedElementDetails GetElementDetails(TThemedComboBox Detail);
    static TThemedElementDetails GetElementDetails(TThemedEdit Detail);
    static TThemedElementDetails GetElementDetails(TThemedExplorerBar Detail);
    static TThemedElementDetails GetElementDetails(TThemedHeader Detail);
    static TThemedElementDetails GetElementDetails(TThemedListview Detail);
    static TThemedElementDetails GetElementDetails(TThemedMenu Detail);
    static TThemedElementDetails GetElementDetails(TThemedPage Detail);
    static TThemedElementDetails GetElementDetails(TThemedProgress Detail);
    static TThemedElementDetails GetElementDetails(TThemedRebar Detail);
    static TThemedElementDetails GetElementDetails(TThemedScrollBar Detail);
    static TThemedElementDetails GetElementDetails(TThemedSpin Detail);
    static TThemedElementDetails GetElementDetails(TThemedStartPanel Detail);
    static TThemedElementDetails GetElementDetails(TThemedStatus Detail);
    static TThemedElementDetails GetElementDetails(TThemedTab Detail);
    static TThemedElementDetails GetElementDetails(TThemedTaskBand Detail);
    static TThemedElementDetails GetElementDetails(TThemedTaskBar Detail);
    static TThemedElementDetails GetElementDetails(TThemedToolBar Detail);
    static TThemedElementDetails GetElementDetails(TThemedToolTip Detail);
    static TThemedElementDetails GetElementDetails(TThemedTrackBar Detail);
    static TThemedElementDetails GetElementDetails(TThemedTrayNotify Detail);
    static TThemedElementDetails GetElementDetails(TThemedTreeview Detail);
    static TThemedElementDetails GetElementDetails(TThemedWindow Detail);

    // Themed drawing; the caller has checked ThemesEnabled.
    void DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R,
                     const TRect* ClipRect = nullptr);
    void DrawEdge(HDC DC, const TThemedElementDetails& Details, const TRect& R, UINT Edge, UINT Flags,
                  TRect* ContentRect = nullptr);
    void DrawIcon(HDC DC, const TThemedElementDetails& Details, const TRect& R, TCustomImageList* Images,
                  int Index);
    void DrawText(HDC DC, const TThemedElementDetails& Details, const std::wstring& S, const TRect& R,
                  DWORD Flags, DWORD Flags2);
    // The same with Windows-1251 text.
    void DrawText(HDC DC, const TThemedElementDetails& Details, const std::string& S, const TRect& R,
                  DWORD Flags, DWORD Flags2);
    TRect ContentRect(HDC DC, const TThemedElementDetails& Details, const TRect& BoundingRect);
    bool HasTransparentParts(const TThemedElementDetails& Details);
    // The parent's background under Bounds, unless OnlyIfTransparent and the part has no
    // transparent parts.
    void DrawParentBackground(HWND Window, HDC DC, const TThemedElementDetails* Details,
                              bool OnlyIfTransparent, const TRect* Bounds = nullptr);
    // A system colour through the element's theme; other colours (or no Details) unchanged.
    TColor ColorToRGB(TColor Color, const TThemedElementDetails* Details = nullptr);

    // Takes the library's state in again (closing the open theme data first).
    void UpdateThemes();
    // Closes the open theme data (left to the system when the window is gone).
    void UnloadThemeData();
    TNotifyEvent OnThemeChange;

protected:
    virtual void DoOnThemeChange();

private:
    void WindowProc(TMessage& Message);
    bool FThemesAvailable = false;
    bool FUseThemes = false;
    bool FControlsEnabled = false;
    HWND FWindow = nullptr;
    TControl* FSubclassed = nullptr;
    std::unique_ptr<TControlGuard> FSubclassAlive;
    std::function<void(TMessage&)> FOldWindowProc;
    HTHEME FThemeData[ThemedElementCount] = {};
};

// The program's one service, made on first call with the main form's window (when it has one).
TThemeServices* ThemeServices();
// Frees it; the next ThemeServices() makes a new one (a new library table takes effect so).
void FreeThemeServices();
