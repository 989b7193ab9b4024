// Runtime layer: profile (.ini) files with the Windows profile-file rules, bytes kept as they are
// (Windows-1251), lines written with CR LF.
// Rules: sections and keys compare without case; a value is read trimmed, and loses one pair of
// enclosing quotes; the first of duplicate sections or keys wins; a new key goes after the last
// line of its section, a new section at the end of the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classes.h"

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(std::string FileName) : fileName_(std::move(FileName)) {}
    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(std::string_view Section, std::string_view Ident,
                                   const std::string& Default) = 0;
    virtual void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) = 0;
    virtual void ReadSection(std::string_view Section, TStrings* Strings) = 0;       // key names
    virtual void ReadSections(TStrings* Strings) = 0;                                // section names
    virtual void ReadSectionValues(std::string_view Section, TStrings* Strings) = 0; // key=value
    virtual void EraseSection(std::string_view Section) = 0;
    virtual void DeleteKey(std::string_view Section, std::string_view Ident) = 0;
    virtual void UpdateFile() = 0;

    // Typed values: a store that keeps types (the registry) overrides them.
    // A value that is not an integer ("0x" and "$" hexadecimal allowed) reads as Default.
    virtual int ReadInteger(std::string_view Section, std::string_view Ident, int Default);
    virtual void WriteInteger(std::string_view Section, std::string_view Ident, int Value);
    // Any integer but 0 is true; written as "1" or "0".
    bool ReadBool(std::string_view Section, std::string_view Ident, bool Default);
    void WriteBool(std::string_view Section, std::string_view Ident, bool Value);
    // Texts of the runtime's conversions (DecimalSeparator, ShortDateFormat …); an empty or
    // unreadable value reads as Default.
    virtual double ReadFloat(std::string_view Section, std::string_view Ident, double Default);
    virtual void WriteFloat(std::string_view Section, std::string_view Ident, double Value);
    virtual TDateTime ReadDate(std::string_view Section, std::string_view Ident, TDateTime Default);
    virtual void WriteDate(std::string_view Section, std::string_view Ident, TDateTime Value);
    virtual TDateTime ReadDateTime(std::string_view Section, std::string_view Ident, TDateTime Default);
    virtual void WriteDateTime(std::string_view Section, std::string_view Ident, TDateTime Value);
    virtual TDateTime ReadTime(std::string_view Section, std::string_view Ident, TDateTime Default);
    virtual void WriteTime(std::string_view Section, std::string_view Ident, TDateTime Value);
    // A section exists when it holds at least one key.
    bool SectionExists(std::string_view Section);
    bool ValueExists(std::string_view Section, std::string_view Ident);

private:
    std::string fileName_;
};

// Kept in memory; reloaded when the file changes on disk. TIniFile writes every change through
// at once; TMemIniFile only on UpdateFile. A write replaces the file atomically (temporary file,
// then rename); failure raises EIniFileException "Unable to write to <file>" and leaves the old
// file and the old contents in memory. Line breaks inside a section, key or value would split
// the entry, so they are written as blanks.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const std::string& FileName);

    std::string ReadString(std::string_view Section, std::string_view Ident,
                           const std::string& Default) override;
    void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) override;
    void ReadSection(std::string_view Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(std::string_view Section, TStrings* Strings) override;
    void EraseSection(std::string_view Section) override;
    void DeleteKey(std::string_view Section, std::string_view Ident) override;
    void UpdateFile() override;

protected:
    TIniFile(const std::string& FileName, bool WriteThrough);
    const std::vector<std::string>& HeldLines();
    void HoldLines(std::vector<std::string> Lines);

private:
    // What tells a changed file: a replacing save gives a new inode, an in-place one a new
    // time or size.
    struct Stamp {
        int64_t mtime = -1;
        int64_t size = -1;
        uint64_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp DiskStamp() const;
    void Refresh(); // reloads when the disk copy changed
    // Applies an edit to the lines, and writes the result through when this file does.
    void Change(const std::function<void(std::vector<std::string>&)>& edit);
    void Save(const std::vector<std::string>& lines);

    std::vector<std::string> lines_;
    Stamp stamp_;
    bool loaded_ = false;
    bool writeThrough_;
};

// The same file model, written only by UpdateFile (and not reloaded behind the caller's back).
class TMemIniFile : public TIniFile {
public:
    explicit TMemIniFile(const std::string& FileName) : TIniFile(FileName, false) {}
    // The lines as held, and lines to hold in their place (UpdateFile writes them).
    void GetStrings(TStrings* List) { List->SetLines(HeldLines()); }
    void SetStrings(const TStrings* List);
};
