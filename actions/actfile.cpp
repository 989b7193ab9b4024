// .act subprogram files and version.ini (actions layer). Byte layout in FORMAT.md.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "actions.h"
#include "inifiles.h"
#include "replacefile.h"
#include "sysutils.h"

namespace {

constexpr char kFieldEnd = ';';
constexpr char kLineEnd = '\n';
constexpr std::string_view kJumpPrefix = "@l:";
constexpr std::string_view kJumpMnemonic = "goto";
constexpr int kOperandFields = 4; // fields after the fourth operand are ignored
// The raw form takes the code and all five operand bytes.
constexpr int kRawOperandFields = 1 + kOperandBytes;
constexpr std::string_view kVersionFile = "version.ini";
constexpr std::string_view kVersionLow = "version_l";
constexpr std::string_view kVersionHigh = "version_h";

// The C library's white space, which ends a line of the file.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads the whole file; 0, or the system's reason (errno) when it cannot be opened or read (no
// permission) or is no regular file: a folder, a device or a pipe would give no text or never end.
int ReadWholeFile(const std::string& path, std::string& out) {
    const std::string native = NativePath(path);
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return EINVAL;
    FILE* f = std::fopen(native.c_str(), "rb"); // read-only: an installed plug-in may be read-only
    if (!f)
        return errno;
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, got);
    const int error = std::ferror(f) ? (errno ? errno : EIO) : 0;
    std::fclose(f);
    return error;
}

// The text of a file that is no subprogram source, after the system's reason in a message.
constexpr std::string_view kNoInstruction = "В файле нет ни одной инструкции";

// One white-space-free run of the file ("2;push;x;2;4;") as assembler text ("push x 2 4").
// A field whose closing ';' is missing reads as empty and does not advance the cursor.
std::string RunToLine(std::string_view run) {
    size_t at = 0;
    auto field = [&]() -> std::string_view {
        size_t end = run.find(kFieldEnd, at);
        if (end == std::string_view::npos)
            return {};
        std::string_view f = run.substr(at, end - at);
        at = end + 1;
        return f;
    };
    field(); // the instruction number
    std::string_view mnemonic = field();
    std::string line(mnemonic);
    bool jump = mnemonic.find(kJumpMnemonic) != std::string_view::npos;
    const int operands = mnemonic == kRawOpcodeText ? kRawOperandFields : kOperandFields;
    for (int i = 0; i < operands; ++i) {
        if (i == 0 && jump) {
            line += ' ';
            line += kJumpPrefix;
        } else {
            line += ' ';
        }
        line += field();
    }
    return Trim(line);
}

} // namespace

std::string TextFileRefusal(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if ((c < ' ' && !IsSpace(char(c))) || c == 0x7F)
            return "Это не текстовый файл (байт $" + IntToHex(c, 2) + " по смещению " + IntToStr(int64_t(i)) +
                   ")";
    }
    return {};
}

int T_Action::LoadActFile(const std::string& path, std::string* reason) {
    auto fail = [reason](const std::string& why) {
        if (reason)
            *reason = why;
        return -1;
    };
    std::string data;
    if (const int error = ReadWholeFile(path, data); error != 0)
        return fail(SysErrorMessage(unsigned(error)));
    // A file of another kind, or text that gives no line, would silently empty the subprogram; an
    // empty file is how an empty subprogram is saved.
    if (std::string why = TextFileRefusal(data); !why.empty())
        return fail(why);
    TStringList lines;
    bool any = false;
    for (size_t i = 0; i < data.size();) {
        while (i < data.size() && IsSpace(data[i]))
            ++i;
        size_t start = i;
        while (i < data.size() && !IsSpace(data[i]))
            ++i;
        if (i > start) {
            lines.Add(RunToLine(std::string_view(data).substr(start, i - start)));
            any = any || !lines[lines.Count() - 1].empty();
        }
    }
    if (!any && !data.empty())
        return fail(std::string(kNoInstruction));
    // A file that does not assemble is as unusable as a missing one; the assembler's message says why.
    try {
        Assemble(lines);
    } catch (const EConvertError& e) {
        return fail(e.Message);
    } catch (const EListError& e) {
        return fail(e.Message);
    }
    FilePath = path;
    Version = ReadScriptVersion(this, "");
    return 0;
}

int T_Action::SaveActFile(const std::string& path, int* error) const {
    std::string data;
    for (size_t i = 0; i < Instructions.size(); ++i) {
        std::string line = IntToStr(int64_t(i + 1)) + kFieldEnd + InstructionText(int(i));
        if (size_t at = line.find(kJumpPrefix); at != std::string::npos)
            line.erase(at, kJumpPrefix.size());
        for (char& c : line)
            if (c == ' ')
                c = kFieldEnd;
        data += line;
        data += kFieldEnd;
        if (i + 1 < Instructions.size())
            data += kLineEnd;
    }
    // A link is written through to its file; a folder that takes no new file still lets a
    // writable file be saved, in place.
    const TReplaceResult written =
        ReplaceFileBytes(path, data, {.ThroughLinks = true, .InPlaceWhenFolderIsClosed = true});
    if (error)
        *error = written.Error;
    return written ? 0 : -1;
}

uint16_t ReadScriptVersion(const T_Action* action, const std::string& path) {
    if (!action || action->Name().empty())
        return 0;
    std::string ini;
    auto candidate = [&](const std::string& file) {
        std::string name = ExtractFilePath(file) + std::string(kVersionFile);
        if (FileExists(name))
            ini = name;
    };
    if (!path.empty())
        candidate(path);
    if (!action->FilePath.empty())
        candidate(action->FilePath); // the subprogram's own folder wins
    if (ini.empty())
        return 0;
    try {
        TIniFile file(ini);
        // Unsigned, so the sum of any two integers wraps instead of overflowing before the cut.
        auto key = [&](std::string_view ident) -> uint32_t {
            int v;
            return TryStrToInt(file.ReadString(action->Name(), ident, "0"), v) ? uint32_t(v) : 0;
        };
        return uint16_t(key(kVersionLow) + key(kVersionHigh) * 256u);
    } catch (const std::exception&) {
        return 0; // an unreadable file is as good as none; callers run during loads and checks
    }
}
