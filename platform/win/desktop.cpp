// Beside-the-GUI platform layer: opening on the desktop through QDesktopServices.
#include "desktop.h"

#include <filesystem>
#include <string>

#include <QDesktopServices>
#include <QFile>
#include <QString>
#include <QUrl>

#include "cp1251.h"
#include "sysutils.h"

namespace {

// "scheme:" with a scheme of two letters or more, so that a drive letter is no scheme.
bool HasScheme(std::string_view t) {
    const size_t colon = t.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return false;
    for (size_t i = 0; i < colon; ++i) {
        const char c = t[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return false;
    }
    return true;
}

} // namespace

bool ShellOpen(std::string_view Target) {
    const std::string target = Trim(Target);
    if (target.empty())
        return false;
    QUrl url;
    if (HasScheme(target)) {
        url = QUrl(QString::fromStdString(Cp1251ToUtf8(target)));
    } else if (target.rfind("www.", 0) == 0) {
        url = QUrl(QString::fromStdString("http://" + Cp1251ToUtf8(target)));
    } else {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(NativePath(target), ec);
        if (ec)
            return false;
        url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(full.string())));
    }
    return url.isValid() && QDesktopServices::openUrl(url);
}
