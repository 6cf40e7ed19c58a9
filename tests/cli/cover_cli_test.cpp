// reelkeeper-cli cover and list --covers on real catalogue files.
#include "cli/cli_fixture.h"
#include "support/cover_images.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

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
        {"too large",
         CoverImages::jpegHeader(1201, 900),
         {"set", "1", "IMAGE"},
         Cli::kExitFailed,
         "is 1201 x 900 pixels; a cover is at most 1200 pixels on the longer side."},
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
