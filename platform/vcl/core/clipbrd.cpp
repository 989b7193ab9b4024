// Clipboard over QClipboard; CP1251 <-> Unicode happens here. GUI core (platform/vcl).
#include "clipbrd.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "cp1251.h"
#include "forms.h"
#include "graphics_qt.h"

std::string TClipboard::AsText() const
{
    TApplication::QtApp();
    return Utf8ToCp1251(QGuiApplication::clipboard()->text().toStdString());
}

void TClipboard::SetAsText(const std::string& v)
{
    TApplication::QtApp();
    QGuiApplication::clipboard()->setText(QString::fromStdString(Cp1251ToUtf8(v)));
}

bool TClipboard::HasFormat(UINT Format) const
{
    TApplication::QtApp();
    const QMimeData* d = QGuiApplication::clipboard()->mimeData();
    if (!d)
        return false;
    if (Format == CF_TEXT || Format == CF_UNICODETEXT)
        return d->hasText();
    if (Format == CF_BITMAP)
        return d->hasImage();
    return false;
}

void TClipboard::Clear()
{
    TApplication::QtApp();
    QGuiApplication::clipboard()->clear();
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
