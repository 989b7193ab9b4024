// The application object's message loop: the main form, Run, Terminate and the exception display of
// the program entry. Its own executable: terminating the application is for good.
#include <gtest/gtest.h>

#include <QTimer>

#include "core_support.h"

namespace {

TEST(CoreApplication, ClosingTheMainFormEndsRunAndModalLoopsEndOnTerminate) {
    TFakeDialogScope dialogs;
    Application->Initialize();
    TForm* main = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(second);
    ASSERT_EQ(Application->MainForm(), main);

    std::vector<std::string> log;
    main->OnShow = [&](TObject*) {
        log.push_back("main shown");
        QTimer::singleShot(0, [&] {
            // A modal form open when the application terminates ends with Cancel.
            QTimer::singleShot(0, [&] { main->Close(); });
            log.push_back("modal " + IntToStr(second->ShowModal()));
        });
    };
    main->OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("main close");
        EXPECT_EQ(a, caFree);
    };
    main->OnDestroy = [&](TObject*) { log.push_back("main destroy"); };
    second->OnDestroy = [&](TObject*) { log.push_back("second destroy"); };
    int forms = Screen->FormCount();
    // The message loop runs OnIdle whenever its queue drains.
    int idles = 0;
    Application->OnIdle = [&](TObject*, bool&) { ++idles; };
    Application->Run();
    Application->OnIdle = nullptr;
    EXPECT_TRUE(Application->Terminated());
    EXPECT_GT(idles, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"main shown", "main close", "modal 2", "second destroy",
                                             "main destroy"}));
    EXPECT_EQ(Screen->FormCount(), forms - 2);
    EXPECT_EQ(Application->MainForm(), nullptr);

    // The program entry shows an exception that escaped through the same display.
    try {
        throw EConvertError("'9x' is not a valid integer value");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    ASSERT_EQ(dialogs.Fake.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Fake.Calls[0].Text, "'9x' is not a valid integer value.");
    // Outside a catch block there is nothing to show.
    Application->HandleException(nullptr);
    EXPECT_EQ(dialogs.Fake.Calls.size(), 1u);
}

} // namespace
