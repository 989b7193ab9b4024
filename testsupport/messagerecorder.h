// Message boxes recorded instead of shown, for as long as the recorder lives. Test support.
#pragma once

#include <string>
#include <vector>

#include "msgbox.h"

namespace testsupport {

class MessageRecorder {
public:
    MessageRecorder() {
        Texts().clear();
        fOld = SetMessageBoxHandler(&Record);
    }
    ~MessageRecorder() { SetMessageBoxHandler(fOld); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The texts shown so far, oldest first.
    static std::vector<std::string>& Texts() {
        static std::vector<std::string> texts;
        return texts;
    }

    // The handler itself, for tests that install it for the whole test program.
    static int Record(const char* text, const char*, unsigned) {
        Texts().emplace_back(text ? text : "");
        return IDOK;
    }

private:
    TMessageBoxHandler fOld;
};

} // namespace testsupport
