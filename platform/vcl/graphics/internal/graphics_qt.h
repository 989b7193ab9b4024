// Where the painting side of the GUI core meets Qt: text and colour conversions. Internal to
// platform/vcl (its sources and tests); the public headers carry no Qt types.
#pragma once

#include <QColor>
#include <QString>

#include "graphics.h"

// CP1251 text to Qt and back, where text meets Qt (every CP1251 byte is one UTF-16 unit).
QString ToQString(const std::string& s);
std::string FromQString(const QString& s);
// A colour (system colours resolved) as Qt paints it.
QColor ToQColor(TColor c);

// Qt text in a public signature: an incomplete type there, a QString here.
class TQtString : public QString {
public:
    using QString::QString;
    TQtString(const QString& s) : QString(s) {}
};
