// The main window over a large configuration: 500 objects and 50,000 channels (200 channel types of
// 250) saved to a file, then opened through "Открыть" and the channel page shown and painted; then the
// channel grid scrolled by a page and painted, averaged. Targets: under 1 s from the file to the
// painted page, under 16 ms a page. Usage: bench_ui [folder]   (default: the temporary folder)
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "Configmanager.h"
#include "Umain.h"
#include "Uprogram.h"
#include "dialogs.h"

namespace {

constexpr int kObjects = 500, kChannels = 50000, kPerType = 250, kScrolls = 40;

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Answers every file dialog with one path.
struct OnePath : TDialogService {
    std::string Path;
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return mrYes; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>& files) override {
        files = {Path};
        return true;
    }
};

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    std::string path = (folder / "bench_ui.cdb").string();
    Application->Initialize();
    RegisterAllDevices();
    TMainForm::SettingsPathOverride = (folder / "bench_ui.ini").string();
    {
        configmanager c;
        for (int i = 0; i < kObjects; ++i)
            c.AddObject(1);
        for (int i = 0; i < kChannels; ++i) {
            TParamItem* p =
                c.NewChannel(static_cast<uint16_t>(1 + i / kPerType), static_cast<uint8_t>(1 + i % kPerType));
            p->Name = "channel " + std::to_string(i);
            p->SetBitWidth(16);
        }
        if (!c.SaveDatabase(path)) {
            std::printf("save failed\n");
            return 1;
        }
    }
    OnePath dialogs;
    dialogs.Path = path;
    SetDialogService(&dialogs);
    CreateProgramForms();
    TMainForm* m = MainForm;
    m->SetBounds(0, 0, 1051, 753);
    m->Show();
    Application->ProcessMessages();

    auto start = std::chrono::steady_clock::now();
    m->mmOpenClick(m->mmOpen);
    m->gwneParamType->SetText("1");
    m->pcMain->SetActivePage(m->tsParamControl);
    m->gwsgParamList->Repaint();
    Application->ProcessMessages();
    double open = Ms(start);

    TGwStringGrid* grid = m->gwsgParamList;
    double scroll = 0;
    for (int i = 0; i < kScrolls; ++i) {
        int page = std::max(1, grid->VisibleRowCount());
        int top = grid->TopRow() + page;
        if (top + page > grid->RowCount())
            top = grid->FixedRows();
        auto t = std::chrono::steady_clock::now();
        grid->SetTopRow(top);
        grid->Repaint();
        scroll += Ms(t);
    }
    std::printf("objects %d, channels %d, rows on the page %d\n", m->gwlbObjectList->Items()->Count(),
                kChannels, grid->RowCount() - 1);
    std::printf("open to painted channel page: %.1f ms (target < 1000)\n", open);
    std::printf("scroll by a page and paint:   %.2f ms (target < 16)\n", scroll / kScrolls);
    std::filesystem::remove(path);
    return 0;
}
