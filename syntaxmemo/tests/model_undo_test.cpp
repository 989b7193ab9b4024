// Text model of the script editor: undoing every edit gives the text back, though a caret leaving a
// line cuts the blanks that end it without a record of its own.
#include <gtest/gtest.h>

#include <random>

#include "model_support.h"

namespace {

// The lines without the blanks that end them, joined by "|".
std::string WithoutFinalBlanks(const std::string& Joined) {
    std::string out;
    size_t p = 0;
    for (;;) {
        const size_t e = Joined.find('|', p);
        std::string line = Joined.substr(p, e == std::string::npos ? std::string::npos : e - p);
        while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
            line.pop_back();
        out += line;
        if (e == std::string::npos)
            return out;
        out += '|';
        p = e + 1;
    }
}

// The editing keys as the control applies them to the model (no folded sections here).
void Backspace(TMPSynMemoCore& C) {
    TMPSynMemoRange* R = C.Range();
    const TMPPos caret = R->Caret();
    if (!R->IsEmpty()) {
        R->Delete();
    } else if (caret.X > C.Lines()->LineLength(caret.Y)) {
        R->SetPosX(caret.X - 1);
    } else if (caret.X > 0) {
        R->SetPosX(caret.X - 1);
        R->Delete();
    } else if (caret.Y > 0) {
        R->SetPos({C.Lines()->LineLength(caret.Y - 1), caret.Y - 1});
        R->Delete();
    }
}

void Tab(TMPSynMemoCore& C) { C.Range()->SetText(std::string(size_t(4 - C.Range()->Caret().X % 4), ' ')); }

const char kOriginal[] = "nij\t\"a\r\nLD A\r\n  push 1 \r\n\r\n\tjmp\t@l:3\r\nend";

class UndoAll : public testing::TestWithParam<unsigned> {};

TEST_P(UndoAll, GivesTheTextBackApartFromFinalBlanks) {
    std::mt19937 rng(GetParam());
    auto pick = [&](int n) { return n <= 0 ? 0 : int(rng() % unsigned(n)); };
    TMPSynMemoCore core;
    core.AutoRowLink = false;
    LoadText(core, kOriginal);
    const std::string original = Joined(core);
    TMPSynMemoRange* R = core.Range();
    R->SetMaxUndoDepth(1 << 20);
    R->ClearUndo();
    const char* typed[] = {"a", " ", "\"", "LD", "\xE0", "1 ", "\t"};
    auto anyPos = [&] {
        const int y = pick(core.Lines()->Count());
        return TMPPos{pick(core.Lines()->LineLength(y) + 4), y};
    };
    for (int step = 0; step < 400; ++step) {
        switch (pick(9)) {
        case 0: R->SetText("\r\n"); break;
        case 1: Tab(core); break;
        case 2: Backspace(core); break;
        case 3: R->Delete(); break;
        case 4: R->SetText(typed[pick(7)]); break;
        case 5: {
            TMPPos a = anyPos(), b = anyPos();
            if (b < a)
                std::swap(a, b);
            R->Select(a, b);
            R->SetText(typed[pick(7)]);
            break;
        }
        default: R->SetPos(anyPos()); break;
        }
    }
    while (R->CanUndo())
        R->DoUndo();
    EXPECT_EQ(WithoutFinalBlanks(Joined(core)), WithoutFinalBlanks(original));
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoAll, testing::Values(1u, 2u, 3u, 7u, 42u, 1234u, 99991u));

} // namespace
