// The main window: the configuration being edited, its five pages, menus and dialogs, the settings
// file, and the serial link of the load tab. User-interface layer.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Gwcmbobx.h"
#include "Gwgrids.h"
#include "Gwlstbox.h"
#include "Gwmemo.h"
#include "Gwtabpages.h"
#include "Gwtreevw.h"
#include "Wordexport.h"
#include "buttons.h"
#include "dialogs.h"
#include "elem.h"
#include "extctrls.h"
#include "forms.h"
#include "menus.h"
#include "winapi.h"

class configmanager;
class CommPort;
class TMPSyntaxMemo;
class TGwButton;
class TGwCheckBox;
// Its header and the serial port's disagree on a Win32 type: units that place status bars include
// it, the load tab's units the port's.
class TGwStatusBar;
class TObjectItem;
class TParamItem;

// A subprogram template of the settings file.
struct TDefaultActItem : ELEM {
    std::string Name;
    std::string File; // relative to the plug-in folder
    int32_t Id = 0;
};

inline constexpr UINT WM_PORTDATA = WM_USER + 107;
inline constexpr UINT WM_PORTLOG = WM_USER + 108;    // a log text waits in the queue
inline constexpr UINT WM_PORTSIGNAL = WM_USER + 109; // the reader ended: the device went away
// An in-place editor closed from its own exit event: it is freed once that event has returned.
inline constexpr UINT WM_EDITORCLOSED = WM_USER + 110;
inline constexpr int kReceiveBufferSize = 1024;
// Rows of the object page's grids while they show no object.
inline constexpr int kObjectPropertyRows = 8, kObjectCommandRows = 1;
inline constexpr const char* kMainCaption = "Конфигуратор концентраторов QBX-510";

// A failure the user must read before going on (a file not written, an object not added), under
// the title a Russian desktop gives an error.
void ShowErrorBox(const std::string& text);

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;

    // Frame and pages.
    TControl* GwLEDDisplay1; // the LED banner
    TPanel* pnSettings;
    TImage* Image1;
    TControl* GwLabel1; // the turned caption
    TPanel* Panel11;
    TGwPageControl* pcMain;
    TSplitter* HSplitter;
    TPanel* BottomDockPanel;
    TGwStatusBar* StatusBar1;
    TGwTabSheet *tsObjectControl, *tsParamControl, *tsChannelControlExpress, *tsProgramm, *TabSheet1;

    // Object page.
    TGwPageControl* GwPageControl2;
    TGwTabSheet* GwTabSheet1;
    TGwStringGrid *gwsgObjectProperty, *gwsgObjectCommand;
    TSplitter* Splitter4;
    TGwListBox* gwlbObjectList;
    // Channel page.
    TGwPageControl* GwPageControl1;
    TGwTabSheet *tsParamProperty, *tsAddParam, *tsAddNewParam;
    TGwStringGrid *gwsgMainParamProperties, *gwsgSpecParamProperties, *gwsgNewParamProperty, *gwsgParamList;
    TGwListBox *GwListBox1, *GwListBox2;
    TGwButton* GwButton1;
    TSplitter* Splitter1;
    TPanel* Panel1;
    TLabel* Label8;
    TGwComboBox* gwneParamType;
    // Express page.
    TGwPageControl* GwPageControl3;
    TGwTabSheet* GwTabSheet2;
    TGwStringGrid *gwsgMainParamPropertiesExpress, *gwsgSpecParamPropertiesExpress;
    TSplitter* Splitter5;
    TGwCheckTree* gwctObjectList;
    // Subprogram page.
    TGwTabControl* tcProgramm;
    TMPSyntaxMemo* MPSyntaxMemo1;
    TGwStatusBar* GwStatusBar1;
    TCheckBox* CheckBox2;
    TSpeedButton *SpeedButton1, *SpeedButton2, *SpeedButton3;
    // The small images of pcMain's tabs.
    TImageList* ImageList1 = nullptr;
    TGwStringGrid* sgActions;
    // Load page.
    TGroupBox* GroupBox1;
    TRadioButton *RadioButton1, *RadioButton2;
    TButton *Button1, *Button2, *Button3, *Button4;
    TLabel *Label1, *Label2, *Label3, *Label4;
    TComboBox* ComboBox1;
    TEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
    TCheckBox* CheckBox1;
    TGwRichEdit* GwRichEdit1;

    // Menus and dialogs.
    TMainMenu* MainMenu1;
    TMenuItem *mmFile, *mmNew, *mmOpen, *mmSave, *mmSaveAs, *N11, *mmExit;
    TMenuItem *mmObjects, *mmAddObj, *mmDeleteObj;
    TMenuItem *N4, *mmLoadParams, *N151, *mmWordExport;
    TMenuItem *mmActions, *mmCreateAction, *mmSaveAction, *mmLoadAction, *mmDeleteAction, *N3, *mmAddLine,
        *mmDeleteLine, *N5, *N101;
    TMenuItem *N9, *mmView1, *mmView2, *mmExpress, *mmView3, *mmView4, *mmMessageView;
    TMenuItem* mmHelp;
    TOpenDialog* BaseOpenDialog;
    TSaveDialog* BaseSaveDialog;
    TOpenDialog* ActionOpenDialog;
    TSaveDialog* ActionSaveDialog;
    TSaveDialog* ExportConfigDialog;

    // Own fields.
    std::string DatabaseFileName;
    ELEMList DefaultActList;  // TDefaultActItem, owned
    ELEMList ChannelRowList;  // TParamItemP of the listed type, highest index first
    ELEMList SignalParamList; // TParamItemP offered by the chosen object
    std::unique_ptr<TStringList> SetpointNames;
    ELEMList ObjectSnapshot; // TObjectItemP, configuration order
    std::unique_ptr<TStringList> PropertyNames, CommandNames;
    std::unique_ptr<TStringList> InstructionWords, FunctionWords;
    uint8_t WordExportBusy = 0;
    TWordExport WordExport;
    configmanager* Config = nullptr;
    CommPort* Port = nullptr;
    uint8_t ReceiveBuffer[kReceiveBufferSize] = {};
    int32_t ReceiveLength = 0;
    // The last frame as the GUI thread took it over from the reader.
    std::vector<uint8_t> LastFrame;
    int FramesTaken = 0;

    // Start-up and shut-down.
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void RefreshAllViews(TObject* Sender);
    void mmAddObjectClick(TObject* Sender);
    // Where the settings file is read and written; empty: beside the program (tests set it before
    // the form is made).
    static std::string SettingsPathOverride;

    // File commands.
    void mmNewClick(TObject* Sender);
    void mmOpenClick(TObject* Sender);
    void mmSaveClick(TObject* Sender);
    void mmSaveAsClick(TObject* Sender);
    void mmExitClick(TObject* Sender);
    void mmFileClick(TObject* Sender);

    // Check, export, view.
    void CheckConfiguration();
    void N11Click(TObject* Sender);
    void N151Click(TObject* Sender);
    void pcMainPageChange(TObject* Sender);
    void mmViewClick(TObject* Sender);
    void mmMessageViewClick(TObject* Sender);
    void N4Click(TObject* Sender);
    void mmWordExportClick(TObject* Sender);

    // Object page.
    TObjectItem* SelectedObject(TGwListBox* list);
    std::string ObjectLineText(TObjectItem* object);
    void gwlbObjectListClick(TObject* Sender);
    void gwlbObjectListDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);
    void gwsgObjectPropertySelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void gwsgObjectPropertyExit(TObject* Sender);
    // OnMouseDown of the grids that edit in place, on the object, channel and Express pages.
    void EditorGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void gwsgObjectPropertyDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State);
    void mmDeleteObjClick(TObject* Sender);
    void GwListBox1KeyUp(TObject* Sender, WORD& Key, TShiftState Shift);

    // Channel page.
    void gwneParamTypeChange(TObject* Sender);
    void gwneParamTypeEnter(TObject* Sender);
    void gwsgParamListResize(TObject* Sender);
    void gwsgParamListSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void gwsgParamListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void gwsgParamListKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void gwsgParamListKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void gwsgParamListDblClick(TObject* Sender);
    void gwsgParamListDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State);
    void gwsgSpecParamPropertiesSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void gwsgSpecParamPropertiesExit(TObject* Sender);
    void GwListBox1Click(TObject* Sender);
    void GwListBox2DblClick(TObject* Sender);
    void GwButton1Click(TObject* Sender);
    // The channel of grid row r (from 1), or null.
    TParamItem* ChannelOfRow(int row);
    // Channel type from the combo text; false for a bad or out-of-range text.
    bool ListedType(uint16_t& type);
    // Moves the selected rows up (-1) or down (+1); false when the move leaves 1..255.
    bool MoveChannels(int delta);
    // Lists the type's channels in the grid (type 0: none) and shows the selected row's.
    void ListChannelRows(uint16_t type);

    // Express page.
    void FillExpressTree();
    void gwctObjectListStateChanging(TObject* Sender, TTreeNode* Node, TGwCheckState NewState,
                                     bool& AllowChange);
    void gwctObjectListStateChange(TObject* Sender, TTreeNode* Node, TGwCheckState NewState);
    void gwctObjectListClick(TObject* Sender);
    void gwctObjectListKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void gwctObjectListCustomDrawItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                                      bool& DefaultDraw);
    void gwsgParamPropertiesExpressSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void gwsgParamPropertiesExpressExit(TObject* Sender);

    // Subprogram page.
    void tcProgrammChange(TObject* Sender);
    void mmCreateActionClick(TObject* Sender);
    void mmLoadActionClick(TObject* Sender);
    void mmSaveActionClick(TObject* Sender);
    void mmDeleteActionClick(TObject* Sender);
    void mmActionsClick(TObject* Sender);
    void N5Click(TObject* Sender);
    void mmMainActionClick(TObject* Sender);
    void N101Click(TObject* Sender);
    void MPSyntaxMemo1Change(TObject* Sender, unsigned ChangedBits);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void MPSyntaxMemo1ParseWord(const std::string& Word, uint16_t& Token);
    void GwStatusBar1Resize(TObject* Sender);
    // The version-1.0 import of a file's text into the editor lines (one source line per token).
    static std::vector<std::string> ImportVersion10(const std::string& text);

    // Load tab.
    void Button1Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void PortDataReceived(const uint8_t* Data, int Length);
    void PortLogText(const std::string& Text);

    // Bottom dock panel.
    void SetDockPanelShown(TPanel* Panel, bool Show, TControl* Client);
    void BottomDockPanelDockOver(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State,
                                 bool& Accept);
    void BottomDockPanelDockDrop(TObject* Sender, TDragDockObject* Source, int X, int Y);
    void BottomDockPanelGetSiteInfo(TObject* Sender, TControl* DockClient, TRect& InfluenceRect,
                                    TPoint MousePos, bool& CanDock);
    void BottomDockPanelUnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow);

protected:
    void Dispatch(TMessage& Message) override;

private:
    void CreatePort();
    void BuildLayout();
    void BuildMenus();
    void BuildObjectPage();
    void BuildChannelPage();
    void BuildExpressPage();
    void BuildProgramPage();
    void BuildLoadPage();
    void BuildAddObjectMenu();
    void ReadSettings();
    void ListPresentPorts();
    void ShowPortName();
    int PortTextWidth(const std::string& Name);
    void WriteSettings();
    void ReplaceConfig();
    void EmptyList(ELEMList& list);
    void ShowChannel(TParamItem* p, TGwStringGrid* main, TGwStringGrid* setpoints, bool names);
    // The property grids of no channel: labels only, no editor, one empty set-point row.
    void ClearChannelDetails(TGwStringGrid* main, TGwStringGrid* setpoints);
    // The channel grid's selected row shown in the property grids (a refilled list keeps a row
    // selected, and the user sees it as chosen).
    void ShowListedChannel();
    // The object grids of no object, their editors closed.
    void ClearObjectDetails();
    // The editor, autostart box and status text of the selected subprogram tab; with none
    // selected, an empty editor that takes no typing.
    void ShowSelectedSubprogram();
    void FreeHosts(TGwStringGrid* grid);
    TPanel* HostOf(TGwStringGrid* grid);
    // Whether the grid is the window's focused control.
    bool HoldsFocus(TGwStringGrid* grid);
    TPanel* HostFor(TGwStringGrid* grid, int row);
    // Shows an object's in-place editor over its host cell; false, the host freed, when the object
    // made none.
    bool ShowInHost(TPanel* host, TWinControl* editor);
    void RelistTypeAndChannels();
    // The close steps of the three pages' editors, run by an editor's exit.
    void CloseObjectEditors();
    void CloseChannelEditors();
    void CloseExpressEditors();
    // Takes the editor whose exit runs a close step out of its host, to be freed by WM_EDITORCLOSED.
    void ReleaseEditor(TObject* editor);
    std::vector<std::unique_ptr<TControl>> FReleasedEditors;
    bool FReplacing = false; // the editor's text or the autostart box is set from code
    void ReplaceEditorText(const std::function<void()>& fill);
    bool LoadActInto(const std::string& path);
    // Assembles the editor's text into the current subprogram. A text that does not assemble
    // stays in the editor, still pending, with the caret on the line the error names; the error
    // is shown every time when the user asks (tell), else once for the same text. False then.
    bool ApplyEdit(bool tell);
    // The pending edit applied on the way of another command: that command goes on either way.
    bool ApplyPending();
    bool FFailureShown = false; // the pending text's assembly error was shown
    void SelectCurrentTab();

    // Log texts raised on the reader thread, handed over to the GUI thread.
    std::mutex FPortLock;
    std::deque<std::string> FPortLog;
    std::deque<std::vector<uint8_t>> FPortFrames;
    // The window the reader posts to, taken on the GUI thread before the port opens.
    HWND FPortWindow = nullptr;
};

extern TMainForm* MainForm;
