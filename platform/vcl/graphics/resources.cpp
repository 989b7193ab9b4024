// The registry of named images and TBitmap::LoadFromResourceName. GUI core.
#include "resources.h"

#include <QByteArray>
#include <QImage>

#include <map>
#include <mutex>

#include "graphics_qt.h"

HINSTANCE HInstance = 0x400000;

namespace {

struct TEntry {
    QByteArray Data;
    QPoint HotSpot;
};

std::mutex gLock;

std::map<std::string, TEntry>& Registry() {
    static std::map<std::string, TEntry> r;
    return r;
}

} // namespace

void RegisterResourceImage(const std::string& Name, const void* Data, std::size_t Size, TPoint HotSpot) {
    std::lock_guard<std::mutex> g(gLock);
    Registry()[UpperCase(Name)] =
        TEntry{QByteArray(static_cast<const char*>(Data), qsizetype(Size)), QPoint(HotSpot.x, HotSpot.y)};
}

bool ResourceImageExists(const std::string& Name) {
    std::lock_guard<std::mutex> g(gLock);
    return Registry().count(UpperCase(Name)) != 0;
}

bool ResourceImage(const std::string& Name, QImage& image, QPoint& hotSpot) {
    QByteArray data;
    {
        std::lock_guard<std::mutex> g(gLock);
        auto it = Registry().find(UpperCase(Name));
        if (it == Registry().end())
            return false;
        data = it->second.Data;
        hotSpot = it->second.HotSpot;
    }
    image = QImage::fromData(data);
    return !image.isNull();
}

void TBitmap::LoadFromResourceName(HINSTANCE, const std::string& Name) {
    QImage img;
    QPoint hot;
    if (!ResourceImage(Name, img, hot))
        throw EResNotFound("Resource " + Name + " not found");
    SetImage(img.convertToFormat(QImage::Format_RGB32));
}
