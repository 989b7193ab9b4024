// The main window: start-up, shut-down, the view refresh, file commands, the configuration check,
// the view menu and the bottom dock panel.
#include "Umain.h"

#include "Commport.h"
#include "Configmanager.h"
#include "Conjoinhost.h"
#include "Dockform.h"
#include "Ubanner.h"
#include "Uind570mp3.h"
#include "Uschedule.h"
#include "UnitSyntaxMemo.h"
#include "Usettings.h"
#include "actions.h"
#include "dragdock.h"
#include "inifiles.h"
#include "replacefile.h"
#include "sysutils.h"

#include <utility>

TMainForm* MainForm = nullptr;
std::string TMainForm::SettingsPathOverride;

namespace {

constexpr uint16_t kInstructionKind = 255, kFunctionKind = 254;
constexpr int kPortCount = 255;
// A port name's margins in the list and the field, beside the scroll bar or the drop-down button.
constexpr int kPortTextMargins = 12;

// The editor's keywords are the instruction table's words and do-function names, nothing more.
std::unique_ptr<TStringList> SortedWords(std::span<const std::string_view> words) {
    auto list = std::make_unique<TStringList>();
    for (std::string_view word : words)
        list->Add(std::string(word));
    list->SetSorted(true);
    return list;
}

TSettingsPaths SettingsFiles() {
    if (!TMainForm::SettingsPathOverride.empty())
        return {"", TMainForm::SettingsPathOverride};
    return SettingsPaths(Application->ExeName());
}

} // namespace

void ShowErrorBox(const std::string& text) {
    MessageBox(nullptr, text.c_str(), "Ошибка", MB_OK | MB_ICONERROR);
}

TMainForm::~TMainForm() {
    HideDockPanel = nullptr;
    EmptyList(ChannelRowList);
    EmptyList(SignalParamList);
    EmptyList(ObjectSnapshot);
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::EmptyList(ELEMList& list) {
    while (list.Newest) {
        ELEM* e = list.Newest;
        list.Remove(e);
        delete e;
    }
}

// Devices the system knows by a path (USB adapters) are offered after the numbered ports. The
// serial number that tells two adapters apart sits in the middle of such a name: the list drops
// as wide as its longest name, and the field, too narrow for one, shows it whole as its hint.
void TMainForm::ListPresentPorts() {
    for (const std::string& path : PresentPorts())
        if (ComboBox1->Items()->IndexOf(path) < 0)
            ComboBox1->Items()->Add(path);
    int widest = 0;
    for (int i = 0; i < ComboBox1->Items()->Count(); ++i)
        widest = std::max(widest, PortTextWidth(ComboBox1->Items()->Get(i)));
    ComboBox1->SetDropDownWidth(widest + kPortTextMargins + GetSystemMetrics(SM_CXVSCROLL));
}

void TMainForm::ShowPortName() {
    const std::string name = ComboBox1->Text();
    const int room = ComboBox1->Width() - kPortTextMargins - GetSystemMetrics(SM_CXVSCROLL);
    ComboBox1->SetHint(PortTextWidth(name) > room ? name : std::string());
}

int TMainForm::PortTextWidth(const std::string& Name) {
    TBitmap measure;
    measure.Canvas()->Font()->Assign(ComboBox1->Font());
    return measure.Canvas()->TextWidth(Name);
}

void TMainForm::FormCreate(TObject* Sender) {
    InstructionWords = SortedWords(::InstructionWords());
    FunctionWords = SortedWords(DoFunctionNames());
    TMPSyntaxAttributes* attrs = MPSyntaxMemo1->SyntaxAttributes();
    attrs->SetColor(kInstructionKind, false, 0xFF0000);
    attrs->SetStyle(kInstructionKind, mpsBold);
    attrs->SetColor(kFunctionKind, false, 0xFF0080);
    attrs->SetStyle(kFunctionKind, mpsItalic);
    for (int i = 1; i <= kPortCount; ++i)
        ComboBox1->Items()->Add("COM" + IntToStr(i));
    // The ports present are looked for when the user goes to the list, not at every start: an
    // adapter plugged in later shows up too.
    ComboBox1->OnDropDown = [this](TObject*) { ListPresentPorts(); };
    ComboBox1->OnEnter = [this](TObject*) { ListPresentPorts(); };
    ComboBox1->OnChange = [this](TObject*) { ShowPortName(); };
    ComboBox1->SetShowHint(true);
    Edit4->SetEnabled(CheckBox1->Checked());
    ReadSettings();
    SetpointNames = std::make_unique<TStringList>();
    PropertyNames = std::make_unique<TStringList>();
    CommandNames = std::make_unique<TStringList>();
    Config = new configmanager();
    BuildAddObjectMenu();
    RefreshAllViews(Sender);
    // The first visible of these opens. Only it is activated: the page change fills a page (the
    // program page loads its editor), and the others are filled when the user opens them.
    for (TGwTabSheet* page : {tsObjectControl, tsParamControl, tsProgramm})
        if (page->TabVisible()) {
            pcMain->SetActivePageIndex(page->PageIndex());
            break;
        }
    gwsgParamListResize(Sender);
    WordExportBusy = 0;
}

void TMainForm::ReadSettings() {
    const std::unique_ptr<TCustomIniFile> ini = ReadSettingsFiles(SettingsFiles());
    for (const TDefaultActTemplate& t : ReadDefaultActions(ini.get())) {
        auto* item = new TDefaultActItem();
        item->Name = t.Name;
        item->File = t.File;
        item->Id = t.Id;
        DefaultActList.Append(item);
        auto* menu = new TMenuItem(MainMenu1);
        menu->SetCaption(t.Name);
        menu->Tag = reinterpret_cast<intptr_t>(item);
        menu->OnClick = [this](TObject* s) { mmMainActionClick(s); };
        N5->Add(menu);
    }
    TWindowSettings w = ReadWindowSettings(ini.get());
    if (w.Left || w.Top || w.Width || w.Height)
        SetBounds(w.Left.value_or(Left()), w.Top.value_or(Top()), w.Width.value_or(Width()),
                  w.Height.value_or(Height()));
    if (w.WindowState && *w.WindowState >= wsNormal && *w.WindowState <= wsMaximized)
        SetWindowState(static_cast<TWindowState>(*w.WindowState));
    if (w.PC1Width)
        GwPageControl1->SetWidth(*w.PC1Width);
    if (w.PC2Width)
        GwPageControl2->SetWidth(*w.PC2Width);
    if (w.PC3Width)
        GwPageControl3->SetWidth(*w.PC3Width);
    TMenuItem* items[kViewSwitchCount] = {mmView1, mmView2, mmView3, mmView4, mmExpress};
    TGwTabSheet* pages[kViewSwitchCount] = {tsObjectControl, tsParamControl, tsProgramm, nullptr,
                                            tsChannelControlExpress};
    for (int i = 0; i < kViewSwitchCount; ++i) {
        if (!w.Visible[i])
            continue;
        items[i]->SetChecked(*w.Visible[i] != 0);
        if (pages[i])
            pages[i]->SetTabVisible(items[i]->Checked());
    }
}

void TMainForm::WriteSettings() {
    const std::string path = SettingsFiles().User;
    ForceDirectories(ExtractFilePath(path));
    TMemIniFile ini(path); // written once, at the end
    TWindowValues v;
    v.WindowState = WindowState();
    v.Left = Left();
    v.Top = Top();
    v.Width = Width();
    v.Height = Height();
    v.PC1Width = GwPageControl1->Width();
    v.PC2Width = GwPageControl2->Width();
    v.PC3Width = GwPageControl3->Width();
    TMenuItem* items[kViewSwitchCount] = {mmView1, mmView2, mmView3, mmView4, mmExpress};
    for (int i = 0; i < kViewSwitchCount; ++i)
        v.Visible[i] = items[i]->Checked();
    WriteWindowSettings(&ini, v);
    try {
        ini.UpdateFile();
    } catch (const EIniFileException& e) {
        ShowErrorBox(WriteFailureText(path, e.ErrorCode));
    }
}

// Each item carries its type's code, which the click hands to AddObject.
void TMainForm::BuildAddObjectMenu() {
    for (const TObjectMenuEntry& entry : ObjectMenu()) {
        auto* item = new TMenuItem(MainMenu1);
        item->SetCaption(entry.Caption);
        if (entry.Code != 0) {
            item->Tag = entry.Code;
            item->OnClick = [this](TObject* s) { mmAddObjectClick(s); };
        }
        mmAddObj->Add(item);
    }
}

void TMainForm::mmAddObjectClick(TObject* Sender) {
    if (!Config->AddObject(static_cast<int>(static_cast<TComponent*>(Sender)->Tag)))
        ShowErrorBox(Config->LastError);
    RefreshAllViews(Sender);
}

std::string TMainForm::ObjectLineText(TObjectItem* object) {
    std::string name = object->GetDisplayName();
    return name.empty() ? object->DisplayType : object->DisplayType + ": " + name;
}

void TMainForm::RefreshAllViews(TObject* Sender) {
    Config->FillSubprogramTabs(tcProgramm);
    // No tab is selected when nothing is current (a configuration just made or opened).
    if (tcProgramm->TabIndex() < 0)
        ShowSelectedSubprogram();
    EmptyList(ObjectSnapshot);
    Config->GetObjects(&ObjectSnapshot);
    GwListBox1->Items()->Clear();
    gwlbObjectList->Items()->Clear();
    for (ELEM* e = ObjectSnapshot.Oldest; e; e = e->Newer) {
        std::string text = ObjectLineText(static_cast<TObjectItemP*>(e)->Item);
        GwListBox1->Items()->Add(text);
        gwlbObjectList->Items()->Add(text);
    }
    // The lists lost their selection, and the object shown may be gone.
    ClearObjectDetails();
    FillExpressTree();
    GwListBox1Click(Sender);
    gwneParamTypeEnter(Sender);
    // The rows may name channels that are gone: a type text that lists nothing leaves no row.
    uint16_t type = 0;
    ListChannelRows(ListedType(type) ? type : 0);
}

void TMainForm::FormDestroy(TObject*) {
    delete Port;
    Port = nullptr;
    InstructionWords.reset();
    FunctionWords.reset();
    WriteSettings();
    EmptyList(DefaultActList);
    delete Config;
    Config = nullptr;
    SetpointNames.reset();
    PropertyNames.reset();
    CommandNames.reset();
}

void TMainForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PORTDATA: {
        std::lock_guard g(FPortLock);
        if (!FPortFrames.empty()) {
            LastFrame = std::move(FPortFrames.front());
            FPortFrames.pop_front();
            ++FramesTaken;
        }
        return;
    }
    case WM_PORTLOG: {
        std::deque<std::string> texts;
        {
            std::lock_guard g(FPortLock);
            texts.swap(FPortLog);
        }
        for (const std::string& t : texts)
            GwRichEdit1->Lines()->Add(t);
        return;
    }
    case WM_EDITORCLOSED: FReleasedEditors.clear(); return;
    case WM_PORTSIGNAL:
        if (Port->IsOpen() && Button1->Caption() == "Закрыть")
            Button1Click(this);
        return;
    }
    TForm::Dispatch(Message);
}

// The hosts go at once, so that the click that ended the edit opens the clicked cell's editor; the
// editor itself is still inside its exit event and is freed after it.
void TMainForm::ReleaseEditor(TObject* editor) {
    auto* control = dynamic_cast<TControl*>(editor);
    TWinControl* host = control ? control->Parent() : nullptr;
    if (!host || !dynamic_cast<TPanel*>(host) || !dynamic_cast<TGwStringGrid*>(host->Parent()))
        return;
    if (control->Owner())
        control->Owner()->RemoveComponent(control);
    control->SetParent(nullptr);
    if (FReleasedEditors.empty())
        PostMessage(Handle(), WM_EDITORCLOSED, 0, 0);
    FReleasedEditors.emplace_back(control);
}

// The window's own record, not the toolkit's: a message box shown while the focus moves to the grid
// leaves the window inactive until the toolkit activates it again, after the click has selected.
bool TMainForm::HoldsFocus(TGwStringGrid* grid) { return ActiveControl() == grid; }

TPanel* TMainForm::HostOf(TGwStringGrid* grid) {
    for (int i = 0; i < grid->ControlCount(); ++i)
        if (auto* host = dynamic_cast<TPanel*>(grid->Controls(i)))
            return host;
    return nullptr;
}

TPanel* TMainForm::HostFor(TGwStringGrid* grid, int row) {
    TPanel* host = HostOf(grid);
    if (host) {
        while (host->ControlCount() > 0)
            delete host->Controls(0);
    } else {
        host = new TPanel(grid);
        host->SetParent(grid);
        host->SetBevelOuter(bvNone);
    }
    host->SetVisible(false);
    host->SetBoundsRect(grid->CellRect(1, row));
    return host;
}

bool TMainForm::ShowInHost(TPanel* host, TWinControl* editor) {
    if (!editor) {
        // A host left empty would count as an open editor for the grid's next click.
        delete host;
        return false;
    }
    host->SetVisible(true);
    editor->SetBounds(0, 0, host->Width(), host->Height());
    editor->SetVisible(true);
    if (editor->CanFocus())
        editor->SetFocus();
    return true;
}

// The grid asks nothing when the click lands on its current cell, so a cell whose edit ended is
// opened again here.
void TMainForm::EditorGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int X, int Y) {
    auto* grid = static_cast<TGwStringGrid*>(Sender);
    TGridCoord cell = grid->MouseCoord(X, Y);
    if (Button != mbLeft || cell.X != grid->Col() || cell.Y != grid->Row() || HostOf(grid))
        return;
    bool canSelect = true;
    grid->OnSelectCell(grid, cell.X, cell.Y, canSelect);
}

void TMainForm::FreeHosts(TGwStringGrid* grid) {
    for (int i = grid->ControlCount() - 1; i >= 0; --i)
        if (auto* host = dynamic_cast<TPanel*>(grid->Controls(i)))
            delete host;
}

// ---- File commands -------------------------------------------------------------------------------

void TMainForm::ReplaceConfig() {
    // The device forms keep the channel list they were last shown on.
    if (frmSchedule && frmSchedule->Channels == &Config->Channels)
        frmSchedule->Channels = nullptr;
    if (frmInd570mp3 && frmInd570mp3->Channels == &Config->Channels)
        frmInd570mp3->Channels = nullptr;
    delete Config;
    Config = new configmanager();
}

void TMainForm::mmNewClick(TObject* Sender) {
    if (!BaseOpenDialog->Execute())
        return;
    DatabaseFileName = BaseOpenDialog->FileName();
    SetCaption(std::string(kMainCaption) + " - " + DatabaseFileName);
    ReplaceConfig();
    RefreshAllViews(Sender);
    // The messages were about the configuration just dropped (Open's check clears them too).
    DockableForm->MessageMemo->Lines()->Clear();
}

void TMainForm::mmOpenClick(TObject* Sender) {
    if (!BaseOpenDialog->Execute() || !FileExists(BaseOpenDialog->FileName()))
        return;
    DatabaseFileName = BaseOpenDialog->FileName();
    SetCaption(std::string(kMainCaption) + " - " + DatabaseFileName);
    ReplaceConfig();
    bool loaded = Config->LoadDatabase(DatabaseFileName);
    RefreshAllViews(Sender);
    CheckConfiguration();
    // Problems of the load go after the check, which empties the window first.
    int found = 0;
    if (!loaded && !Config->LastError.empty()) {
        AddMessage(Config->LastError, kMessageError);
        ++found;
    }
    for (const std::string& p : Config->LoadProblems) {
        AddMessage(p, kMessageWarning);
        ++found;
    }
    if (found)
        mmMessageViewClick(Sender);
}

void TMainForm::mmSaveClick(TObject* Sender) {
    CheckConfiguration();
    if (DatabaseFileName.empty())
        return;
    if (SpeedButton1->Enabled())
        SpeedButton1Click(Sender);
    // The save writes beside the file and renames: a failure keeps the old file.
    if (!Config->SaveDatabase(DatabaseFileName))
        ShowErrorBox(Config->LastError);
}

void TMainForm::mmSaveAsClick(TObject* Sender) {
    CheckConfiguration();
    if (!BaseSaveDialog->Execute())
        return;
    if (SpeedButton1->Enabled())
        SpeedButton1Click(Sender);
    const std::string path = BaseSaveDialog->FileName();
    if (!Config->SaveDatabase(path)) {
        ShowErrorBox(Config->LastError);
        return;
    }
    // The caption names the file the next Save writes: only one that was written.
    DatabaseFileName = path;
    SetCaption(std::string(kMainCaption) + " - " + DatabaseFileName);
}

void TMainForm::mmExitClick(TObject*) { Close(); }

void TMainForm::mmFileClick(TObject*) { mmSave->SetEnabled(!DatabaseFileName.empty()); }

// ---- Check, export, view -------------------------------------------------------------------------

void TMainForm::CheckConfiguration() {
    DockableForm->MessageMemo->Lines()->Clear();
    TStringList first, second;
    int found = 0;
    auto report = [&found](TStrings& lines, uint8_t kind) {
        for (int i = 0; i < lines.Count(); ++i, ++found)
            AddMessage(lines[i], kind);
    };
    Config->CheckDbVersion(&first);
    report(first, kMessageWarning);
    Config->CheckFileVersions(&second);
    report(second, kMessageWarning);
    for (ELEM* e = Config->Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == 0 || p->ChannelIndex == 0)
            continue;
        for (uint16_t id : {p->WriteHandler, p->ChangeHandler}) {
            if (id == 0 || Config->IsSubprogramDefined(id))
                continue;
            AddMessage("Отсутвует подпрограмма " + IntToStr(id) + ", указанная в канале  \"" + p->Name +
                           "\" (" + IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex) + ")",
                       kMessageError);
            ++found;
        }
    }
    for (ELEM* e = Config->Objects.Oldest; e; e = e->Newer) {
        first.Clear();
        static_cast<TObjectItem*>(e)->CheckConfiguration(&first);
        report(first, kMessageError);
    }
    for (ELEM* e = Config->Objects.Oldest; e; e = e->Newer) {
        second.Clear();
        static_cast<TObjectItem*>(e)->CheckSubprogramVersions(&second);
        report(second, kMessageWarning);
    }
    if (found == 0)
        DockableForm->Close();
    else
        mmMessageViewClick(this);
}

void TMainForm::N11Click(TObject*) { CheckConfiguration(); }

void TMainForm::N151Click(TObject*) {
    CheckConfiguration();
    if (!ExportConfigDialog->Execute())
        return;
    std::string path = ExportConfigDialog->FileName();
    if (FileExists(path))
        DeleteFile(path);
    if (!Config->ExportScadaConfig(path))
        ShowErrorBox(Config->LastError);
}

void TMainForm::N4Click(TObject*) { mmWordExport->SetEnabled(WordExportBusy == 0); }

void TMainForm::mmWordExportClick(TObject*) {
    TCursor saved = crDefault;
    TWordExportHost host;
    host.CheckConfiguration = [this] { CheckConfiguration(); };
    host.AddMessage = [](const std::string& text, int kind) { AddMessage(text, uint8_t(kind)); };
    host.ShowMessages = [this] { mmMessageViewClick(this); };
    host.SetBusy = [this, &saved](bool busy) {
        WordExportBusy = busy ? 1 : 0;
        if (busy)
            saved = Screen->Cursor();
        Screen->SetCursor(busy ? TCursor(crHourGlass) : saved);
        SetBannerScrolling(GwLEDDisplay1, !busy);
    };
    WordExport.Run(*Config, DatabaseFileName, host);
}

void TMainForm::pcMainPageChange(TObject* Sender) {
    // Grids on a page that was hidden missed their resize.
    gwsgParamListResize(Sender);
    ApplyPending();
    if (pcMain->ActivePage() == tsProgramm) {
        GwStatusBar1Resize(Sender);
        Config->FillSubprogramTabs(tcProgramm);
        ShowSelectedSubprogram();
    } else if (pcMain->ActivePage() == tsParamControl) {
        gwneParamTypeChange(Sender);
    }
}

void TMainForm::mmViewClick(TObject* Sender) {
    auto* item = static_cast<TMenuItem*>(Sender);
    item->SetChecked(!item->Checked());
    TGwTabSheet* page = item == mmView1     ? tsObjectControl
                        : item == mmView2   ? tsParamControl
                        : item == mmExpress ? tsChannelControlExpress
                        : item == mmView3   ? tsProgramm
                                            : nullptr;
    if (!page)
        return;
    page->SetTabVisible(item->Checked());
    if (page->TabVisible())
        pcMain->SetActivePage(page);
    if (!item->Checked())
        for (TGwTabSheet* fallback : {tsProgramm, tsParamControl, tsObjectControl})
            if (fallback->TabVisible())
                pcMain->SetActivePage(fallback);
}

void TMainForm::mmMessageViewClick(TObject*) {
    TDockableForm* form = DockableForm;
    // On the screen, not only visible: a host closed by its close box hides the window with it.
    if (form->Showing())
        return;
    TWinControl* host = form->HostDockSite();
    if (auto* pages = dynamic_cast<TGwPageControl*>(host)) {
        if (auto* owner = dynamic_cast<TCustomForm*>(pages->Owner()))
            owner->Show();
        // Its page comes to the front: the host may have been left on another form's page.
        if (TGwTabSheet* page = pages->GetPageFromDockClient(form))
            pages->SetActivePage(page);
        return;
    }
    if (auto* conjoin = dynamic_cast<TConjoinDockHost*>(host); conjoin && !conjoin->Visible()) {
        conjoin->Show();
        UpdateHostCaption(conjoin, nullptr);
        form->Show();
        return;
    }
    if (auto* panel = dynamic_cast<TPanel*>(host); panel && (panel->Height() == 0 || panel->Width() == 0)) {
        SetDockPanelShown(panel, true, form);
        return;
    }
    DockManually(form, BottomDockPanel, alClient);
    form->Show();
}

// ---- Bottom dock panel ---------------------------------------------------------------------------

void TMainForm::SetDockPanelShown(TPanel* Panel, bool Show, TControl* Client) {
    if (!Show) {
        int visible = 0;
        for (int i = 0; i < Panel->DockClientCount(); ++i)
            visible += Panel->DockClients(i)->Visible() ? 1 : 0;
        if (visible > 1)
            return;
    }
    HSplitter->SetVisible(Show);
    if (Show) {
        Panel->SetHeight(ClientHeight() / 3);
        HSplitter->SetTop(Panel->Top() - HSplitter->Height());
    } else {
        Panel->SetHeight(0);
    }
    if (Show && Client)
        Client->Show();
}

void TMainForm::BottomDockPanelDockOver(TObject* Sender, TDragDockObject* Source, int, int, TDragState,
                                        bool& Accept) {
    Accept = dynamic_cast<TDockableForm*>(Source->Control()) != nullptr;
    if (!Accept)
        return;
    auto* panel = static_cast<TPanel*>(Sender);
    TPoint a = panel->ClientToScreen(TPoint(0, 0));
    TPoint b = panel->ClientToScreen(TPoint(panel->Width(), -Source->Control()->Height()));
    Source->DockRect = TRect(a.x, a.y, b.x, b.y);
}

void TMainForm::BottomDockPanelDockDrop(TObject* Sender, TDragDockObject*, int, int) {
    auto* panel = dynamic_cast<TPanel*>(Sender);
    if (!panel)
        throw EInvalidCast("Сброс на нижнюю панель стыковки пришел не от панели");
    if (panel->DockClientCount() == 1)
        SetDockPanelShown(panel, true, nullptr);
    if (panel->DockManager())
        panel->DockManager()->ResetBounds(true);
}

void TMainForm::BottomDockPanelGetSiteInfo(TObject*, TControl* DockClient, TRect&, TPoint, bool& CanDock) {
    CanDock = dynamic_cast<TDockableForm*>(DockClient) != nullptr;
}

void TMainForm::BottomDockPanelUnDock(TObject* Sender, TControl*, TWinControl*, bool&) {
    auto* panel = dynamic_cast<TPanel*>(Sender);
    if (!panel)
        throw EInvalidCast("Отстыковка от нижней панели пришла не от панели");
    if (panel->DockClientCount() == 1)
        SetDockPanelShown(panel, false, nullptr);
}
