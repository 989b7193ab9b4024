// The check list's text loader under the sanitizers: every cut and every byte changed in a saved
// list either loads all its lines or stops with EConvertError at the first bad state, keeping the
// lines before it; nothing else happens.
#include <gtest/gtest.h>

#include "Gwchklst.h"
#include "forms.h"

namespace {

// Lines as the loader splits them (CR LF, LF or CR end a line; a final end adds none).
std::vector<std::string> Lines(const std::string& Text) {
    TStringList l;
    l.SetText(Text);
    std::vector<std::string> lines;
    for (int i = 0; i < l.Count(); ++i)
        lines.push_back(l.Get(i));
    return lines;
}

bool BadState(const std::string& Line) {
    return Line.size() >= 5 && Line[0] == '&' && (Line[3] < '0' || Line[3] > '2');
}

void LoadAndCheck(TGwCheckList* List, const std::string& Text) {
    const std::vector<std::string> lines = Lines(Text);
    size_t good = 0;
    while (good < lines.size() && !BadState(lines[good]))
        ++good;
    TStringStream in(Text);
    bool refused = false;
    try {
        List->LoadFromStream(&in);
    } catch (const EConvertError&) {
        refused = true;
    }
    EXPECT_EQ(refused, good < lines.size());
    ASSERT_EQ(size_t(List->Count()), good);
    for (int i = 0; i < List->Count(); ++i)
        EXPECT_LE(int(List->ItemState(i)), int(cbGrayed));
}

TEST(GwCheckListSweep, CutAndChangedBytesLoadOrStopCleanly) {
    TApplication::QtApp();
    TForm form(nullptr);
    TGwCheckList list(&form);
    list.SetParent(&form);
    const std::string saved = "&1 1 first\tcolumn\r\n&0 2 second\r\nplain\r\n&1 0 \r\n&0 1 last";
    for (size_t cut = 0; cut <= saved.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        LoadAndCheck(&list, saved.substr(0, cut));
    }
    for (size_t at = 0; at < saved.size(); ++at)
        for (char byte : {'\0', '&', '9', 'x', ' ', '\r', '\n', '\xFF', '1'}) {
            std::string changed = saved;
            changed[at] = byte;
            SCOPED_TRACE("byte " + std::to_string(int(static_cast<unsigned char>(byte))) + " at " +
                         std::to_string(at));
            LoadAndCheck(&list, changed);
        }
}

} // namespace
