// Dialogs of the GUI core: message boxes and file dialogs, all through one replaceable dialog service
// (the default shows Qt dialogs; tests install a fake that answers and records).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls.h"
#include "msgbox.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = Set<TMsgDlgBtn, mbYes, mbHelp>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing
};
using TOpenOptions = Set<TOpenOption, ofReadOnly, ofEnableSizing>;

// What a file dialog asks; all text Windows-1251. Filter is "Description|*.ext;*.ext2|...".
struct TFileDialogRequest {
    bool Save = false;
    std::string Title;
    std::string Filter;
    int FilterIndex = 1; // 1-based: the first filter is 1
    std::string FileName;
    std::string InitialDir;
    std::string DefaultExt;
    TOpenOptions Options;
};

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = Set<TColorDialogOption, cdFullOpen, cdAnyColor>;

// What a colour dialog asks: the colour to start from and the sixteen custom colours (clNone where
// a slot is empty); the answer comes back in the same fields.
struct TColorDialogRequest {
    TColor Color = clBlack;
    std::vector<TColor> CustomColors = std::vector<TColor>(16, clNone);
    TColorDialogOptions Options;
};

class TDialogService {
public:
    virtual ~TDialogService() = default;
    // A Windows message box: MB_* flags, returns an ID* value.
    virtual int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) = 0;
    // A message dialog with the given buttons: returns the mr* value of the button chosen.
    virtual int MessageDlg(const std::string& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons) = 0;
    // Fills Files with the chosen names (one unless multi-select) and FilterIndex; false on cancel.
    virtual bool FileDialog(TFileDialogRequest& Request, std::vector<std::string>& Files) = 0;
    // Puts the chosen colour (and the custom colours as left) into Request; false on cancel. A
    // service that does not answer colour requests cancels them.
    virtual bool ColorDialog(TColorDialogRequest& /*Request*/) { return false; }
};

// Installs s (not owned; null restores the Qt dialogs) and returns the service it replaced.
TDialogService* SetDialogService(TDialogService* s);
TDialogService* DialogService();

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// An OK box titled as an information box.
void ShowMessage(const std::string& Msg);
// The Win32 call: h is ignored (the box is modal to the application).
int MessageBox(HWND h, const char* Text, const char* Caption, UINT Type);

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;
    // Shows the dialog through the service; true when the user chose a file.
    virtual bool Execute();

    std::string FileName() const { return FFileName; }
    void SetFileName(const std::string& v) { FFileName = v; }
    TStrings* Files() const { return FFiles.get(); }
    std::string Filter() const { return FFilter; }
    void SetFilter(const std::string& v) { FFilter = v; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int v) { FFilterIndex = v; }
    std::string InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& v) { FInitialDir = v; }
    std::string DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& v) { FDefaultExt = v; }
    std::string Title() const { return FTitle; }
    void SetTitle(const std::string& v) { FTitle = v; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions v) { FOptions = v; }

protected:
    bool DoExecute(bool Save);

private:
    std::string FFileName, FFilter, FInitialDir, FDefaultExt, FTitle;
    int FFilterIndex = 1;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
    std::unique_ptr<TStringList> FFiles;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
    bool Execute() override;
};

// The file name with DefaultExt appended when it has no extension (DefaultExt without its dot).
std::string ApplyDefaultExt(const std::string& FileName, const std::string& DefaultExt);
// "Text (*.txt)|*.txt|All|*.*" as Qt's name filters, one per pair.
std::vector<std::string> FilterToQtFilters(const std::string& Filter);

// The colour dialog. CustomColors holds lines "ColorA=RRGGBB" … "ColorP=RRGGBB" (hex of the TColor
// value, as the class library stores them); a missing or bad line is an empty slot.
class TColorDialog : public TComponent {
public:
    explicit TColorDialog(TComponent* AOwner);
    ~TColorDialog() override;
    virtual bool Execute();
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TStrings* CustomColors() const { return FCustomColors.get(); }
    TColorDialogOptions Options() const { return FOptions; }
    void SetOptions(TColorDialogOptions v) { FOptions = v; }

private:
    TColor FColor = clBlack;
    TColorDialogOptions FOptions;
    std::unique_ptr<TStringList> FCustomColors;
};
