// Clipboard over QClipboard; CP1251 <-> Unicode happens here. Private formats are MIME types of our
// own carrying raw bytes. GUI core (platform/vcl).
#include "clipbrd.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "cp1251.h"
#include "forms.h"
#include "graphics_qt.h"

namespace {

// Size in front of the bytes: a block is one allocation.
struct TGlobalBlock {
    size_t Size;
    int Locks;
};

std::vector<std::string>& FormatNames() {
    static std::vector<std::string> names;
    return names;
}

constexpr UINT kFirstPrivate = 0xC000;

// The MIME type a private format travels under: its name with everything but letters and digits
// written as _XX, so any Windows-1251 name makes a valid type.
QString MimeOf(UINT Format) {
    if (Format < kFirstPrivate || Format - kFirstPrivate >= FormatNames().size())
        return {};
    std::string mime = "application/x-qbxconf-";
    static const char hex[] = "0123456789ABCDEF";
    for (unsigned char ch : FormatNames()[Format - kFirstPrivate])
        if ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) {
            mime += char(ch);
        } else {
            mime += '_';
            mime += hex[ch >> 4];
            mime += hex[ch & 15];
        }
    return QString::fromLatin1(mime.c_str());
}

int gOpenCount = 0;
bool gEmptied = false;
std::unique_ptr<QMimeData> gPending;
// Blocks handed out by GetAsHandle, freed when the next one of the format is asked for.
std::map<UINT, HGLOBAL> gHandedOut;

void DropHandedOut() {
    for (auto& [f, h] : gHandedOut)
        GlobalFree(h);
    gHandedOut.clear();
}

// The data being written: a fresh set on the first write of an Open/Close bracket.
QMimeData* Adding() {
    if (!gEmptied) {
        gPending = std::make_unique<QMimeData>();
        gEmptied = true;
    }
    return gPending.get();
}

} // namespace

HGLOBAL GlobalAlloc(UINT Flags, size_t Bytes) {
    auto* b = static_cast<TGlobalBlock*>(std::malloc(sizeof(TGlobalBlock) + Bytes));
    if (!b)
        return nullptr;
    b->Size = Bytes;
    b->Locks = 0;
    if (Flags & GMEM_ZEROINIT)
        std::memset(b + 1, 0, Bytes);
    return b;
}

void* GlobalLock(HGLOBAL Mem) {
    if (!Mem)
        return nullptr;
    auto* b = static_cast<TGlobalBlock*>(Mem);
    ++b->Locks;
    return b + 1;
}

BOOL GlobalUnlock(HGLOBAL Mem) {
    if (!Mem)
        return 0;
    auto* b = static_cast<TGlobalBlock*>(Mem);
    if (b->Locks > 0)
        --b->Locks;
    return b->Locks > 0;
}

size_t GlobalSize(HGLOBAL Mem) { return Mem ? static_cast<TGlobalBlock*>(Mem)->Size : 0; }

HGLOBAL GlobalFree(HGLOBAL Mem) {
    std::free(Mem);
    return nullptr;
}

UINT RegisterClipboardFormat(const std::string& Name) {
    if (Name.empty())
        return 0;
    auto& names = FormatNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == Name)
            return kFirstPrivate + UINT(i);
    names.push_back(Name);
    return kFirstPrivate + UINT(names.size() - 1);
}

void TClipboard::Open() {
    TApplication::QtApp();
    if (gOpenCount++ == 0)
        gEmptied = false;
}

void TClipboard::Close() {
    if (gOpenCount == 0 || --gOpenCount > 0)
        return;
    if (gPending) {
        DropHandedOut();
        QGuiApplication::clipboard()->setMimeData(gPending.release());
    }
    gEmptied = false;
}

std::string TClipboard::AsText() const {
    TApplication::QtApp();
    return Utf8ToCp1251(QGuiApplication::clipboard()->text().toStdString());
}

void TClipboard::SetAsText(const std::string& v) {
    Open();
    Adding()->setText(QString::fromStdString(Cp1251ToUtf8(v)));
    Close();
}

bool TClipboard::HasFormat(UINT Format) const {
    TApplication::QtApp();
    const QMimeData* d = QGuiApplication::clipboard()->mimeData();
    if (!d)
        return false;
    if (Format == CF_TEXT || Format == CF_UNICODETEXT)
        return d->hasText();
    if (Format == CF_BITMAP)
        return d->hasImage();
    QString mime = MimeOf(Format);
    return !mime.isEmpty() && d->hasFormat(mime);
}

void TClipboard::Clear() {
    Open();
    Adding();
    Close();
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, size_t Size) {
    if (Format == CF_TEXT) {
        const char* p = static_cast<const char*>(Buffer);
        SetAsText(std::string(p, strnlen(p, Size)));
        return;
    }
    QString mime = MimeOf(Format);
    if (mime.isEmpty())
        return;
    Open();
    Adding()->setData(mime, QByteArray(static_cast<const char*>(Buffer), qsizetype(Size)));
    Close();
}

std::string TClipboard::GetBuffer(UINT Format) const {
    if (Format == CF_TEXT)
        return AsText();
    TApplication::QtApp();
    const QMimeData* d = QGuiApplication::clipboard()->mimeData();
    QString mime = MimeOf(Format);
    if (!d || mime.isEmpty() || !d->hasFormat(mime))
        return {};
    QByteArray a = d->data(mime);
    return std::string(a.constData(), size_t(a.size()));
}

void TClipboard::SetAsHandle(UINT Format, HGLOBAL Value) {
    if (!Value)
        return;
    SetBuffer(Format, static_cast<TGlobalBlock*>(Value) + 1, GlobalSize(Value));
    GlobalFree(Value);
}

HGLOBAL TClipboard::GetAsHandle(UINT Format) {
    if (!HasFormat(Format))
        return nullptr;
    std::string bytes = GetBuffer(Format);
    if (Format == CF_TEXT)
        bytes.push_back('\0');
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!h)
        return nullptr;
    std::memcpy(static_cast<TGlobalBlock*>(h) + 1, bytes.data(), bytes.size());
    auto it = gHandedOut.find(Format);
    if (it != gHandedOut.end())
        GlobalFree(it->second);
    gHandedOut[Format] = h;
    return h;
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
