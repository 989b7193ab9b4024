// The .ini for the supervisory product: sections, keys and values in the order written.
#include <gtest/gtest.h>

#include "Configmanager.h"
#include "actions.h"
#include "inifiles.h"
#include "model_fixture.h"
#include "sysutils.h"

namespace {

std::string FileText(const std::string& file) {
    std::vector<uint8_t> b = ReadBytes(file);
    return std::string(b.begin(), b.end());
}

std::string Section(const std::string& file, const std::string& name) {
    TMemIniFile ini(file);
    TStringList values;
    ini.ReadSectionValues(name, &values);
    std::string s;
    for (int i = 0; i < values.Count(); ++i)
        s += values.Strings(i) + ";";
    return s;
}

struct Export : ::testing::Test {
    TempDir dir;
    std::string file = dir.File("scada.ini");
    void SetUp() override {
        CaptureMessages();
        SetPluginFolder(dir.File("plugin/"));
    }
    void TearDown() override {
        SetPluginFolder("");
        SetMessageBoxHandler(nullptr);
    }
};

TEST_F(Export, NewConfiguration) {
    // What an earlier export of a larger configuration left in the file does not survive.
    WriteBytes(file, {'[', 'o', 'l', 'd', ']', '\r', '\n', 'k',  '=', '1', '\r', '\n', '[', 'c',
                      'o', 'n', 'f', 'i', 'g', ']',  '\r', '\n', 'x', '=', '2',  '\r', '\n'});
    configmanager c;
    ASSERT_TRUE(c.ExportScadaConfig(file)) << c.LastError;
    EXPECT_EQ(FileText(file), "[config]\r\nversion=2.12.09.05\r\nobjects=0\r\ndiscret_channels=0\r\n"
                              "analog_channels=0\r\nanalog_multi_channels=0\r\n");
}

// An object with two set-points per analog channel, exporting two lines of its own.
struct Meter : TObjectItem {
    explicit Meter(uint16_t number) : TObjectItem(number) {
        DisplayType = "QBX-510";
        Tag = "QBX510";
    }
    std::string GetDisplayName() override { return " ID-" + IntToStr(Number) + " "; }
    int GetSetpointCount(TParamItem*) override { return 2; }
    void GetSetpointValueText(TParamItem*, int n, std::string& out) override { out = "sp" + IntToStr(n); }
    void GetExportValues(TStrings* s) override {
        s->Clear();
        s->Add("speed,9600");
        s->Add("\"a b\",\"c,d\"");
        s->Add("one,two,three");
    }
};

TEST_F(Export, ObjectsJournalAndChannels) {
    configmanager c;
    TObjectItem* log = c.AddObject(2);
    ASSERT_TRUE(log);
    c.AddObject(1);
    RegisterDeviceClass("QBX510",
                        [](uint16_t n, ELEMList*, actionManager*) -> TObjectItem* { return new Meter(n); });
    TObjectItem* meter = c.AddObject(3);
    UnregisterDeviceClass("QBX510");
    ASSERT_TRUE(meter);
    TParamItem* d2 = c.NewChannel(1, 2);
    d2->ParamType = 3;
    d2->SetBitWidth(1);
    c.NewChannel(1, 1)->SetBitWidth(2);
    TParamItem* a = c.NewChannel(2, 1);
    a->Owner = meter;
    a->ParamType = 13;
    a->SetBitWidth(16);
    a->WriteHandler = 4;
    TParamItem* b = c.NewChannel(2, 2);
    b->Owner = meter; // set-points but no write handler: no points section
    char saved = DecimalSeparator;
    DecimalSeparator = '.';
    ASSERT_TRUE(c.ExportScadaConfig(file)) << c.LastError;
    DecimalSeparator = saved;

    EXPECT_EQ(Section(file, "config"), "version=2.12.09.05;objects=3;speed=9600;a b=c,d;discret_channels=2;"
                                       "analog_channels=2;analog_multi_channels=0;");
    EXPECT_EQ(Section(file, "objects"),
              "1=QBX-510  ID-1;2=ЖУРНАЛ СООБЩЕНИЙ;3=ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ ID-10000 адрес USEROBJ;");
    EXPECT_EQ(Section(file, "ЖУРНАЛ СООБЩЕНИЙ"), "name=ЖУРНАЛ СООБЩЕНИЙ;");
    EXPECT_EQ(Section(file, "QBX-510  ID-1"), "name=QBX-510  ID-1;speed=9600;a b=c,d;");
    EXPECT_EQ(Section(file, "channels"), "1=channel 1:1;2=channel 1:2;3=channel 2:1;4=channel 2:2;");
    EXPECT_EQ(Section(file, "channel 1:2"), "type=3;len=1;");
    EXPECT_EQ(Section(file, "channel 2:1"),
              "type=13;len=16;const_multiplier=0.001;set_points=channel 2:1 points;");
    EXPECT_EQ(Section(file, "channel 2:1 points"), "1=sp0;2=sp1;");
    EXPECT_EQ(Section(file, "channel 2:2"), "type=0;len=0;const_multiplier=1;");
    EXPECT_EQ(Section(file, "channel 2:2 points"), "");
    std::string text = FileText(file);
    EXPECT_NE(text.find("[ЖУРНАЛ СООБЩЕНИЙ]\r\n"), std::string::npos); // Windows-1251 bytes, CR LF
}

TEST_F(Export, UnwritablePathIsReported) {
    configmanager c;
    EXPECT_FALSE(c.ExportScadaConfig(dir.File("no/such/folder/scada.ini")));
    EXPECT_FALSE(c.LastError.empty());
}

} // namespace
