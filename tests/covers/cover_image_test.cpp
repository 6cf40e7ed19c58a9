// What a person offers as a cover becomes: small JPEG and PNG kept as they
// are, the rest scaled and converted, and non-images, images cut short and
// decompression bombs refused before they are decoded.
#include "core/report/failure.h"
#include "mainwindow/covers/cover_image.h"
#include "support/cover_images.h"
#include "support/qt_printers.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray encoded(QSize size, const char* format, bool transparent = false) {
    QImage image(size, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(transparent ? QColor(200, 10, 10, 100) : QColor(10, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

struct Accepted {
    const char* name;
    QByteArray bytes;
    bool keptAsGiven;
    const char* format;
    QSize size;
};

TEST(CoverImage, KeepsSmallJpegAndPngAndScalesOrConvertsTheRest) {
    const Accepted cases[] = {
        {"small png", encoded({100, 150}, "PNG"), true, "png", {100, 150}},
        {"small jpeg", encoded({1200, 800}, "JPEG"), true, "jpeg", {1200, 800}},
        {"large jpeg", encoded({2400, 1200}, "JPEG"), false, "jpeg", {1200, 600}},
        {"bmp", encoded({50, 40}, "BMP"), false, "jpeg", {50, 40}},
        {"large transparent png", encoded({1600, 3200}, "PNG", true), false, "png", {600, 1200}},
    };
    for (const Accepted& c : cases) {
        const Cover cover = CoverImage::fromBytes(c.bytes, QStringLiteral("cover"));
        EXPECT_EQ(cover.bytes == c.bytes, c.keptAsGiven) << c.name;
        EXPECT_EQ(cover.format, QString::fromLatin1(c.format)) << c.name;
        EXPECT_EQ(QSize(cover.width, cover.height), c.size) << c.name;
        EXPECT_EQ(QImage::fromData(cover.bytes).size(), c.size) << c.name;
    }
}

struct Refused {
    const char* name;
    QByteArray bytes;
    const char* message;
};

TEST(CoverImage, RefusesWhatIsNoWholeImageOrTooLargeToDecode) {
    const QByteArray png = encoded({300, 300}, "PNG");
    const QByteArray jpeg = encoded({300, 300}, "JPEG");
    const Refused cases[] = {
        {"text", "title,year\r\nAlien,1979\r\n", "x.png is not an image that can be read."},
        {"empty", {}, "x.png is not an image that can be read."},
        {"png cut short", png.left(png.size() / 2),
         "x.png is not a whole image: the image file is cut short."},
        {"jpeg cut short", jpeg.left(jpeg.size() / 2),
         "x.png is not a whole image: the image file is cut short."},
        // Only a header: 1.6 GB of pixels once decoded, refused unread.
        {"bomb", CoverImages::pngHeader(20000, 20000),
         "x.png is 20000 x 20000 pixels, too large to be read as a cover."},
    };
    for (const Refused& c : cases) {
        try {
            CoverImage::fromBytes(c.bytes, QStringLiteral("x.png"));
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const Failure& failure) {
            EXPECT_TRUE(failure.description().startsWith(QString::fromUtf8(c.message)))
                << c.name << ": " << failure.description().toStdString();
        }
    }
    EXPECT_THROW(CoverImage::fromImage(QImage()), Failure);
}

TEST(CoverImage, ThePastedImageIsStoredScaledAndEncoded) {
    QImage pasted(1300, 650, QImage::Format_RGB32);
    pasted.fill(Qt::darkGreen);
    const Cover cover = CoverImage::fromImage(pasted);
    EXPECT_EQ(cover.format, QStringLiteral("jpeg"));
    EXPECT_EQ(QImage::fromData(cover.bytes, "JPEG").size(), QSize(1200, 600));
}

} // namespace
