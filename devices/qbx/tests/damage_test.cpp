// A populated configuration (every QBX device type, bindings, subprograms) damaged the ways a disk
// or a copy damages files: cut at and between page boundaries, pages zeroed, pages swapped. Every
// copy either fails to load with an error, loads everything, or reports a problem; and the load
// leaves the file byte for byte as it was.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx560object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The records only one side has, "-" for the first and "+" for the second, or "" when none.
std::string Difference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<std::string> onlyA, onlyB;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(onlyA));
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(onlyB));
    std::string out;
    for (const std::string& r : onlyA)
        out += "- " + r + "\n";
    for (const std::string& r : onlyB)
        out += "+ " + r + "\n";
    return out;
}

struct Copy {
    std::string what;
    std::string bytes;
};

class DamageSweep : public QbxTest {
protected:
    // Every device type with some bindings and set points, saved to dbPath.
    void Populate() {
        for (const char* name : {"log_handleStateChange", "log_handleBoundes", "log_handleByteStateChange"})
            WriteProgram(root, "default", name, 2, {});
        for (int code : {3, 4, 5, 7, 8, 9, 43, 44, 2})
            ASSERT_NE(cm->AddObject(code), nullptr) << code;
        auto* cell = Find<TQbx530Item>();
        cell->BindParam(3, 9, cell->Param(0));
        auto* qbx540 = Find<TQbx540Item>();
        qbx540->ApplyPropertyValue(5, "2");
        qbx540->BindParam(4, 9, qbx540->Analog(1));
        auto* qbx560 = Find<TQbx560Item>();
        qbx560->BindParam(5, 9, qbx560->Param(0));
        qbx560->SetSetpointValue(qbx560->Param(0), 0, "21.5");
        TStringList text;
        for (int i = 0; i < 60; ++i)
            text.Add(i % 3 ? "push " + std::to_string(i) : "ret");
        cm->CreateSubprogram("user_sub")->Assemble(text);
        ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    }

    // Cuts at every page boundary and inside every page, each page zeroed, neighbouring pages and
    // each page with the last swapped.
    static std::vector<Copy> Copies(const std::string& good) {
        constexpr size_t kHeader = 14, kPage = kSavePageSize;
        const size_t pages = (good.size() - kHeader) / kPage;
        auto at = [&](size_t page) { return kHeader + (page - 1) * kPage; }; // pages count from 1
        std::vector<Copy> out{{"emptied", ""}};
        for (size_t n = 0; n < pages; ++n) {
            out.push_back({"cut to " + std::to_string(n) + " pages", good.substr(0, at(n + 1))});
            out.push_back(
                {"cut inside page " + std::to_string(n + 1), good.substr(0, at(n + 1) + kPage / 3)});
        }
        for (size_t p = 1; p <= pages; ++p) {
            std::string zeroed = good;
            std::fill(zeroed.begin() + long(at(p)), zeroed.begin() + long(at(p) + kPage), '\0');
            out.push_back({"page " + std::to_string(p) + " zeroed", zeroed});
        }
        auto swapped = [&](size_t a, size_t b) {
            std::string s = good;
            std::swap_ranges(s.begin() + long(at(a)), s.begin() + long(at(a) + kPage),
                             s.begin() + long(at(b)));
            return Copy{"pages " + std::to_string(a) + " and " + std::to_string(b) + " swapped", s};
        };
        for (size_t p = 1; p < pages; ++p) {
            out.push_back(swapped(p, p + 1));
            if (p + 1 < pages)
                out.push_back(swapped(p, pages));
        }
        return out;
    }
};

TEST_F(DamageSweep, EveryCopyFailsLoadsEverythingOrReportsAProblem) {
    Populate();
    const std::string good = Bytes(dbPath);
    ASSERT_GT(good.size(), 20 * kSavePageSize);
    const std::vector<std::string> all = Records(dbPath);
    const std::string copyPath = tmpDir + "/copy.cdb";
    const std::string checkPath = tmpDir + "/check.cdb";
    int failed = 0, complete = 0, reported = 0;
    for (const Copy& c : Copies(good)) {
        SCOPED_TRACE(c.what);
        Put(copyPath, c.bytes);
        messages.clear();
        auto loaded = std::make_unique<configmanager>();
        if (!loaded->LoadDatabase(copyPath)) {
            EXPECT_FALSE(loaded->LastError.empty());
            ++failed;
        } else if (loaded->LoadProblems.empty()) {
            // Nothing reported: everything came back, as the same records.
            ASSERT_TRUE(loaded->SaveDatabase(checkPath)) << loaded->LastError;
            EXPECT_EQ(Difference(Records(checkPath), all), "");
            ++complete;
        } else {
            ++reported;
        }
        EXPECT_TRUE(messages.empty());
        loaded.reset();
        EXPECT_EQ(Bytes(copyPath), c.bytes) << "the load changed the file";
    }
    EXPECT_GT(failed, 0);
    EXPECT_GT(complete, 0);
    EXPECT_GT(reported, 0);
    RecordProperty("failed", failed);
    RecordProperty("complete", complete);
    RecordProperty("reported", reported);
}

// A load that fails leaves a file that the next load opens for writing again, unchanged.
TEST_F(DamageSweep, FailedLoadLeavesTheFileAsItWas) {
    Populate();
    const std::string good = Bytes(dbPath);
    std::string cut = good.substr(0, 14 + 2 * kSavePageSize);
    Put(dbPath, cut);
    auto first = std::make_unique<configmanager>();
    const bool ok = first->LoadDatabase(dbPath);
    EXPECT_TRUE(!ok || !first->LoadProblems.empty()) << "a cut file loaded as a clean configuration";
    first.reset();
    EXPECT_EQ(Bytes(dbPath), cut);
    auto second = std::make_unique<configmanager>();
    second->LoadDatabase(dbPath);
    EXPECT_FALSE(second->OpenedReadOnly);
}

} // namespace
