#pragma once

#include "platform/ImageEncoder.h"

#include <vector>

namespace pellix {

struct EncoderCall {
    QImage image;
    QString path;
    Encoder encoder;
    std::vector<EncoderParam> params;
};

// Answers every save with `result`, and remembers what it was asked to write.
class FakeImageEncoder : public ImageEncoder {
public:
    SaveResult save(const QImage& image, const QString& path, Encoder encoder,
                    const std::vector<EncoderParam>& params) override {
        calls.push_back({image, path, encoder, params});
        return result;
    }

    SaveResult result;
    std::vector<EncoderCall> calls;
};

} // namespace pellix
