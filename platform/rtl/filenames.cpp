// File-name helpers and file-system queries of the runtime layer. Paths may use '\' (as the
// program built them on Windows) or '/'; the file system always gets '/', and UTF-8 names.
#include "sysutils.h"

#include "cp1251.h"
#include "msgbox.h"
#include "programpath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool IsDelim(char c) { return c == '\\' || c == '/'; }

// Index just after the last folder separator or drive colon; 0 when none.
size_t NameStart(std::string_view s) {
    for (size_t i = s.size(); i > 0; --i)
        if (IsDelim(s[i - 1]) || s[i - 1] == ':')
            return i;
    return 0;
}

// Index of the extension's '.', or npos.
size_t ExtStart(std::string_view s) {
    size_t start = NameStart(s);
    for (size_t i = s.size(); i > start; --i)
        if (s[i - 1] == '.')
            return i - 1;
    return std::string_view::npos;
}

} // namespace

std::string ExtractFilePath(std::string_view f) { return std::string(f.substr(0, NameStart(f))); }

std::string ExtractFileDir(std::string_view f) {
    size_t n = NameStart(f);
    // Keep a root ("/" or "C:\") whole.
    if (n > 1 && IsDelim(f[n - 1]) && f[n - 2] != ':')
        --n;
    return std::string(f.substr(0, n));
}

std::string ExtractFileName(std::string_view f) { return std::string(f.substr(NameStart(f))); }

std::string ExtractFileExt(std::string_view f) {
    size_t e = ExtStart(f);
    return e == std::string_view::npos ? std::string() : std::string(f.substr(e));
}

std::string ChangeFileExt(std::string_view f, std::string_view ext) {
    size_t e = ExtStart(f);
    return std::string(f.substr(0, e == std::string_view::npos ? f.size() : e)) + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view s) {
    std::string r(s);
    if (r.empty() || !IsDelim(r.back()))
        r += PathDelim;
    return r;
}

std::string IncludeTrailingBackslash(std::string_view s) { return IncludeTrailingPathDelimiter(s); }

std::string ExcludeTrailingPathDelimiter(std::string_view s) {
    std::string r(s);
    if (!r.empty() && IsDelim(r.back()))
        r.pop_back();
    return r;
}

std::string ExcludeTrailingBackslash(std::string_view s) { return ExcludeTrailingPathDelimiter(s); }

std::string NativePath(std::string_view f) {
    std::string r(f);
    for (char& c : r)
        if (c == '\\')
            c = '/';
    return Cp1251ToUtf8(r);
}

bool TryFromNativePath(std::string_view native, std::string& out) { return TryUtf8ToCp1251(native, out); }

std::string UnrepresentableNameMessage(std::string_view native) {
    return "Имя \"" + Utf8ToCp1251(native) +
           "\" содержит символы, которых нет в кодировке Windows-1251, "
           "и не может быть использовано.";
}

std::string ProgramPath() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return std::string();
    const std::string_view native(buf, size_t(n));
    std::string path;
    if (TryFromNativePath(native, path))
        return path;
    static bool told = false;
    if (!told) {
        told = true; // before the box: its caption may ask for the program's name again
        ShowMessageBoxText(UnrepresentableNameMessage(native).c_str(), "Ошибка", MB_OK | MB_ICONERROR);
    }
    return std::string();
}

bool FileExists(std::string_view f) {
    std::error_code ec;
    return !f.empty() && fs::is_regular_file(NativePath(f), ec);
}

bool DirectoryExists(std::string_view d) {
    std::error_code ec;
    return !d.empty() && fs::is_directory(NativePath(d), ec);
}

// A file only: an empty folder is not deleted, as on Windows.
bool DeleteFile(std::string_view f) { return ::unlink(NativePath(f).c_str()) == 0; }

bool RenameFile(std::string_view oldName, std::string_view newName) {
    std::error_code ec;
    // Never replace an existing file: renaming onto one fails.
    if (fs::exists(NativePath(newName), ec))
        return false;
    return std::rename(NativePath(oldName).c_str(), NativePath(newName).c_str()) == 0;
}

bool ForceDirectories(std::string_view d) {
    std::error_code ec;
    if (d.empty())
        return false;
    fs::create_directories(NativePath(d), ec);
    return DirectoryExists(d);
}

std::string GetCurrentDir() {
    std::error_code ec;
    std::string dir;
    TryFromNativePath(fs::current_path(ec).string(), dir); // '?' where the name cannot be held
    return dir;
}
