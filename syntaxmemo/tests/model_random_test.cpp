// Text model of the script editor under the sanitizers: random edits, folds and undos checked
// against a plain vector of strings, with the section tree, visible rows and tokens checked too.
#include <gtest/gtest.h>

#include <random>

#include "model_support.h"

namespace {

using Text = std::vector<std::string>;

std::string Flat(const Text& t) {
    std::string out;
    for (size_t i = 0; i < t.size(); ++i)
        out += (i ? "|" : "") + t[i];
    return out;
}

// Replaces [a, b) of the text (positions inside lines) by s, as the editor splits lines.
void Replace(Text& t, TMPPos a, TMPPos b, const std::string& s) {
    const std::string prefix = t[size_t(a.Y)].substr(0, size_t(a.X));
    const std::string suffix = t[size_t(b.Y)].substr(size_t(b.X));
    Text add;
    size_t p = 0;
    for (;;) {
        size_t e = s.find("\r\n", p);
        add.push_back(s.substr(p, e == std::string::npos ? std::string::npos : e - p));
        if (e == std::string::npos)
            break;
        p = e + 2;
    }
    add.front().insert(0, prefix);
    add.back() += suffix;
    t.erase(t.begin() + a.Y, t.begin() + b.Y + 1);
    t.insert(t.begin() + a.Y, add.begin(), add.end());
}

void CheckTree(const TMPSynMemoSection* s, int from, int to, int count) {
    int prev = from - 1;
    for (int i = 0; i < s->Count(); ++i) {
        const TMPSynMemoSection* c = s->Item(i);
        ASSERT_EQ(c->Parent, s);
        ASSERT_EQ(c->Level, s->Level + 1);
        ASSERT_LE(c->FirstLine, c->LastLine);
        ASSERT_GT(c->FirstLine, prev);
        ASSERT_GE(c->FirstLine, std::max(from, 0));
        ASSERT_LE(c->LastLine, to);
        ASSERT_LT(c->LastLine, count);
        prev = c->LastLine;
        CheckTree(c, c->FirstLine, c->LastLine, count);
    }
}

void CheckModel(TMPSynMemoCore& core, const Text& ref) {
    ASSERT_EQ(Joined(core), Flat(ref));
    const int n = core.Lines()->Count();
    const TMPSynMemoSection* root = core.Sections()->EntireSection();
    ASSERT_NO_FATAL_FAILURE(CheckTree(root, 0, n - 1, n));
    core.Sections()->RecalculateIfPending();
    const std::vector<int>& vis = core.Sections()->VisibleLines();
    for (size_t i = 0; i < vis.size(); ++i) {
        ASSERT_TRUE(vis[i] >= 0 && vis[i] < n);
        if (i) {
            ASSERT_LT(vis[i - 1], vis[i]);
        }
    }
    // Tokens as kept must be those of a fresh pass over the whole text.
    TMPSyntaxParser fresh;
    int entry = tokText;
    for (int i = 0; i < n; ++i) {
        fresh.Tokenize(core.Lines()->Line(i), i, core.SyntaxAttributes(), entry);
        ASSERT_EQ(LineRuns(core, i), Runs(fresh, core.Lines()->Line(i))) << "line " << i;
        const TToken last = fresh.Count() ? fresh.LastKind() : TToken(tokText);
        entry = last == tokMLCommentBeg || last == tokELCommentBeg ? int(last) : int(tokText);
    }
}

class RandomEdits : public testing::TestWithParam<unsigned> {};

TEST_P(RandomEdits, MatchAPlainModel) {
    std::mt19937 rng(GetParam());
    auto pick = [&](int n) { return n <= 0 ? 0 : int(rng() % unsigned(n)); };
    const char* pieces[] = {"a", "b", "{", "}", "\xE0\xE1", "(*", "*)", "\r\n", "x1", "//", "\"", "@l:3"};
    auto randomText = [&] {
        std::string s;
        for (int k = pick(4) + 1; k > 0; --k)
            s += pieces[pick(12)];
        return s;
    };
    TMPSynMemoCore core;
    core.AutoRowLink = false;
    core.Range()->SetMaxUndoDepth(1 << 20);
    LoadText(core, "{<+}ab\r\ncd\r\n{<+}ef\r\n{>>}gh\r\n{>>}ij\r\nkl\r\n{<-}mn\r\n{>>}op");
    Text ref = {"ab", "cd", "ef", "gh", "ij", "kl", "mn", "op"};
    std::vector<Text> undo;
    TMPSynMemoRange* R = core.Range();
    auto anyPos = [&] {
        const int y = pick(int(ref.size()));
        return TMPPos{pick(int(ref[size_t(y)].size()) + 1), y};
    };
    for (int step = 0; step < 1500; ++step) {
        const Text before = ref;
        const int records = R->UndoCount();
        const int op = pick(10);
        if (op <= 3) {
            TMPPos a = anyPos(), b = op == 0 ? a : anyPos();
            if (b < a)
                std::swap(a, b);
            R->Select(a, b);
            const std::string s = randomText();
            R->SetText(s);
            Replace(ref, a, b, s);
        } else if (op == 4) {
            const TMPPos a = anyPos();
            R->Select(a, a);
            R->Delete();
            if (a.X < int(ref[size_t(a.Y)].size()))
                Replace(ref, a, {a.X + 1, a.Y}, "");
            else if (a.Y + 1 < int(ref.size()))
                Replace(ref, a, {0, a.Y + 1}, "");
        } else if (op == 5) {
            R->Select(anyPos(), anyPos());
            R->CollapseSection(pick(2));
        } else if (op == 6) {
            R->Select(anyPos(), anyPos());
            R->ExpandSection(pick(2));
        } else if (op == 7) {
            R->Select(anyPos(), anyPos());
            R->ExplodeSection(pick(2));
        } else if (op == 8) {
            TMPPos a = anyPos(), b = anyPos();
            if (a.Y != b.Y) {
                R->Select(a, b);
                R->CreateSection();
            }
        } else if (R->CanUndo()) {
            R->DoUndo();
            ASSERT_FALSE(undo.empty());
            ref = undo.back();
            undo.pop_back();
        }
        if (op != 9 && R->UndoCount() > records)
            undo.push_back(before);
        ASSERT_NO_FATAL_FAILURE(CheckModel(core, ref)) << "step " << step << " op " << op;
    }
    while (R->CanUndo()) {
        R->DoUndo();
        ref = undo.back();
        undo.pop_back();
    }
    CheckModel(core, ref);
    EXPECT_EQ(Flat(ref), "ab|cd|ef|gh|ij|kl|mn|op");
    EXPECT_EQ(SectionList(core), "0-4@1 2-3@2 6-7c@1");
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, testing::Values(1u, 2u, 3u, 4u));

} // namespace
