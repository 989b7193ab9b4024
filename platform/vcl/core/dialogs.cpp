// Message boxes and file dialogs through the dialog service; the default service shows Qt dialogs.
// GUI core (platform/vcl).
#include "dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

#include "cp1251.h"
#include "forms.h"
#include "graphics_qt.h"
#include "handle.h"

namespace {

QString ToQt(const std::string& s) { return QString::fromStdString(Cp1251ToUtf8(s)); }

QWidget* ActiveWindowWidget() {
    TCustomForm* f = Screen ? Screen->ActiveForm() : nullptr;
    return f && f->HandleAllocated() ? HandleWidget(f) : nullptr;
}

QMessageBox::Icon IconOf(UINT flags) {
    switch (flags & 0xF0) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The message box's buttons, captioned as a Russian desktop captions them.
struct TBoxButton {
    int Id;
    QMessageBox::StandardButton Qt;
    const char* Caption;
};
const TBoxButton kBoxButtons[] = {
    {IDOK, QMessageBox::Ok, "ОК"},
    {IDCANCEL, QMessageBox::Cancel, "Отмена"},
    {IDABORT, QMessageBox::Abort, "Прервать"},
    {IDRETRY, QMessageBox::Retry, "Повторить"},
    {IDIGNORE, QMessageBox::Ignore, "Пропустить"},
    {IDYES, QMessageBox::Yes, "Да"},
    {IDNO, QMessageBox::No, "Нет"},
};

// Buttons of each MB_ type, in order.
std::vector<TBoxButton> ButtonsOf(UINT flags) {
    std::vector<int> ids;
    switch (flags & 0x0F) {
    case MB_OKCANCEL: ids = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: ids = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: ids = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: ids = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: ids = {IDRETRY, IDCANCEL}; break;
    default: ids = {IDOK}; break;
    }
    std::vector<TBoxButton> buttons;
    for (int id : ids)
        for (const TBoxButton& b : kBoxButtons)
            if (b.Id == id)
                buttons.push_back(b);
    return buttons;
}

const struct {
    TMsgDlgBtn Btn;
    QMessageBox::StandardButton Qt;
    int Result;
} kDlgButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbAll, QMessageBox::YesToAll, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

// The message dialogs' titles by type, as a Russian desktop gives them. A box of the program's own
// without a type (ShowMessage, mtCustom) is titled as an information box: the program's file name
// is no title for a user to read; the exception display alone keeps the application's title.
const char* const kDlgCaptions[] = {"Предупреждение", "Ошибка", "Информация", "Подтверждение", "Информация"};

// The file dialog's model speaks the system locale (LANG) and leaves "Folder" untranslated; the
// desktop is Russian whatever LANG says, so the type comes from Qt's Russian file dialog, sizes and
// dates from the default (Russian) locale, sizes counted in 1024s as a Russian desktop shows them.
class TRussianDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& Index, int Role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (Role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(Index, Role);
        const QModelIndex file = mapToSource(Index);
        switch (Index.column()) {
        case kSizeColumn:
            if (!files->isDir(file))
                return SizeText(files->size(file));
            break;
        case kTypeColumn:
            if (files->isDir(file))
                return QFileDialog::tr("Folder");
            break;
        case kDateColumn: return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(Index, Role);
    }

private:
    static constexpr int kSizeColumn = 1, kTypeColumn = 2, kDateColumn = 3;

    // Bytes counted with the noun in its Russian plural (Qt's translation has one form, "байты");
    // the larger units are abbreviations, which take none.
    static QString SizeText(qint64 Size) {
        if (Size >= 1024)
            return QLocale().formattedDataSize(Size, 2, QLocale::DataSizeTraditionalFormat);
        const qint64 last = Size % 10, lastTwo = Size % 100;
        const char* noun = last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? "байта" : "байт";
        return QLocale().toString(Size) + QLatin1Char(' ') + ToQt(noun);
    }
};

// Russian texts are longer than the columns Qt sizes for English: the detail columns fit their
// contents whenever a folder is shown, and the name column takes what they leave of the view, so
// that every column shows at the dialog's size (a long name is cut, not the date pushed away).
// A folder is shown when it is read, and also when the user goes into one read before (the model
// reads each folder once, the program's own while the dialog is made): fitting only on a read left
// such a folder in the columns of the one shown before it ("Н…о" for "Неизвестно").
void SpeakRussian(QFileDialog& Dlg) {
    auto* details = new TRussianDetails(&Dlg);
    Dlg.setProxyModel(details);
    auto* files = qobject_cast<QFileSystemModel*>(details->sourceModel());
    auto* view = Dlg.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!files || !view)
        return;
    // After the view has taken the folder as its root.
    auto* fit = new QTimer(view);
    fit->setSingleShot(true);
    fit->setInterval(0);
    QObject::connect(fit, &QTimer::timeout, view, [view] {
        QHeaderView* header = view->header();
        int detailWidth = 0;
        for (int c = 1; c < header->count(); ++c) {
            view->resizeColumnToContents(c);
            detailWidth += view->columnWidth(c);
        }
        const int room = view->viewport()->width() - detailWidth;
        if (view->columnWidth(0) > room)
            view->setColumnWidth(0, std::max(room, header->minimumSectionSize()));
    });
    auto later = [fit] { fit->start(); };
    QObject::connect(files, &QFileSystemModel::directoryLoaded, fit, later);
    QObject::connect(files, &QFileSystemModel::rootPathChanged, fit, later);
}

class TQtDialogService : public TDialogService {
public:
    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) override {
        TApplication::QtApp();
        QMessageBox box(IconOf(Flags), ToQt(Caption), ToQt(Text), QMessageBox::NoButton,
                        ActiveWindowWidget());
        auto buttons = ButtonsOf(Flags);
        for (auto& b : buttons)
            box.addButton(b.Qt)->setText(ToQt(b.Caption));
        size_t def = (Flags & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
        box.setDefaultButton(buttons[def].Qt);
        auto chosen = QMessageBox::StandardButton(box.exec());
        for (auto& b : buttons)
            if (b.Qt == chosen)
                return b.Id;
        // Closed without a button: Cancel when there is one, else the only button (as Windows).
        for (auto& b : buttons)
            if (b.Id == IDCANCEL)
                return IDCANCEL;
        return buttons.size() == 1 ? buttons[0].Id : IDCANCEL;
    }

    int MessageDlg(const std::string& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons) override {
        TApplication::QtApp();
        static const QMessageBox::Icon kIcons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                   QMessageBox::Information, QMessageBox::Question,
                                                   QMessageBox::NoIcon};
        QMessageBox box(kIcons[Type], ToQt(kDlgCaptions[Type]), ToQt(Msg), QMessageBox::NoButton,
                        ActiveWindowWidget());
        for (const auto& b : kDlgButtons)
            if (Buttons.Contains(b.Btn))
                box.addButton(b.Qt);
        auto chosen = QMessageBox::StandardButton(box.exec());
        for (const auto& b : kDlgButtons)
            if (Buttons.Contains(b.Btn) && b.Qt == chosen)
                return b.Result;
        return mrCancel;
    }

    bool ColorDialog(TColorDialogRequest& Request) override {
        TApplication::QtApp();
        for (int i = 0; i < 16 && i < int(Request.CustomColors.size()); ++i)
            QColorDialog::setCustomColor(i, Request.CustomColors[size_t(i)] == clNone
                                                ? QColor(Qt::white)
                                                : ToQColor(Request.CustomColors[size_t(i)]));
        QColorDialog dlg(ToQColor(Request.Color), ActiveWindowWidget());
        if (dlg.exec() != QDialog::Accepted)
            return false;
        QColor c = dlg.selectedColor();
        Request.Color = TColor(RGB(c.red(), c.green(), c.blue()));
        for (int i = 0; i < 16 && i < int(Request.CustomColors.size()); ++i) {
            QColor k = QColorDialog::customColor(i);
            Request.CustomColors[size_t(i)] = TColor(RGB(k.red(), k.green(), k.blue()));
        }
        return true;
    }

    bool FileDialog(TFileDialogRequest& Request, std::vector<std::string>& Files) override {
        TApplication::QtApp();
        QFileDialog dlg(ActiveWindowWidget(), ToQt(Request.Title), ToQt(Request.InitialDir));
        SpeakRussian(dlg);
        QStringList filters;
        for (const std::string& f : FilterToQtFilters(Request.Filter))
            filters << ToQt(f);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            int i = Request.FilterIndex - 1;
            if (i >= 0 && i < filters.size())
                dlg.selectNameFilter(filters[i]);
        }
        if (Request.Save) {
            dlg.setAcceptMode(QFileDialog::AcceptSave);
            dlg.setFileMode(QFileDialog::AnyFile);
            if (!Request.Options.Contains(ofOverwritePrompt))
                dlg.setOption(QFileDialog::DontConfirmOverwrite);
        } else {
            dlg.setAcceptMode(QFileDialog::AcceptOpen);
            dlg.setFileMode(Request.Options.Contains(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                            : Request.Options.Contains(ofFileMustExist)  ? QFileDialog::ExistingFile
                                                                         : QFileDialog::AnyFile);
        }
        if (!Request.DefaultExt.empty())
            dlg.setDefaultSuffix(ToQt(Request.DefaultExt));
        if (!Request.FileName.empty())
            dlg.selectFile(ToQt(Request.FileName));
        if (dlg.exec() != QDialog::Accepted)
            return false;
        // A name Windows-1251 cannot hold would open or create another file: refuse it by name.
        for (const QString& f : dlg.selectedFiles()) {
            std::string name;
            if (!TryFromNativePath(f.toStdString(), name)) {
                Files.clear();
                MessageBox(UnrepresentableNameMessage(f.toStdString()), "Ошибка", MB_OK | MB_ICONERROR);
                return false;
            }
            Files.push_back(name);
        }
        int idx = int(filters.indexOf(dlg.selectedNameFilter()));
        if (idx >= 0)
            Request.FilterIndex = idx + 1;
        return !Files.empty();
    }
};

TQtDialogService gQtService;
TDialogService* gService = nullptr;

} // namespace

TDialogService* SetDialogService(TDialogService* s) {
    TDialogService* old = DialogService();
    gService = s;
    return old;
}

TDialogService* DialogService() { return gService ? gService : &gQtService; }

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
    return DialogService()->MessageDlg(Msg, DlgType, Buttons);
}

void ShowMessage(const std::string& Msg) { DialogService()->MessageBox(Msg, kDlgCaptions[mtCustom], MB_OK); }

int MessageBox(HWND, const char* Text, const char* Caption, UINT Type) {
    return DialogService()->MessageBox(Text ? Text : "", Caption ? Caption : "Ошибка", Type);
}

std::vector<std::string> FilterToQtFilters(const std::string& Filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = Filter.find('|', start);
        parts.push_back(Filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::vector<std::string> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        out.push_back(parts[i] + " (" + patterns + ")");
    }
    return out;
}

std::string ApplyDefaultExt(const std::string& FileName, const std::string& DefaultExt) {
    if (DefaultExt.empty() || FileName.empty() || !ExtractFileExt(FileName).empty())
        return FileName;
    std::string ext = DefaultExt[0] == '.' ? DefaultExt.substr(1) : DefaultExt;
    return FileName + "." + ext;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::DoExecute(bool Save) {
    TFileDialogRequest r;
    r.Save = Save;
    r.Title = FTitle;
    r.Filter = FFilter;
    r.FilterIndex = FFilterIndex;
    r.FileName = FFileName;
    r.InitialDir = FInitialDir;
    r.DefaultExt = FDefaultExt;
    r.Options = FOptions;
    std::vector<std::string> files;
    if (!DialogService()->FileDialog(r, files) || files.empty())
        return false;
    FFiles->Clear();
    for (std::string& f : files) {
        f = ApplyDefaultExt(f, FDefaultExt);
        FFiles->Add(f);
    }
    FFileName = files.front();
    FFilterIndex = r.FilterIndex;
    return true;
}

bool TOpenDialog::Execute() { return DoExecute(false); }

bool TSaveDialog::Execute() { return DoExecute(true); }

// ---- TColorDialog --------------------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* AOwner)
    : TComponent(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
    TColorDialogRequest r;
    r.Color = FColor;
    r.Options = FOptions;
    for (int i = 0; i < 16; ++i) {
        std::string v = FCustomColors->Values(std::string("Color") + char('A' + i));
        int n = 0;
        if (!v.empty() && TryStrToInt("$" + v, n))
            r.CustomColors[size_t(i)] = TColor(n);
    }
    if (!DialogService()->ColorDialog(r))
        return false;
    FColor = r.Color;
    FCustomColors->Clear();
    for (int i = 0; i < 16; ++i)
        if (r.CustomColors[size_t(i)] != clNone)
            FCustomColors->Add(std::string("Color") + char('A' + i) + "=" +
                               IntToHex(r.CustomColors[size_t(i)], 6));
    return true;
}
