// The table store's own message boxes reach the program's hook once a configuration manager exists.
// Runs over the shared store library, which keeps a hook of its own.
#include <gtest/gtest.h>

#include "Configmanager.h"
#include "Dbtables.h"
#include "lorbase.h"
#include "model_fixture.h"

namespace {

TEST(LorBoxes, TableFailureReachesTheRuntimeHook) {
    TempDir dir;
    std::string file = dir.File("c.cdb");
    {
        configmanager c;
        ASSERT_TRUE(c.SaveDatabase(file)) << c.LastError;
    }
    CaptureMessages();
    configmanager c;
    LORHANDLE base = OpenBase(file.c_str(), kLoadPageSize, 1);
    ASSERT_GT(base, 32u);
    {
        // A read-only base cannot create the table: the store says so in a box.
        VTObjects missing(base, "VTNoSuchTable");
        EXPECT_FALSE(missing.IsOpen());
    }
    CloseBase(base);
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(gMessages, std::vector<std::string>{"Не могу открыть таблицу"});
}

} // namespace
