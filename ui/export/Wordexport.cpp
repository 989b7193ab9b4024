// The channel binding table as a .docx document.
#include "Wordexport.h"

#include <cerrno>

#include "Configmanager.h"
#include "Objectstore.h"
#include "Paramtypes.h"
#include "desktop.h"
#include "dialogs.h"
#include "docx.h"
#include "elem.h"
#include "sysutils.h"

const char* const kWordExportStarted =
    "Идет сохранение в документ Microsoft WORD. Подождите, это может занять несколько минут.";
const char* const kWordExportDone = "Конфигурация сохранена в документ Microsoft WORD!";
const char* const kWordExportFailed = "Ошибка при сохранении документа Microsoft WORD!";
const char* const kWordExportNotOpened = "Не удается открыть документ в текстовом редакторе!";

namespace {

constexpr int kHeadingRows = 2;
constexpr int kSignalGroup = 3; // "Телесигнализация", which folds in the device state signals

bool IsStateSignal(int paramType) { return paramType >= 4 && paramType <= 7; }

std::string TypeName(const char* const* names, int code) {
    return code >= 0 && code < kParamTypeCount ? names[code] : "";
}

// One pass over the channels of a channel type; group and number run on across passes.
struct TablePass {
    std::vector<TChannelTableRow>& rows;
    int group = 0;
    int number = 1;

    void Add(configmanager& config, uint16_t channelType, bool first) {
        ELEMList list;
        config.GetChannelsOfType(&list, channelType);
        for (ELEM* e = list.Newest; e; e = e->Older) {
            TParamItem* p = static_cast<TParamItemP*>(e)->Item;
            const int type = p->ParamType;
            const bool folded = first && IsStateSignal(type);
            if (type != group && !(folded && group == kSignalGroup)) {
                group = folded ? kSignalGroup : type;
                number = 1;
                TChannelTableRow g;
                g.Group = true;
                g.Cells[0] = TypeName(ParamTypeNames, group);
                rows.push_back(g);
            }
            TChannelTableRow r;
            r.Cells[0] = IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex);
            r.Cells[1] = TypeName(ParamTypeShortNames, group) + IntToStr(number);
            if (folded)
                r.Cells[2] = p->Name;
            r.Cells[4] = GetChannelDescription(p);
            rows.push_back(r);
            ++number;
        }
        while (ELEM* e = list.Newest) {
            list.Remove(e);
            delete e;
        }
    }
};

} // namespace

std::vector<TChannelTableRow> CollectChannelTable(configmanager& config) {
    std::vector<TChannelTableRow> rows;
    TablePass pass{rows};
    pass.Add(config, 1, true);
    pass.Add(config, 2, false);
    return rows;
}

void BuildChannelTableDocument(const std::vector<TChannelTableRow>& rows, TWordDocument& doc) {
    doc.AddParagraph("Приложение - Таблица привязки концентратора QBX-510");
    doc.AddParagraph(
        "Таблица 1 - Информационные каналы на объекте и их распределение в регистрах концентратора");
    TWordTable& t = doc.AddTable(kHeadingRows, kChannelTableColumns);
    struct Heading {
        int row, col;
        const char* text;
        double width;
        bool mergeDown;
    };
    static const Heading kHeadings[] = {
        {1, 1, "Регистр концентратора", 46, true},
        {1, 2, "Информационный канал", 46, true},
        {1, 3, "Назначение", 160, true},
        {1, 4, "Принадлежность прибору, подключение", 0, false},
        {2, 4, "№провода", 28, false},
        {2, 5, "Прибор", 132, false},
        {1, 6, "Примечание", 100, true},
    };
    for (const Heading& h : kHeadings) {
        t.InsertAfter(h.row, h.col, h.text);
        if (h.width > 0)
            t.SetColumnWidth(h.col, h.width);
        if (h.mergeDown)
            t.Merge(1, h.col, 2, h.col);
    }
    t.Merge(1, 4, 1, 5);
    for (const TChannelTableRow& r : rows) {
        const int row = t.AddRow();
        for (int c = 0; c < kChannelTableColumns; ++c)
            if (!r.Cells[c].empty())
                t.InsertAfter(row, c + 1, r.Cells[c]);
        if (r.Group)
            t.Merge(row, 1, row, kChannelTableColumns);
    }
    t.SetBorders(wdLineStyleSingle, wdLineStyleSingle);
    t.SetTextOrientation(1, 1, wdTextOrientationUpward);
    t.SetTextOrientation(1, 2, wdTextOrientationUpward);
    t.SetTextOrientation(2, 4, wdTextOrientationUpward);
    t.SetRowHeight(2, 70);
}

std::string DefaultDocumentName(const std::string& configPath) { return ChangeFileExt(configPath, ".docx"); }

bool PickDocumentFile(const std::string& defaultName, std::string& path) {
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("Документ Word (*.docx)|*.docx");
    dialog.SetDefaultExt("docx");
    dialog.SetFileName(defaultName);
    if (!dialog.Execute())
        return false;
    path = dialog.FileName();
    return true;
}

bool TWordExport::Run(configmanager& config, const std::string& configPath, const TWordExportHost& host) {
    if (busy_)
        return false;
    if (host.CheckConfiguration)
        host.CheckConfiguration();
    std::string path;
    const auto pick = host.PickFileName ? host.PickFileName : PickDocumentFile;
    if (!pick(DefaultDocumentName(configPath), path))
        return false;
    host.AddMessage(kWordExportStarted, 3);
    host.ShowMessages();
    busy_ = 1;
    if (host.SetBusy)
        host.SetBusy(true);
    TReplaceResult written{EINVAL};
    try {
        TWordDocument doc;
        BuildChannelTableDocument(CollectChannelTable(config), doc);
        written = doc.SaveToFile(path);
    } catch (const std::exception&) {
        // a table the writer refused: reported below like a failed write
    }
    if (host.SetBusy)
        host.SetBusy(false);
    busy_ = 0;
    if (!written) {
        host.AddMessage(WriteFailureText(path, written.Error), 2);
        host.AddMessage(kWordExportFailed, 2);
        host.ShowMessages();
        return false;
    }
    host.AddMessage(kWordExportDone, 3);
    host.ShowMessages();
    const bool opened = host.OpenDocument ? host.OpenDocument(path) : ShellOpen(path);
    if (!opened) {
        host.AddMessage(kWordExportNotOpened, 1);
        host.ShowMessages();
    }
    return true;
}
