// The channel binding table: rows and groups of the two passes, the document's markup, the written
// package, and the command's messages and busy flag.
#include <gtest/gtest.h>
#include <zip.h>

#include <ostream>

#include "Configmanager.h"
#include "Objectstore.h"
#include "Wordexport.h"
#include "cp1251.h"
#include "dialogs.h"
#include "docx.h"

namespace {

// An object that describes its channels by name, as device objects do.
class Describer : public TObjectItem {
public:
    Describer() : TObjectItem(1) {}
    std::string GetParamDescription(TParamItem* p) override { return "прибор " + p->Name; }
};

struct Ch {
    uint16_t type;
    uint8_t index;
    uint8_t paramType;
    const char* name;
};

// Expected rows as "cell1|cell2|cell3|cell5", group rows as "= name".
struct TableCase {
    const char* name;
    std::vector<Ch> channels;
    std::vector<std::string> rows;
};
void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

std::string RowText(const TChannelTableRow& r) {
    if (r.Group)
        return "= " + r.Cells[0];
    return r.Cells[0] + "|" + r.Cells[1] + "|" + r.Cells[2] + "|" + r.Cells[4];
}

void Fill(configmanager& config, const std::vector<Ch>& channels, TObjectItem* owner = nullptr) {
    for (const Ch& c : channels) {
        TParamItem* p = config.NewChannel(c.type, c.index);
        p->ParamType = c.paramType;
        p->Name = c.name;
        p->Owner = owner;
    }
}

class ChannelTable : public testing::TestWithParam<TableCase> {};

TEST_P(ChannelTable, RowsAndGroups) {
    configmanager config;
    Fill(config, GetParam().channels);
    std::vector<std::string> rows;
    for (const TChannelTableRow& r : CollectChannelTable(config))
        rows.push_back(RowText(r));
    EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    WordExport, ChannelTable,
    testing::Values(TableCase{"NoChannels", {{5, 1, 3, "other type"}}, {}},
                    TableCase{"StateSignalsFoldIntoSignals",
                              {{1, 3, 4, "pwr"}, {1, 1, 3, "sig"}, {1, 2, 5, "bat"}},
                              {"= Телесигнализация", "1:1|ТС1||", "1:2|ТС2|bat|", "1:3|ТС3|pwr|"}},
                    TableCase{"FirstChannelOfTypeZeroHasNoGroupRow",
                              {{1, 1, 0, "u"}, {1, 2, 0, "v"}},
                              {"1:1|???1||", "1:2|???2||"}},
                    TableCase{"SecondPassGoesOnInTheSameGroup",
                              {{2, 1, 9, "b"}, {1, 4, 9, "a"}},
                              {"= Напряжение", "1:4|U1||", "2:1|U2||"}},
                    TableCase{
                        "SecondPassDoesNotFold",
                        {{2, 1, 3, "s"}, {2, 2, 4, "p"}, {2, 3, 4, "q"}},
                        {"= Телесигнализация", "2:1|ТС1||", "= Состояние питания", "2:2|ТС1||", "2:3|ТС2||"}},
                    TableCase{"EqualIndexesKeepConfigurationOrder",
                              {{1, 5, 3, "first"}, {1, 5, 3, "second"}, {1, 2, 3, "low"}},
                              {"= Телесигнализация", "1:2|ТС1||", "1:5|ТС2||", "1:5|ТС3||"}},
                    TableCase{"UnboundChannelsAreLeftOut", {{1, 0, 3, "unbound"}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WordExport, NamesInTheFirstPassOnlyAndNotForOrdinarySignals) {
    configmanager config;
    // Column 3 holds the name for device state signals only; column 5 the owner's description.
    Describer owner;
    Fill(config, {{1, 1, 4, "pwr"}, {1, 2, 3, "sig"}, {2, 1, 4, "p2"}}, &owner);
    std::vector<TChannelTableRow> rows = CollectChannelTable(config);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(RowText(rows[1]), "1:1|ТС1|pwr|прибор pwr");
    EXPECT_EQ(RowText(rows[2]), "1:2|ТС2||прибор sig");
    EXPECT_EQ(RowText(rows[4]), "2:1|ТС1||прибор p2");
    for (ELEM* e = config.Channels.Oldest; e; e = e->Newer)
        static_cast<TParamItem*>(e)->Owner = nullptr;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(WordExport, DocumentHoldsTheTextsHeadingAndRows) {
    configmanager config;
    Fill(config, {{1, 1, 3, "a"}, {1, 2, 4, "b"}, {2, 1, 9, "c"}});
    TWordDocument doc;
    BuildChannelTableDocument(CollectChannelTable(config), doc);
    const std::string xml = doc.DocumentXml();
    auto has = [&](const char* cp1251) { return xml.find(Cp1251ToUtf8(cp1251)) != std::string::npos; };
    for (const char* text :
         {"Приложение - Таблица привязки концентратора QBX-510",
          "Таблица 1 - Информационные каналы на объекте и их распределение в регистрах концентратора",
          "Регистр концентратора", "Информационный канал", "Назначение",
          "Принадлежность прибору, подключение", "№провода", "Прибор", "Примечание", "Телесигнализация",
          "Напряжение", "ТС2", "U1", "1:2", "2:1"})
        EXPECT_TRUE(has(text)) << Cp1251ToUtf8(text);
    EXPECT_EQ(Count(xml, "<w:tr>"), 2u + 5u) << "two heading rows, two groups, three channels";
    EXPECT_EQ(Count(xml, "<w:gridSpan w:val=\"6\"/>"), 2u) << "each group row spans the table";
    EXPECT_EQ(Count(xml, "<w:gridSpan w:val=\"2\"/>"), 1u) << "the device heading spans two columns";
    EXPECT_EQ(Count(xml, "<w:vMerge w:val=\"restart\"/>"), 4u);
    EXPECT_EQ(Count(xml, "btLr"), 3u + 2u) << "three turned headings, two of them over two rows";
    EXPECT_EQ(Count(xml, "w:trHeight w:val=\"1400\""), 1u) << "70 points";
    EXPECT_NE(xml.find("w:val=\"single\""), std::string::npos);
}

TEST(WordExport, CommandWritesAZipOpensItAndReportsOnce) {
    configmanager config;
    Fill(config, {{1, 1, 3, "a"}});
    const std::string path = testing::TempDir() + "table.docx";
    std::vector<std::string> log;
    TWordExport exporter;
    bool busyWhileWriting = false;
    TWordExportHost host;
    host.CheckConfiguration = [&] { log.push_back("check"); };
    host.AddMessage = [&](const std::string& text, int kind) { log.push_back(IntToStr(kind) + " " + text); };
    host.ShowMessages = [] {};
    host.PickFileName = [&](const std::string& offered, std::string& out) {
        log.push_back("offer " + offered);
        out = path;
        return true;
    };
    host.SetBusy = [&](bool busy) {
        busyWhileWriting |= busy && exporter.Busy();
        EXPECT_FALSE(busy && exporter.Run(config, "", host)) << "a second export is refused while one runs";
    };
    host.OpenDocument = [&](const std::string& opened) {
        log.push_back("open " + opened);
        return true;
    };
    ASSERT_TRUE(exporter.Run(config, "/cfg/station.qdb", host));
    EXPECT_TRUE(busyWhileWriting);
    EXPECT_FALSE(exporter.Busy());
    EXPECT_EQ(log, (std::vector<std::string>{"check", "offer /cfg/station.docx",
                                             std::string("3 ") + kWordExportStarted,
                                             std::string("3 ") + kWordExportDone, "open " + path}));
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    ASSERT_NE(z, nullptr) << err;
    EXPECT_GE(zip_name_locate(z, "word/document.xml", 0), 0);
    EXPECT_GE(zip_name_locate(z, "[Content_Types].xml", 0), 0);
    zip_close(z);
}

TEST(WordExport, AFailedWriteOrACancelledDialogWritesNothing) {
    configmanager config;
    std::vector<std::string> log;
    TWordExportHost host;
    host.AddMessage = [&](const std::string& text, int kind) { log.push_back(IntToStr(kind) + " " + text); };
    host.ShowMessages = [] {};
    host.OpenDocument = [&](const std::string&) {
        log.push_back("opened");
        return true;
    };
    host.PickFileName = [](const std::string&, std::string&) { return false; };
    TWordExport exporter;
    EXPECT_FALSE(exporter.Run(config, "a.qdb", host));
    EXPECT_TRUE(log.empty());
    host.PickFileName = [](const std::string&, std::string& out) {
        out = testing::TempDir() + "no/such/folder/t.docx";
        return true;
    };
    EXPECT_FALSE(exporter.Run(config, "a.qdb", host));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "2 Не удалось записать файл " + testing::TempDir() +
                                       "no/such/folder/t.docx: Не удается найти указанный файл");
    EXPECT_EQ(log.back(), std::string("2 ") + kWordExportFailed);
    EXPECT_FALSE(exporter.Busy());
}

// Answers the save dialog and records what it offered.
struct SaveAnswer : TDialogService {
    std::string offered, answer;
    bool save = false;
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return mrOk; }
    bool FileDialog(TFileDialogRequest& r, std::vector<std::string>& files) override {
        offered = r.FileName;
        save = r.Save;
        files = {answer};
        return true;
    }
};

TEST(WordExport, PlatformSaveDialogOffersTheConfigurationsName) {
    SaveAnswer dialogs;
    dialogs.answer = testing::TempDir() + "picked.docx";
    TDialogService* old = SetDialogService(&dialogs);
    std::string path;
    EXPECT_TRUE(PickDocumentFile(DefaultDocumentName("/data/plant.qdb"), path));
    SetDialogService(old);
    EXPECT_EQ(dialogs.offered, "/data/plant.docx");
    EXPECT_TRUE(dialogs.save);
    EXPECT_EQ(path, dialogs.answer);
}

} // namespace
