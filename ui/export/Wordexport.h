// The channel binding table of the concentrator written as a word-processor document: the rows
// are collected from the configuration first, then the document is built and written in one pass.
// User-interface layer (the main window's export command drives it through TWordExportHost).
#pragma once

#include <functional>
#include <string>
#include <vector>

class configmanager;
class TWordDocument;

inline constexpr int kChannelTableColumns = 6;

struct TChannelTableRow {
    bool Group = false; // a group row: its one text spans the table
    std::string Cells[kChannelTableColumns];
};

// The data and group rows below the two heading rows: channel types 1 then 2, in channel index
// order, grouped by parameter type.
std::vector<TChannelTableRow> CollectChannelTable(configmanager& config);
// The two texts and the table with its heading, merges, widths, borders and text directions.
void BuildChannelTableDocument(const std::vector<TChannelTableRow>& rows, TWordDocument& doc);
// The document name offered first: the configuration's, with the extension ".docx".
std::string DefaultDocumentName(const std::string& configPath);

// What the export needs of the main window. Message kinds: 1 warning, 2 error, 3 information.
struct TWordExportHost {
    std::function<void()> CheckConfiguration;
    std::function<void(const std::string& text, int kind)> AddMessage;
    std::function<void()> ShowMessages;
    // The file to write, offered the default name; false when the user cancels. Unset: the
    // platform's save dialog (PickDocumentFile).
    std::function<bool(const std::string& defaultName, std::string& path)> PickFileName;
    // Busy cursor and the banner's scrolling while the document is written.
    std::function<void(bool busy)> SetBusy;
    // Shows the written document in the desktop's word processor; false when nothing took it.
    // Unset: the desktop's program for the file (ShellOpen).
    std::function<bool(const std::string& path)> OpenDocument;
};

// The save dialog for the document, offering defaultName; false when cancelled.
bool PickDocumentFile(const std::string& defaultName, std::string& path);

extern const char* const kWordExportStarted;
extern const char* const kWordExportDone;
extern const char* const kWordExportFailed;
extern const char* const kWordExportNotOpened;

class TWordExport {
public:
    // One byte, as the main window keeps it: 1 while an export runs (the menu command is then
    // disabled).
    bool Busy() const { return busy_ != 0; }
    // The whole command; its outcome is reported through the host. Returns whether the document was
    // written. A second call while one runs does nothing.
    bool Run(configmanager& config, const std::string& configPath, const TWordExportHost& host);

private:
    unsigned char busy_ = 0;
};
