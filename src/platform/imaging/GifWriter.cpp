#include "platform/imaging/GifWriter.h"

#include <QIODevice>

#include <gif_lib.h>

#include <memory>

namespace pellix {

namespace {

int writeToDevice(GifFileType* gif, const GifByteType* data, int length) {
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return static_cast<int>(device->write(reinterpret_cast<const char*>(data), length));
}

SaveResult gifFailure(int gifError) {
    const char* text = GifErrorString(gifError);
    const int status =
        gifError == E_GIF_ERR_WRITE_FAILED ? ImageStatus::Win32Error : ImageStatus::GenericError;
    return {status, QString::fromUtf8(text ? text : "GIF encoder failed")};
}

struct ColorMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// giflib wants a power-of-two palette size.
std::unique_ptr<ColorMapObject, ColorMapDeleter> makeColorMap(const QList<QRgb>& table) {
    const int count = std::max(2, static_cast<int>(table.size()));
    std::unique_ptr<ColorMapObject, ColorMapDeleter> map(
        GifMakeMapObject(1 << GifBitSize(count), nullptr));
    if (!map) {
        return map;
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        map->Colors[i] =
            GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                         static_cast<GifByteType>(qBlue(c))};
    }
    return map;
}

} // namespace

SaveResult writeGif(const QImage& image, QIODevice& device) {
    // Qt picks the 256-colour palette; giflib does the LZW coding.
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::AutoColor);
    if (indexed.isNull()) {
        return {ImageStatus::OutOfMemory, QStringLiteral("not enough memory")};
    }
    auto colorMap = makeColorMap(indexed.colorTable());
    if (!colorMap) {
        return {ImageStatus::OutOfMemory, QStringLiteral("not enough memory")};
    }
    int error = 0;
    GifFileType* gif = EGifOpen(&device, writeToDevice, &error);
    if (!gif) {
        return gifFailure(error);
    }
    const int width = indexed.width();
    const int height = indexed.height();
    bool ok = EGifPutScreenDesc(gif, width, height, colorMap->BitsPerPixel, 0, colorMap.get()) ==
                  GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
        auto* line = const_cast<GifPixelType*>(indexed.constScanLine(y));
        ok = EGifPutLine(gif, line, width) == GIF_OK;
    }
    const int lastError = ok ? 0 : gif->Error;
    int closeError = 0;
    const bool closed = EGifCloseFile(gif, &closeError) == GIF_OK;
    if (!ok) {
        return gifFailure(lastError);
    }
    return closed ? SaveResult{} : gifFailure(closeError);
}

} // namespace pellix
