#include "imageio/mImage.h"

#include "fakes/FakeImageEncoder.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

using namespace pellix;

namespace {

QImage smallPicture() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

Error saveError(FakeImageEncoder& encoder, std::int32_t format) {
    try {
        mImage::Save_Picture(encoder, smallPicture(), QStringLiteral("/tmp/x.jpg"), format, 90, 24,
                             0);
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error raised";
    return Error(0, {});
}

} // namespace

TEST(SavePicture, ChoosesEncoderAndParametersBySelector) {
    FakeImageEncoder encoder;
    const QString path = QStringLiteral("/d/Pellix.JPG");
    for (std::int32_t format = 0; format <= 3; ++format) {
        mImage::Save_Picture(encoder, smallPicture(), path, format, 77, 8, 2);
    }
    ASSERT_EQ(encoder.calls.size(), 4u);
    EXPECT_EQ(encoder.calls[0].encoder, Encoder::Gif);
    EXPECT_TRUE(encoder.calls[0].params.empty());
    EXPECT_EQ(encoder.calls[1].encoder, Encoder::Jpeg);
    ASSERT_EQ(encoder.calls[1].params.size(), 1u);
    EXPECT_EQ(encoder.calls[1].params[0].id, EncoderParameter::Quality);
    EXPECT_EQ(encoder.calls[1].params[0].value, 77);
    EXPECT_EQ(encoder.calls[2].encoder, Encoder::Png);
    EXPECT_TRUE(encoder.calls[2].params.empty());
    EXPECT_EQ(encoder.calls[3].encoder, Encoder::Tiff);
    ASSERT_EQ(encoder.calls[3].params.size(), 2u);
    EXPECT_EQ(encoder.calls[3].params[0].id, EncoderParameter::Compression);
    EXPECT_EQ(encoder.calls[3].params[0].value, 2);
    EXPECT_EQ(encoder.calls[3].params[1].id, EncoderParameter::ColorDepth);
    EXPECT_EQ(encoder.calls[3].params[1].value, 8);
    for (const auto& call : encoder.calls) {
        EXPECT_EQ(call.path, path);
        EXPECT_EQ(call.image, smallPicture());
    }
}

TEST(SavePicture, FailedSaveRaisesErrorFiveWithStatusBehindTheColon) {
    FakeImageEncoder encoder;
    encoder.result = {ImageStatus::Win32Error, QStringLiteral("No space left on device")};
    const Error error = saveError(encoder, mImage::PictureFormat::Jpeg);
    EXPECT_EQ(error.number(), 5);
    EXPECT_EQ(error.description(), QStringLiteral("Cannot save the image. GDI+ Error:7"));
    EXPECT_EQ(error.detail(), QStringLiteral("No space left on device"));
}

TEST(SavePicture, SelectorOutsideTheTableFailsWithNoEncoder) {
    for (std::int32_t format : {-1, 4, 1000}) {
        FakeImageEncoder encoder;
        encoder.result = {ImageStatus::InvalidParameter, QStringLiteral("no encoder chosen")};
        const Error error = saveError(encoder, format);
        ASSERT_EQ(encoder.calls.size(), 1u);
        EXPECT_EQ(encoder.calls[0].encoder, Encoder::None);
        EXPECT_TRUE(encoder.calls[0].params.empty());
        EXPECT_EQ(error.description(), QStringLiteral("Cannot save the image. GDI+ Error:2"));
    }
}
