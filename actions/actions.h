// Subprogram store of a configuration: subprograms (T_Action) under actionManager, their assembled
// instructions (TActionLine), the assembler and lister, .act files and version.ini. Actions layer.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "classes.h"
#include "elem.h"
#include "instructions.h"

class actionManager;

// Where an assembly stopped: the text line (from 0) that raised, which is the editor's line.
class EScriptLine {
public:
    explicit EScriptLine(int line) : Line(line) {}
    virtual ~EScriptLine() = default;
    int Line;
};

// The runtime's error E (EConvertError, EListError) as a line of a script raised it: callers still
// catch E, and its message starts with the line's number as the editor shows it ("Строка 3: ").
template <class E> class EScriptError : public E, public EScriptLine {
public:
    EScriptError(const E& e, int line) : E(ScriptLineMessage(line, e.Message)), EScriptLine(line) {}
};

// One assembled instruction: a spare byte, the opcode and five operand bytes (little-endian numbers).
class TActionLine {
public:
    uint8_t Spare = 0;
    uint8_t Opcode = opNone;
    uint8_t Operands[kOperandBytes] = {};

    uint16_t U16(int at) const { return uint16_t(Operands[at] | Operands[at + 1] << 8); }
    void SetU16(int at, uint16_t v) {
        Operands[at] = uint8_t(v);
        Operands[at + 1] = uint8_t(v >> 8);
    }
    uint32_t U32() const { return U16(0) | uint32_t(U16(2)) << 16; }
    void SetU32(uint32_t v) {
        SetU16(0, uint16_t(v));
        SetU16(2, uint16_t(v >> 16));
    }
    // Operand bytes that belong to the opcode (the database stores only these).
    uint8_t OperandLength() const { return ::OperandLength(Opcode); }
    // Whether the text form of the opcode holds the whole instruction: the code has one and every
    // operand byte past its operand length is 0. Otherwise the lister writes the raw "op" form.
    bool HasTextForm() const {
        if (!FindOpcode(Opcode))
            return false;
        for (int i = OperandLength(); i < kOperandBytes; ++i)
            if (Operands[i] != 0)
                return false;
        return true;
    }

    bool operator==(const TActionLine&) const = default;
};

// Flag byte value of an autostart subprogram.
inline constexpr uint8_t kActionAutostart = 9;
// Instruction and variable records of the database are keyed by one byte each.
inline constexpr size_t kMaxStoredInstructions = 255;
inline constexpr size_t kMaxStoredVariables = 255;

class T_Action;

// A subprogram's caption, read as a string. Every assignment reaches the store holding the
// subprogram, which finds subprograms by name or caption through an index of both.
class TActionCaption {
public:
    explicit TActionCaption(T_Action* owner) : owner_(owner) {}
    TActionCaption(const TActionCaption&) = delete;
    TActionCaption& operator=(const TActionCaption& other) { return *this = other.text_; }
    TActionCaption& operator=(std::string text);

    operator const std::string&() const { return text_; }
    const std::string& str() const { return text_; }
    bool empty() const { return text_.empty(); }
    friend bool operator==(const TActionCaption& a, std::string_view b) { return a.text_ == b; }
    friend std::string operator+(const TActionCaption& a, std::string_view b) {
        return a.text_ + std::string(b);
    }
    friend std::string operator+(std::string_view a, const TActionCaption& b) {
        return std::string(a) + b.text_;
    }
    friend std::ostream& operator<<(std::ostream& out, const TActionCaption& c);

private:
    std::string text_;
    T_Action* owner_;
};

// One subprogram. It is never on an ELEMList; the store keeps it in its map by id.
class T_Action : public ELEM {
public:
    explicit T_Action(actionManager* owner = nullptr) : Owner(owner) {}
    T_Action(const T_Action&) = delete;
    T_Action& operator=(const T_Action&) = delete;

    const std::string& Name() const { return name_; }
    // Ignored for an empty name.
    void SetName(const std::string& name);
    uint16_t Id() const { return id_; }
    // Names a nameless record "action<id>". Only before the record enters a store (the map is keyed by id).
    void SetId(uint16_t id);

    // Replaces the instructions and the variable list with those of `lines`, one instruction per
    // non-empty line. Raises EConvertError for an operand that is not an integer and EListError for a
    // missing required operand, as EScriptError naming the line; the subprogram is then left exactly
    // as it was. Returns true.
    bool Assemble(const TStrings& lines);
    // Text of instruction n (from 0), empty past the end. An act instruction shows the called
    // subprogram's name when the store holds it and the name reads back to it, else the decimal id.
    std::string InstructionText(int n) const;

    // Reads an .act file (read-only) and assembles it. 0 on success; -1 when the file cannot be read,
    // holds bytes no text holds (TextFileRefusal), is not empty but gives no instruction, or does not
    // assemble,
    // and then nothing changes and reason (when given) says why: the system's reason, the file's, or
    // the assembler's message naming the line. Sets FilePath and Version on success.
    int LoadActFile(const std::string& path, std::string* reason = nullptr);
    // Writes the instructions as an .act file (through a temporary file, so a failure keeps the old
    // one). 0 when written; -1 when the file cannot be created, and then error (when given) receives
    // the system's reason (errno). The subprogram is not changed.
    int SaveActFile(const std::string& path, int* error = nullptr) const;

    // Why the database cannot hold this subprogram (its instruction or variable numbers would not fit
    // their one-byte keys), naming it; empty when it can be saved.
    std::string SaveRefusal() const;

    actionManager* Owner;
    uint8_t Flags = 0;                     // kActionAutostart marks an autostart subprogram
    uint32_t Lock = 0;                     // non-zero: DeleteAction refuses it
    TActionCaption Caption{this};          // shown instead of the name and matched like a second name
    std::string FilePath;                  // the .act file the text was last loaded from
    uint16_t Version = 0;                  // from version.ini
    std::vector<TActionLine> Instructions; // execution order
    TStringList Variables;                 // variable k (1-based) of an instruction is line k-1

private:
    std::string name_;
    uint16_t id_ = 0;
};

struct ActionFilter {
    enum : uint8_t { ByName = 0x04, ById = 0x08 };
    uint8_t Flags = 0; // 0: every subprogram passes; both bits: both must hold
    uint8_t Spare = 0;
    uint16_t Version = 0; // not matched; the store's copy gets the version of the last match
    std::string Name;
    uint16_t Id = 0;
};

// Owns every T_Action of a configuration, keyed by id in ascending order. All on the GUI thread.
class actionManager {
public:
    actionManager() = default;
    actionManager(const actionManager&) = delete;
    actionManager& operator=(const actionManager&) = delete;
    ~actionManager();

    // Deletes every subprogram, locked ones too, and ends any search.
    void Clear();

    // One search at a time: FindFirst starts over at the lowest id and ends any running search.
    // On a match the stored filter takes the match's name, id and version.
    T_Action* FindFirst(const ActionFilter& filter);
    // Continues after the last match (at the next higher id when that one was deleted); null at the end.
    T_Action* FindNext();
    const ActionFilter& Filter() const { return filter_; }
    T_Action* Current() const { return current_; }

    // A new subprogram with a fresh id (never 13), or null for an empty or already used name.
    T_Action* CreateAction(const std::string& name);
    // A new subprogram named "action<id>", or null when id is 0 or taken.
    T_Action* CreateActionWithId(uint16_t id);
    // a itself when the store holds it, else null; a is never dereferenced, so a stale pointer is safe.
    T_Action* Contains(const T_Action* a) const;
    // Deletes a unless it is null, foreign or locked.
    void DeleteAction(T_Action* a);

    // "нет" for 0, "???" for an unknown id, else the caption, the name or the decimal id.
    std::string DisplayName(uint16_t id) const;
    // True when the id names a subprogram with at least one instruction.
    bool IsDefined(uint16_t id) const;
    // Id of the subprogram whose name or caption is `name`; else the reserved id when that subprogram
    // still has its default name; else, when create is not 0, a new subprogram's id; else 0.
    uint16_t FindOrCreate(const std::string& name, uint16_t reservedId, int create);

    // The subprogram with this id, or null; does not touch the search.
    T_Action* ById(uint16_t id) const;
    // The lowest-id subprogram with exactly this name (not caption), or null; does not touch the search.
    T_Action* ByName(std::string_view name) const;
    const std::map<uint16_t, T_Action*>& Actions() const { return map_; }
    size_t Count() const { return map_.size(); }

private:
    friend class T_Action;
    friend class TActionCaption;
    T_Action* Walk(std::map<uint16_t, T_Action*>::const_iterator from);
    T_Action* Insert(uint16_t id, const std::string* name);
    // The lowest-id subprogram whose name or caption is text, or null.
    T_Action* ByText(std::string_view text) const;
    // Files a held subprogram's name and caption in byText_ (add) or takes them out; a subprogram
    // the store does not hold is left alone.
    void Index(const T_Action* a, bool add);

    std::map<uint16_t, T_Action*> map_;
    // Names and captions to the ids that carry them, and the subprograms held: devices look
    // subprograms up by name for each of their channels, so a walk per lookup would grow with the
    // square of the configuration.
    std::unordered_map<std::string, std::vector<uint16_t>> byText_;
    std::unordered_set<const T_Action*> held_;
    bool searching_ = false; // cursor_ is valid
    uint16_t cursor_ = 0;    // id of the last match
    T_Action* current_ = nullptr;
    ActionFilter filter_;
};

// Why bytes read from a user's file are no text: the first NUL or control byte that is not white
// space (tab, LF, VT, FF, CR), with its offset; empty for a text. Such a file is no subprogram source,
// whatever the assembler would make of it.
std::string TextFileRefusal(std::string_view bytes);

// Version of a subprogram from the version.ini beside its file (or beside `path` when it has no file
// path). 0 when it has no name, there is no such file, or the section is missing. A key whose value is
// missing or not an integer counts as 0; nothing is raised.
uint16_t ReadScriptVersion(const T_Action* action, const std::string& path);

// Folder of the plug-in files, ending in a separator: "plugin" beside the program unless set.
std::string PluginFolder();
// Points PluginFolder at another folder (tests, a relocated installation); empty restores the default.
void SetPluginFolder(const std::string& folder);
// PluginFolder() + subfolder + "/" + name + ".act"; an empty subfolder is the plug-in folder itself.
std::string PluginFile(std::string_view subfolder, std::string_view name);
