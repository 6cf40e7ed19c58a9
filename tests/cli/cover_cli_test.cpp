// reelkeeper-cli cover and list --covers on real catalogue files.
#include "cli/cli_fixture.h"
#include "support/cover_images.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#ifdef REELKEEPER_CLI_SCALES_COVERS
#include <QImage>
#include <QRandomGenerator>
#endif

namespace {

class CoverCliTest : public CliTest {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addTitles(file, {QStringLiteral("Brazil"), QStringLiteral("Alien")});
    }
    int run(const QStringList& arguments) { return runOn(file, arguments); }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dirs.root() + QLatin1Char('/') + name;
        QFile image(path);
        EXPECT_TRUE(image.open(QIODevice::WriteOnly));
        image.write(bytes);
        return path;
    }
    std::string errText() const { return err.data().toStdString(); }

    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
};

TEST_F(CoverCliTest, SetGetRemoveAndListTheCoverColumn) {
    const QByteArray png = CoverImages::png(800, 1200);
    ASSERT_EQ(run({"cover", "set", "2", write("a.png", png)}), Cli::kExitDone) << errText();
    const QString copy = dirs.root() + QStringLiteral("/copy.png");
    ASSERT_EQ(run({"cover", "get", "2", copy}), Cli::kExitDone) << errText();
    EXPECT_EQ(TempCatalogue::fileBytes(copy), png);
    ASSERT_EQ(run({"cover", "get", "2", "-"}), Cli::kExitDone);
    EXPECT_EQ(out.data(), png);

    ASSERT_EQ(run({"list", "--covers"}), Cli::kExitDone) << errText();
    EXPECT_EQ(out.data(), "id,title,year,genre,cast,director,runtime,rating,studio,cover\r\n"
                          "2,Alien,,,,,,,,yes\r\n"
                          "1,Brazil,,,,,,,,\r\n");
    ASSERT_EQ(run({"list"}), Cli::kExitDone);
    EXPECT_FALSE(out.data().contains("cover"));

    ASSERT_EQ(run({"cover", "remove", "2"}), Cli::kExitDone) << errText();
    EXPECT_EQ(run({"cover", "get", "2", copy}), Cli::kExitFailed);
    EXPECT_EQ(err.data(), "reelkeeper-cli: Movie 2 has no cover.\n");
    EXPECT_EQ(run({"cover", "remove", "2"}), Cli::kExitFailed);
}

struct Refusal {
    const char* name;
    QByteArray image;
    QStringList arguments; // "IMAGE" stands for the image file
    int status;
    const char* message;
};

TEST_F(CoverCliTest, RefusesWhatItCannotStoreAndChangesNothing) {
    const QByteArray before = TempCatalogue::fileBytes(file);
    const Refusal cases[] = {
        {"a gif",
         "GIF89a\x01\0\x01\0",
         {"set", "1", "IMAGE"},
         Cli::kExitFailed,
         "is not a JPEG or PNG image. The command line stores JPEG and PNG images as they are; "
         "the window converts other images."},
#ifndef REELKEEPER_CLI_SCALES_COVERS
        // Without an image decoder a larger image cannot be scaled.
        {"too large",
         CoverImages::jpegHeader(1201, 900),
         {"set", "1", "IMAGE"},
         Cli::kExitFailed,
         "is 1201 x 900 pixels; a cover is at most 1200 pixels on the longer side."},
#endif
        {"cut short",
         CoverImages::pngHeader(10, 10).chopped(12),
         {"set", "1", "IMAGE"},
         Cli::kExitFailed,
         "is not a whole image: the image file is cut short."},
        {"png without its data",
         CoverImages::pngHeader(10, 10),
         {"set", "1", "IMAGE"},
         Cli::kExitFailed,
         "is not a whole image: its image data is damaged or does not fill the image."},
        {"jpeg without a scan",
         CoverImages::jpegHeader(10, 10),
         {"set", "1", "IMAGE"},
         Cli::kExitFailed,
         "is not a whole image: it ends before any image data."},
        {"a device",
         {},
         {"set", "1", "/dev/zero"},
         Cli::kExitFailed,
         "/dev/zero is a device, not a regular file."},
        {"no such movie",
         CoverImages::jpeg(10, 10),
         {"set", "9", "IMAGE"},
         Cli::kExitFailed,
         "There is no movie with the id 9."},
        {"remove, no such movie",
         {},
         {"remove", "999"},
         Cli::kExitFailed,
         "There is no movie with the id 999."},
        {"get, no such movie",
         {},
         {"get", "999", "-"},
         Cli::kExitFailed,
         "There is no movie with the id 999."},
        {"no such file",
         {},
         {"set", "1", "/nonexistent/x.png"},
         Cli::kExitFailed,
         "Could not read /nonexistent/x.png"},
        {"not an id", {}, {"remove", "x1"}, Cli::kExitNotUnderstood, "'x1' is not a movie id."},
        {"no action", {}, {}, Cli::kExitNotUnderstood, "cover needs one of:"},
        {"unknown action",
         {},
         {"paint", "1"},
         Cli::kExitNotUnderstood,
         "cover has no action 'paint'."},
        {"missing file", {}, {"set", "1"}, Cli::kExitNotUnderstood, "cover set takes ID FILE."},
        {"extra argument",
         {},
         {"remove", "1", "2"},
         Cli::kExitNotUnderstood,
         "cover remove takes ID."},
    };
    const QString image = dirs.root() + QStringLiteral("/image");
    for (const Refusal& c : cases) {
        QStringList arguments{"cover"};
        for (const QString& argument : c.arguments) {
            arguments << (argument == QStringLiteral("IMAGE") ? write("image", c.image) : argument);
        }
        EXPECT_EQ(run(arguments), c.status) << c.name;
        EXPECT_TRUE(QString::fromUtf8(err.data()).contains(QString::fromUtf8(c.message)))
            << c.name << ": " << errText();
    }
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

// get writes a cover under its own format's ending when the name asked for
// ends like another image format, and says so; it never replaces a file it
// was not asked to write.
TEST_F(CoverCliTest, GetNamesTheFileForTheCoversFormat) {
    const QByteArray png = CoverImages::png(80, 120);
    ASSERT_EQ(run({"cover", "set", "2", write("a.png", png)}), Cli::kExitDone) << errText();
    const QString asked = dirs.root() + QStringLiteral("/front.JPG");
    const QString written = dirs.root() + QStringLiteral("/front.png");
    ASSERT_EQ(run({"cover", "get", "2", asked}), Cli::kExitDone) << errText();
    EXPECT_FALSE(QFile::exists(asked));
    EXPECT_EQ(TempCatalogue::fileBytes(written), png);
    EXPECT_EQ(QString::fromUtf8(err.data()),
              QStringLiteral("reelkeeper-cli: The cover is a PNG image: it was written to %1.\n")
                  .arg(written));
    EXPECT_EQ(run({"cover", "get", "2", asked}), Cli::kExitFailed);
    EXPECT_TRUE(err.data().contains("already exists: name a png file to write it."));
    // A name without an image ending is written as it stands.
    ASSERT_EQ(run({"cover", "get", "2", dirs.root() + QStringLiteral("/front.cover")}),
              Cli::kExitDone);
    EXPECT_EQ(TempCatalogue::fileBytes(dirs.root() + QStringLiteral("/front.cover")), png);
}

#ifdef REELKEEPER_CLI_SCALES_COVERS
// As the window does: an image larger than a cover is scaled down, and a PNG
// over 1 MB is stored as JPEG.
TEST_F(CoverCliTest, SetScalesLargeImagesAndReencodesHeavyPngs) {
    QImage noise(700, 700, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y) {
        random.fillRange(reinterpret_cast<quint32*>(noise.scanLine(y)), noise.width());
    }
    QByteArray heavy;
    QBuffer buffer(&heavy);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(noise.save(&buffer, "PNG"));
    ASSERT_GT(heavy.size(), 1024 * 1024);
    const QByteArray wide = CoverImages::png(2400, 1600, 8, 2, "\xc8\x1e\x28");
    const struct {
        QByteArray image;
        QSize stored;
    } cases[] = {{heavy, {700, 700}}, {wide, {1200, 800}}};
    for (const auto& c : cases) {
        ASSERT_EQ(run({"cover", "set", "1", write("in.png", c.image)}), Cli::kExitDone)
            << errText();
        ASSERT_EQ(run({"cover", "get", "1", "-"}), Cli::kExitDone);
        const QImage stored = QImage::fromData(out.data(), "JPEG");
        EXPECT_EQ(stored.size(), c.stored);
    }
    EXPECT_NEAR(QImage::fromData(out.data()).pixelColor(600, 400).red(), 200, 8);
}
#endif

TEST_F(CoverCliTest, HelpShowsTheActions) {
    ASSERT_EQ(run({"cover", "--help"}), Cli::kExitDone);
    EXPECT_TRUE(out.data().startsWith(
        "Usage: reelkeeper-cli cover [options] set|get|remove ID [FILE]\n\n"
        "Store, fetch or remove a movie's cover.\n\nActions:\n  set ID FILE "));
    ASSERT_EQ(run({"--help"}), Cli::kExitDone);
    // The command list pads names to the longest one.
    EXPECT_TRUE(QString::fromUtf8(out.data())
                    .contains(QRegularExpression(
                        QStringLiteral("\n  cover +Store, fetch or remove a movie's cover\\.\n"))));
    ASSERT_EQ(run({"list", "--help"}), Cli::kExitDone);
    EXPECT_TRUE(out.data().contains("--covers"));
}

} // namespace
