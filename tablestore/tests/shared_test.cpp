// The shared library as the program sees it: the C exports, TOFT and the message-box setter
// are visible; the library's internals and its copy of the runtime are not.
#include "lorbase.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string g_box;

int Capture(const char* text, const char* caption, unsigned) {
    g_box = std::string(caption) + ":" + text;
    return 1;
}

} // namespace

TEST(LorShared, ExportsOnlyTheInterface) {
    void* so = dlopen(LORBASE_SO, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(so, nullptr);
    for (const char* name : {"OpenBase", "CreateBase", "RestoreBase", "SaveRec", "FirstRec", "BaseGetPageDat",
                             "LorSetMessageBoxHandler", "_ZTV4TOFT", "_ZN4TOFT5swablEPvi", "_ZN4TOFTC1Ej"})
        EXPECT_NE(dlsym(so, name), nullptr) << name;
    for (const char* name : {"_Z13LorBaseStatusj", "_Z20SetMessageBoxHandlerPFiPKcS0_jE",
                             "_Z18ShowMessageBoxTextPKcS0_j", "_ZN3lor10RecordCallENS_5RecOpEjPvj"})
        EXPECT_EQ(dlsym(so, name), nullptr) << name;
    dlclose(so);
}

TEST(LorShared, CursorRoundTripAndMessageBox) {
    const testsupport::TempFolder folder("lorbase-shared-");
    const std::string path = folder.File("s.lor");
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    ASSERT_GT(b, 32u);
    uint8_t key[4] = {'k', 'e', 'y', '1'}, data[8] = "value";
    TOFT* c = new TOFT(8, "T", b);
    c->set.Key = key;
    c->set.LenKey = 4;
    c->set.Dat = data;
    c->set.LenDat = 8;
    c->MaxLen(12);
    EXPECT_EQ(c->RSAVE(), 1);
    std::memset(data, 0, sizeof data);
    EXPECT_EQ(c->RFIRST(), 1);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "value");
    EXPECT_EQ(c->COUNT(), 1u);
    delete c;
    FlushBase(b);
    CloseBase(b);
    b = OpenBase(path.c_str(), 512, 1);
    TMessageBoxHandler old = LorSetMessageBoxHandler(&Capture);
    EXPECT_EQ(OpenTable(b, "none"), 0u);
    LorSetMessageBoxHandler(old);
    EXPECT_EQ(g_box, std::string("none:") + "Не могу открыть таблицу");
    CloseBase(b);
}
