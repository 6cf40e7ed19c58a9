// What a person offers as a cover becomes: small JPEG and PNG kept as they
// are, the rest scaled and converted, and non-images, images cut short and
// decompression bombs refused before they are decoded.
#include "core/report/failure.h"
#include "coverimage/cover_image.h"
#include "coverimage/image_scaling.h"
#include "support/cover_images.h"
#include "support/qt_printers.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
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

QByteArray filled(QImage::Format format, QColor colour, const char* encoding) {
    QImage image(240, 360, format);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, encoding)) << encoding;
    return bytes;
}

struct OneColour {
    const char* name;
    QByteArray bytes;
    QColor colour;
};

// Each format Qt reads, in each of its depths, filled with one colour: stored
// as the window stores it, then decoded as the cover view's tiles and the
// tooltip show it, every pixel keeps that colour (a palette image scaled in
// its own format came back black and white).
TEST(CoverImage, EveryFormatAndDepthShowsItsOwnColourWhenScaled) {
    using namespace CoverImages;
    const QColor red(200, 30, 40);
    const QByteArray rgb("\xc8\x1e\x28", 3);
    const QByteArray bgr("\x28\x1e\xc8\0", 4);
    // The colour is the palette's last entry, after black ones.
    const auto palette = [](const QByteArray& colour, int entries) {
        return QByteArray(colour.size(), '\0').repeated(entries - 1) + colour;
    };
    const auto grey = [](int level) { return QColor(level, level, level); };
    const auto value = [](int v) { return QByteArray(1, char(v)); };
    QList<OneColour> cases = {
        {"png, 1-bit palette of one colour", png(300, 450, 1, 3, value(0), rgb), red},
        {"png, 1-bit palette", png(300, 450, 1, 3, value(1), palette(rgb, 2)), red},
        {"png, 2-bit palette", png(300, 450, 2, 3, value(3), palette(rgb, 4)), red},
        {"png, 4-bit palette", png(300, 450, 4, 3, value(15), palette(rgb, 16)), red},
        {"png, 8-bit palette", png(300, 450, 8, 3, value(255), palette(rgb, 256)), red},
        {"png, larger than a cover", png(2400, 3600, 1, 3, value(0), rgb), red},
        {"png, 1-bit grey", png(300, 450, 1, 0, value(1)), grey(255)},
        {"png, 2-bit grey", png(300, 450, 2, 0, value(2)), grey(170)},
        {"png, 4-bit grey", png(300, 450, 4, 0, value(9)), grey(153)},
        {"png, 8-bit grey", png(300, 450, 8, 0, value(100)), grey(100)},
        {"png, 16-bit grey", png(300, 450, 16, 0, "dd"), grey(100)},
        {"png, grey and alpha", png(300, 450, 8, 4, "d\xff"), grey(100)},
        {"png, 16-bit grey and alpha", png(300, 450, 16, 4, "dd\xff\xff"), grey(100)},
        {"png, 16-bit colour", png(300, 450, 16, 2, "\xc8\xc8\x1e\x1e\x28\x28"), red},
        {"jpeg", filled(QImage::Format_RGB32, red, "JPEG"), red},
        {"jpeg, grey", filled(QImage::Format_Grayscale8, grey(100), "JPEG"), grey(100)},
        {"gif, 1 bit", gif(240, 360, palette(rgb, 2), 1), red},
        {"gif, 8 bits", gif(240, 360, palette(rgb, 256), 255), red},
        {"bmp, 1 bit", bmp(240, 360, 1, palette(bgr, 2), 1), red},
        {"bmp, 4 bits", bmp(240, 360, 4, palette(bgr, 16), 15), red},
        {"bmp, 8 bits", bmp(240, 360, 8, palette(bgr, 256), 255), red},
    };
    if (QImageReader::supportedImageFormats().contains("webp")) {
        cases.append({"webp", filled(QImage::Format_RGB32, red, "WEBP"), red});
    }
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
               std::abs(a.blue() - b.blue()) <= 8;
    };
    for (const OneColour& c : cases) {
        const Cover cover = CoverImage::fromBytes(c.bytes, QStringLiteral("cover"));
        for (const QSize box : {QSize(120, 180), QSize(200, 200)}) {
            const QImage shown = ImageScaling::decodeToFit(cover.bytes, box);
            ASSERT_EQ(shown.size(),
                      QSize(cover.width, cover.height).scaled(box, Qt::KeepAspectRatio))
                << c.name;
            for (const QPoint at : {QPoint(1, 1), shown.rect().center()}) {
                EXPECT_TRUE(near(shown.pixelColor(at), c.colour))
                    << c.name << " in " << box.width() << "x" << box.height() << " at " << at.x()
                    << "," << at.y() << ": " << shown.pixelColor(at).name().toStdString();
            }
        }
    }
}

} // namespace
