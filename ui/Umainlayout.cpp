// The main window's components as the form places them: frame, pages, menus, dialogs.
#include "Dockform.h"
#include "Gwbars.h"
#include "Gwbutton.h"
#include "Ubanner.h"
#include "UnitSyntaxMemo.h"
#include "Umain.h"
#include "Upictures.h"

namespace {

const char* const kVerklit = "\"Верклит 1.5\"";
const char* const kBaseFilter = "Controller Data Base (*.cdb, *.lor)|*.cdb;*.lor";
const char* const kActFilter = "Action (*.act)|*.act";

constexpr int kFar = 1 << 14;

template <class T> T* Make(TComponent* owner, TWinControl* parent, TAlign align = alNone) {
    T* c = new T(owner);
    c->SetParent(parent);
    // Aligned controls keep the order of their edges: a new one starts past those already placed.
    if (align == alTop)
        c->SetTop(kFar);
    else if (align == alLeft)
        c->SetLeft(kFar);
    if (align != alNone)
        c->SetAlign(align);
    return c;
}

TPanel* Header(TComponent* owner, TWinControl* parent, const std::string& caption, bool enabled = true) {
    auto* p = Make<TPanel>(owner, parent, alTop);
    p->SetHeight(22);
    p->SetCaption(caption);
    p->SetEnabled(enabled);
    return p;
}

TGwStringGrid* Grid(TComponent* owner, TWinControl* parent, TAlign align, int rows, TGridOptions extra = {}) {
    auto* g = Make<TGwStringGrid>(owner, parent, align);
    g->SetColCount(2);
    g->SetRowCount(rows);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    g->SetDefaultRowHeight(20);
    TGridOptions o{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    g->SetOptions(o + extra);
    return g;
}

TSplitter* Splitter(TComponent* owner, TWinControl* parent, TAlign align) {
    auto* s = Make<TSplitter>(owner, parent, align);
    if (align == alTop || align == alBottom)
        s->SetHeight(3);
    else
        s->SetWidth(3);
    return s;
}

// A page of a page control; the page control owns and parents it.
TGwTabSheet* Sheet(TGwPageControl* pages, const std::string& caption, int image = -1) {
    auto* sheet = new TGwTabSheet(pages);
    sheet->SetCaption(caption);
    sheet->SetImageIndex(image);
    sheet->SetPageControl(pages);
    return sheet;
}

// The small emblem of the side panel.
void DrawEmblem(TBitmap* b) {
    b->SetWidth(32);
    b->SetHeight(32);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(TColor(0x8B4513));
    c->FillRect(TRect(0, 0, 32, 32));
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(6, 6, 26, 26));
    c->Brush()->SetColor(TColor(0x8B4513));
    c->FillRect(TRect(10, 10, 22, 22));
    c->Brush()->SetColor(TColor(0x00A5FF));
    c->FillRect(TRect(19, 19, 29, 29));
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const std::string& caption,
                TNotifyEvent click = nullptr) {
    auto* m = new TMenuItem(owner);
    m->SetCaption(caption);
    m->OnClick = std::move(click);
    parent->Add(m);
    return m;
}

} // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption(kMainCaption);
    SetBounds(229, 115, 1051, 753);
    SetPosition(poDefaultPosOnly);
    Font()->SetName("Arial");
    Font()->SetHeight(-16);
    SetShowHint(true);
    BuildMenus();
    BuildLayout();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };

    HideDockPanel = [this](TWinControl* panel) {
        SetDockPanelShown(static_cast<TPanel*>(panel), false, nullptr);
    };
    CreatePort();
}

void TMainForm::BuildMenus() {
    MainMenu1 = new TMainMenu(this);
    TMenuItem* root = MainMenu1->Items();
    auto on = [this](void (TMainForm::*h)(TObject*)) { return [this, h](TObject* s) { (this->*h)(s); }; };

    mmFile = Item(this, root, "&Файл", on(&TMainForm::mmFileClick));
    mmNew = Item(this, mmFile, "Новая База", on(&TMainForm::mmNewClick));
    Item(this, mmFile, "-");
    mmOpen = Item(this, mmFile, "&Открыть", on(&TMainForm::mmOpenClick));
    mmSave = Item(this, mmFile, "Сохранить", on(&TMainForm::mmSaveClick));
    mmSaveAs = Item(this, mmFile, "Сохранить Как", on(&TMainForm::mmSaveAsClick));
    Item(this, mmFile, "-");
    N11 = Item(this, mmFile, "Проверка Конфигурации", on(&TMainForm::N11Click));
    Item(this, mmFile, "-");
    mmExit = Item(this, mmFile, "Выход", on(&TMainForm::mmExitClick));

    mmObjects = Item(this, root, "Объекты");
    mmAddObj = Item(this, mmObjects, "Добавить Объект");
    mmDeleteObj = Item(this, mmObjects, "Удалить Объект", on(&TMainForm::mmDeleteObjClick));

    N4 = Item(this, root, "Каналы концентратора", on(&TMainForm::N4Click));
    mmLoadParams = Item(this, N4, "Загрузить из Файла");
    mmLoadParams->SetEnabled(false);
    N151 = Item(this, N4, std::string("Сохранить Конфигурацию ") + kVerklit, on(&TMainForm::N151Click));
    Item(this, N4, "-");
    mmWordExport = Item(this, N4, "Сохранить Конфигурацию в WORD", on(&TMainForm::mmWordExportClick));

    mmActions = Item(this, root, "Подпрограммы", on(&TMainForm::mmActionsClick));
    mmCreateAction = Item(this, mmActions, "Создать Новую", on(&TMainForm::mmCreateActionClick));
    mmSaveAction = Item(this, mmActions, "Сохранить в Файл...", on(&TMainForm::mmSaveActionClick));
    mmLoadAction = Item(this, mmActions, "Загрузить из Файла...", on(&TMainForm::mmLoadActionClick));
    mmDeleteAction = Item(this, mmActions, "Удалить", on(&TMainForm::mmDeleteActionClick));
    mmDeleteAction->SetEnabled(false);
    N3 = Item(this, mmActions, "-");
    N3->SetVisible(false);
    mmAddLine = Item(this, mmActions, "Добавить Строку");
    mmAddLine->SetVisible(false);
    mmDeleteLine = Item(this, mmActions, "Удалить Строку");
    mmDeleteLine->SetVisible(false);
    Item(this, mmActions, "-");
    N5 = Item(this, mmActions, "Общие", on(&TMainForm::N5Click));
    Item(this, mmActions, "-");
    N101 = Item(this, mmActions, "Импорт версии 1.0...", on(&TMainForm::N101Click));

    N9 = Item(this, root, "Вид");
    mmView1 = Item(this, N9, "Управление объектами", on(&TMainForm::mmViewClick));
    mmView1->SetChecked(true);
    mmView2 = Item(this, N9, "Управление каналами", on(&TMainForm::mmViewClick));
    mmExpress = Item(this, N9, "Управление каналами (Express)", on(&TMainForm::mmViewClick));
    mmExpress->SetChecked(true);
    mmView3 = Item(this, N9, "Подпрограммы", on(&TMainForm::mmViewClick));
    mmView3->SetChecked(true);
    mmView4 = Item(this, N9, "Управление загрузкой", on(&TMainForm::mmViewClick));
    Item(this, N9, "-");
    mmMessageView = Item(this, N9, "Окно Сообщений", on(&TMainForm::mmMessageViewClick));

    mmHelp = Item(this, root, "Помощь");
    mmHelp->SetEnabled(false);
    SetMenu(MainMenu1);

    TOpenOptions options{ofOverwritePrompt, ofHideReadOnly, ofEnableSizing};
    BaseOpenDialog = new TOpenDialog(this);
    BaseOpenDialog->SetFilter(kBaseFilter);
    BaseOpenDialog->SetOptions(options);
    BaseSaveDialog = new TSaveDialog(this);
    BaseSaveDialog->SetFilter(kBaseFilter);
    BaseSaveDialog->SetOptions(options);
    ActionOpenDialog = new TOpenDialog(this);
    ActionOpenDialog->SetFilter(kActFilter);
    ActionSaveDialog = new TSaveDialog(this);
    ActionSaveDialog->SetFilter(kActFilter);
    ExportConfigDialog = new TSaveDialog(this);
    ExportConfigDialog->SetFilter("*.ini|*.ini");
    ExportConfigDialog->SetDefaultExt("ini");
    ExportConfigDialog->SetTitle(std::string("Экспорт конфигурации в ") + kVerklit);
    ExportConfigDialog->SetOptions(options);
}

void TMainForm::BuildLayout() {
    GwLEDDisplay1 = MakeBanner(this, this);

    StatusBar1 = Make<TGwStatusBar>(this, this, alBottom);
    StatusBar1->SetHeight(19);

    pnSettings = Make<TPanel>(this, this, alLeft);
    pnSettings->SetWidth(49);
    Image1 = Make<TImage>(this, pnSettings, alTop);
    Image1->SetHeight(44);
    Image1->SetCenter(true);
    DrawEmblem(Image1->Picture());
    GwLabel1 = MakeSideLabel(this, pnSettings);

    Panel11 = Make<TPanel>(this, this, alClient);
    Panel11->SetBevelOuter(bvNone);
    BottomDockPanel = Make<TPanel>(this, Panel11, alBottom);
    BottomDockPanel->SetHeight(0);
    BottomDockPanel->SetDockSite(true);
    BottomDockPanel->OnDockOver = [this](TObject* s, TDragDockObject* src, int x, int y, TDragState st,
                                         bool& a) { BottomDockPanelDockOver(s, src, x, y, st, a); };
    BottomDockPanel->OnDockDrop = [this](TObject* s, TDragDockObject* src, int x, int y) {
        BottomDockPanelDockDrop(s, src, x, y);
    };
    BottomDockPanel->OnGetSiteInfo = [this](TObject* s, TControl* c, TRect& r, TPoint p, bool& can) {
        BottomDockPanelGetSiteInfo(s, c, r, p, can);
    };
    BottomDockPanel->OnUnDock = [this](TObject* s, TControl* c, TWinControl* t, bool& a) {
        BottomDockPanelUnDock(s, c, t, a);
    };
    HSplitter = Make<TSplitter>(this, Panel11, alBottom);
    HSplitter->SetHeight(3);
    HSplitter->SetCursor(crVSplit);
    HSplitter->SetVisible(false);
    ImageList1 = new TImageList(this);
    FillTabPictures(ImageList1);
    pcMain = Make<TGwPageControl>(this, Panel11, alClient);
    pcMain->SetImages(ImageList1);
    pcMain->SetMultiLine(true);
    pcMain->SetTabStyle(tsRoundCorners);
    pcMain->SetTabHeight(24);
    pcMain->SetShowShadow(false);
    pcMain->SetUseGradients(false);
    tsObjectControl = Sheet(pcMain, "Управление объектами");
    tsParamControl = Sheet(pcMain, "Управление каналами", 4);
    tsChannelControlExpress = Sheet(pcMain, "Управление каналами (Express)");
    tsProgramm = Sheet(pcMain, "Подпрограммы", 1);
    TabSheet1 = Sheet(pcMain, "Управление загрузкой");
    BuildObjectPage();
    BuildChannelPage();
    BuildExpressPage();
    BuildProgramPage();
    BuildLoadPage();
    pcMain->SetActivePage(tsParamControl);
    pcMain->OnPageChange = [this](TObject* s) { pcMainPageChange(s); };
}

void TMainForm::BuildObjectPage() {
    GwPageControl2 = Make<TGwPageControl>(this, tsObjectControl, alLeft);
    GwPageControl2->SetWidth(321);
    GwTabSheet1 = Sheet(GwPageControl2, "Свойства");
    GwPageControl2->SetActivePage(GwTabSheet1);
    Header(this, GwTabSheet1, "Свойства объекта");
    gwsgObjectProperty = Grid(this, GwTabSheet1, alTop, kObjectPropertyRows);
    gwsgObjectProperty->SetHeight(330);
    Splitter(this, GwTabSheet1, alTop);
    Header(this, GwTabSheet1, "Команды к объекту", false);
    gwsgObjectCommand = Grid(this, GwTabSheet1, alClient, kObjectCommandRows);
    Splitter4 = Splitter(this, tsObjectControl, alLeft);
    gwlbObjectList = Make<TGwListBox>(this, tsObjectControl, alClient);
    gwlbObjectList->SetStyle(lbOwnerDrawFixed);
    gwlbObjectList->SetItemHeight(18);

    gwlbObjectList->OnClick = [this](TObject* s) { gwlbObjectListClick(s); };
    gwlbObjectList->OnDrawItem = [this](TWinControl* c, int i, TRect r, TOwnerDrawState st) {
        gwlbObjectListDrawItem(c, i, r, st);
    };
    gwlbObjectList->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { GwListBox1KeyUp(s, k, sh); };
    for (TGwStringGrid* g : {gwsgObjectProperty, gwsgObjectCommand}) {
        g->OnSelectCell = [this](TObject* s, int c, int r, bool& can) {
            gwsgObjectPropertySelectCell(s, c, r, can);
        };
        g->OnExit = [this](TObject* s) { gwsgObjectPropertyExit(s); };
        g->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            EditorGridMouseDown(s, b, sh, x, y);
        };
        g->OnResize = [this](TObject* s) { gwsgParamListResize(s); };
    }
    gwsgObjectProperty->OnDrawCell = [this](TObject* s, int c, int r, TRect rc, TGridDrawState st) {
        gwsgObjectPropertyDrawCell(s, c, r, rc, st);
    };
}

void TMainForm::BuildChannelPage() {
    GwPageControl1 = Make<TGwPageControl>(this, tsParamControl, alLeft);
    GwPageControl1->SetWidth(312);
    tsParamProperty = Sheet(GwPageControl1, "Свойства");
    tsAddParam = Sheet(GwPageControl1, "Добавить");
    tsAddNewParam = Sheet(GwPageControl1, "Новый");
    GwPageControl1->SetActivePage(tsParamProperty);

    Header(this, tsParamProperty, "Основные свойства канала");
    gwsgMainParamProperties = Grid(this, tsParamProperty, alTop, 8, {goRowSelect});
    gwsgMainParamProperties->SetHeight(172);
    Header(this, tsParamProperty, "Специальные свойства канала", false);
    gwsgSpecParamProperties = Grid(this, tsParamProperty, alClient, 1);

    Header(this, tsAddParam, "Список объектов");
    GwListBox1 = Make<TGwListBox>(this, tsAddParam, alTop);
    GwListBox1->SetHeight(200);
    Splitter(this, tsAddParam, alTop);
    Header(this, tsAddParam, "Доступные каналы");
    GwListBox2 = Make<TGwListBox>(this, tsAddParam, alClient);

    Header(this, tsAddNewParam, "Параметры нового канала");
    gwsgNewParamProperty = Grid(this, tsAddNewParam, alTop, 5, {goEditing, goAlwaysShowEditor});
    // The captions are fixed, so that typing always lands in a value cell.
    gwsgNewParamProperty->SetFixedCols(1);
    gwsgNewParamProperty->SetHeight(110);
    const char* newRows[] = {"Количество", "Длина параметра, бит", "Обработка при записи",
                             "Обработка при изменении", "Хранить в ОЗУ. Глубина"};
    for (int r = 0; r < 5; ++r)
        gwsgNewParamProperty->SetCells(0, r, newRows[r]);
    GwButton1 = Make<TGwButton>(this, tsAddNewParam);
    GwButton1->SetBounds(8, 150, 290, 28);
    GwButton1->SetCaption("Добавить новый канал(ы)");

    Splitter1 = Splitter(this, tsParamControl, alLeft);
    Panel1 = Make<TPanel>(this, tsParamControl, alClient);
    Panel1->SetBevelOuter(bvNone);
    Panel1->Constraints().MinWidth = 230;
    auto* top = Make<TPanel>(this, Panel1, alTop);
    top->SetHeight(30);
    top->SetBevelOuter(bvNone);
    Label8 = Make<TLabel>(this, top);
    Label8->SetBounds(0, 6, 130, 20);
    Label8->SetCaption("            Тип канала:");
    gwneParamType = Make<TGwComboBox>(this, top);
    gwneParamType->SetBounds(134, 3, 120, 24);
    gwneParamType->SetText("1");
    gwsgParamList = Grid(this, Panel1, alClient, 2, {goRangeSelect, goRowSelect});

    gwneParamType->OnChange = [this](TObject* s) { gwneParamTypeChange(s); };
    gwneParamType->OnEnter = [this](TObject* s) { gwneParamTypeEnter(s); };
    gwsgParamList->OnResize = [this](TObject* s) { gwsgParamListResize(s); };
    gwsgParamList->OnSelectCell = [this](TObject* s, int c, int r, bool& can) {
        gwsgParamListSelectCell(s, c, r, can);
    };
    gwsgParamList->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) {
        gwsgParamListMouseMove(s, sh, x, y);
    };
    gwsgParamList->OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) {
        gwsgParamListKeyDown(s, k, sh);
    };
    gwsgParamList->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { gwsgParamListKeyUp(s, k, sh); };
    gwsgParamList->OnDblClick = [this](TObject* s) { gwsgParamListDblClick(s); };
    gwsgParamList->OnDrawCell = [this](TObject* s, int c, int r, TRect rc, TGridDrawState st) {
        gwsgParamListDrawCell(s, c, r, rc, st);
    };
    for (TGwStringGrid* g : {gwsgMainParamProperties, gwsgSpecParamProperties}) {
        g->OnSelectCell = [this](TObject* s, int c, int r, bool& can) {
            gwsgSpecParamPropertiesSelectCell(s, c, r, can);
        };
        g->OnExit = [this](TObject* s) { gwsgSpecParamPropertiesExit(s); };
        g->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            EditorGridMouseDown(s, b, sh, x, y);
        };
        g->OnResize = [this](TObject* s) { gwsgParamListResize(s); };
    }
    GwListBox1->OnClick = [this](TObject* s) { GwListBox1Click(s); };
    GwListBox1->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { GwListBox1KeyUp(s, k, sh); };
    GwListBox2->OnDblClick = [this](TObject* s) { GwListBox2DblClick(s); };
    GwButton1->OnClick = [this](TObject* s) { GwButton1Click(s); };
    // Laid out when its page is first shown, as the other property grids are.
    gwsgNewParamProperty->OnResize = [this](TObject* s) { gwsgParamListResize(s); };
}

void TMainForm::BuildExpressPage() {
    GwPageControl3 = Make<TGwPageControl>(this, tsChannelControlExpress, alLeft);
    GwPageControl3->SetWidth(312);
    GwTabSheet2 = Sheet(GwPageControl3, "Свойства");
    GwPageControl3->SetActivePage(GwTabSheet2);
    Header(this, GwTabSheet2, "Основные свойства канала");
    gwsgMainParamPropertiesExpress = Grid(this, GwTabSheet2, alTop, 8);
    gwsgMainParamPropertiesExpress->SetHeight(172);
    Header(this, GwTabSheet2, "Специальные свойства канала", false);
    gwsgSpecParamPropertiesExpress = Grid(this, GwTabSheet2, alClient, 1);
    Splitter5 = Splitter(this, tsChannelControlExpress, alLeft);
    gwctObjectList = Make<TGwCheckTree>(this, tsChannelControlExpress, alClient);
    gwctObjectList->CascadeChecks = false;
    gwctObjectList->RowSelect = true;
    gwctObjectList->HideSelection = false;
    gwctObjectList->SetIndent(19);
    gwctObjectList->SetSortType(stText);

    gwctObjectList->OnStateChanging = [this](TObject* s, TTreeNode* n, TGwCheckState st, bool& allow) {
        gwctObjectListStateChanging(s, n, st, allow);
    };
    gwctObjectList->OnStateChange = [this](TObject* s, TTreeNode* n, TGwCheckState st) {
        gwctObjectListStateChange(s, n, st);
    };
    gwctObjectList->OnClick = [this](TObject* s) { gwctObjectListClick(s); };
    gwctObjectList->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { gwctObjectListKeyUp(s, k, sh); };
    gwctObjectList->OnCustomDrawItem = [this](TCustomTreeView* s, TTreeNode* n, TCustomDrawState st,
                                              bool& def) { gwctObjectListCustomDrawItem(s, n, st, def); };
    for (TGwStringGrid* g : {gwsgMainParamPropertiesExpress, gwsgSpecParamPropertiesExpress}) {
        g->OnSelectCell = [this](TObject* s, int c, int r, bool& can) {
            gwsgParamPropertiesExpressSelectCell(s, c, r, can);
        };
        g->OnExit = [this](TObject* s) { gwsgParamPropertiesExpressExit(s); };
        g->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            EditorGridMouseDown(s, b, sh, x, y);
        };
        g->OnResize = [this](TObject* s) { gwsgParamListResize(s); };
    }
}

void TMainForm::BuildProgramPage() {
    // The subprogram tabs run down the left edge, last tab on top; the editor and its status bar sit
    // in the card beside them.
    tcProgramm = Make<TGwTabControl>(this, tsProgramm, alClient);
    tcProgramm->SetTabOrientation(toLeft);
    tcProgramm->SetTabSequence(tsReverse);
    tcProgramm->SetTabHeight(54);
    tcProgramm->SetTabHints(true);
    tcProgramm->SetColor(clWhite);
    tcProgramm->SetShowHint(true);
    tcProgramm->OnChange = [this](TObject* s) { tcProgrammChange(s); };

    GwStatusBar1 = Make<TGwStatusBar>(this, tcProgramm, alBottom);
    GwStatusBar1->SetHeight(26);
    GwStatusBar1->SetSimpleStatus(true);
    GwStatusBar1->SetShowSizeGrip(false);
    CheckBox2 = Make<TCheckBox>(this, GwStatusBar1);
    CheckBox2->SetBounds(0, 3, 100, 20);
    CheckBox2->SetCaption("Автозапуск");
    CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
    TBitmap glyph;
    SpeedButton3 = Make<TSpeedButton>(this, GwStatusBar1);
    SpeedButton3->SetBounds(0, 2, 23, 22);
    DrawGlyphPicture(gpRevert, &glyph);
    SpeedButton3->SetGlyph(&glyph);
    SpeedButton3->SetHint("Восстановить исходный текст");
    SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };
    SpeedButton2 = Make<TSpeedButton>(this, GwStatusBar1);
    SpeedButton2->SetBounds(0, 2, 23, 22);
    SpeedButton2->SetEnabled(false);
    DrawGlyphPicture(gpSpare, &glyph);
    SpeedButton2->SetGlyph(&glyph);
    SpeedButton1 = Make<TSpeedButton>(this, GwStatusBar1);
    SpeedButton1->SetBounds(0, 2, 23, 22);
    DrawGlyphPicture(gpApply, &glyph);
    SpeedButton1->SetGlyph(&glyph);
    SpeedButton1->SetHint("Сохранить изменения");
    SpeedButton1->SetEnabled(false);
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    GwStatusBar1->OnResize = [this](TObject* s) { GwStatusBar1Resize(s); };

    sgActions = Make<TGwStringGrid>(this, tsProgramm);
    sgActions->SetColCount(7);
    sgActions->SetRowCount(3);
    sgActions->SetFixedRows(2);
    sgActions->SetVisible(false);

    MPSyntaxMemo1 = Make<TMPSyntaxMemo>(this, tcProgramm, alClient);
    MPSyntaxMemo1->Font()->SetName("Courier New");
    MPSyntaxMemo1->Font()->SetHeight(-16);
    MPSyntaxMemo1->SetShowRowNumbers(true);
    MPSyntaxMemo1->SetSectionIndent(16);
    MPSyntaxMemo1->SetSelColor(TColor(16239525));
    MPSyntaxMemo1->AutoRowLink = true;
    MPSyntaxMemo1->SetOnParseWord([this](TObject*, const std::string& w, int, int, TToken& t) {
        uint16_t k = t;
        MPSyntaxMemo1ParseWord(w, k);
        t = static_cast<TToken>(k);
    });
    MPSyntaxMemo1->OnChange = [this](TObject* s, TChangedItems items) {
        MPSyntaxMemo1Change(s, (items.Contains(ciText) ? 1u : 0u) | (items.Contains(ciUndo) ? 8u : 0u));
    };
}

void TMainForm::BuildLoadPage() {
    // The link controls keep a strip of their own at the top; the log takes what is left below, so
    // a shorter page (the message window docked under it) shrinks the log, never covers the controls.
    auto* strip = Make<TPanel>(this, TabSheet1, alTop);
    strip->SetHeight(212);
    strip->SetBevelOuter(bvNone);
    GroupBox1 = Make<TGroupBox>(this, strip);
    GroupBox1->SetBounds(8, 8, 420, 200);
    GroupBox1->SetCaption("Способ подключения");
    RadioButton1 = Make<TRadioButton>(this, GroupBox1);
    RadioButton1->SetBounds(12, 22, 180, 22);
    RadioButton1->SetCaption("СОМ-порт");
    RadioButton1->SetChecked(true);
    RadioButton2 = Make<TRadioButton>(this, GroupBox1);
    RadioButton2->SetBounds(210, 22, 200, 22);
    RadioButton2->SetCaption("TCP/IP соединение");
    Label1 = Make<TLabel>(this, GroupBox1);
    Label1->SetBounds(12, 52, 90, 20);
    Label1->SetCaption("СОМ-порт");
    ComboBox1 = Make<TComboBox>(this, GroupBox1);
    ComboBox1->SetBounds(12, 72, 180, 24);
    ComboBox1->SetStyle(csDropDownList);
    Label4 = Make<TLabel>(this, GroupBox1);
    Label4->SetBounds(12, 102, 90, 20);
    Label4->SetCaption("скорость");
    Edit3 = Make<TEdit>(this, GroupBox1);
    Edit3->SetBounds(12, 122, 180, 24);
    Edit3->SetText("4800");
    Label2 = Make<TLabel>(this, GroupBox1);
    Label2->SetBounds(210, 52, 120, 20);
    Label2->SetCaption("TCP/IP адрес");
    Edit1 = Make<TEdit>(this, GroupBox1);
    Edit1->SetBounds(210, 72, 190, 24);
    Edit1->SetText("192.168.0.10");
    Label3 = Make<TLabel>(this, GroupBox1);
    Label3->SetBounds(210, 102, 90, 20);
    Label3->SetCaption("порт");
    Edit2 = Make<TEdit>(this, GroupBox1);
    Edit2->SetBounds(210, 122, 190, 24);
    Edit2->SetText("10000");
    Button1 = Make<TButton>(this, GroupBox1);
    Button1->SetBounds(12, 160, 120, 28);
    Button1->SetCaption("Открыть");
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    CheckBox1 = Make<TCheckBox>(this, strip);
    CheckBox1->SetBounds(440, 16, 260, 22);
    CheckBox1->SetCaption("Использовать QBX-адрес");
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    Edit4 = Make<TEdit>(this, strip);
    Edit4->SetBounds(440, 42, 260, 24);
    Edit4->SetText("0 0 0 3 0 0 1 2 3 4 5 6");
    Button2 = Make<TButton>(this, strip);
    Button2->SetBounds(440, 76, 160, 28);
    Button2->SetCaption("Найти контроллер");
    Button3 = Make<TButton>(this, strip);
    Button3->SetBounds(440, 110, 160, 28);
    Button3->SetCaption("Читать базу");
    Button4 = Make<TButton>(this, strip);
    Button4->SetBounds(440, 144, 160, 28);
    Button4->SetCaption("Записать базу");
    Edit5 = Make<TEdit>(this, strip);
    Edit5->SetBounds(440, 178, 260, 24);

    GwRichEdit1 = Make<TGwRichEdit>(this, TabSheet1, alClient);
    GwRichEdit1->SetReadOnly(true);
    GwRichEdit1->SetColor(clInfoBk);
}
