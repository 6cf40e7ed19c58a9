#include "desktop/apply_skin.h"
#include "desktop/form_colors.h"
#include "desktop/skin_framework.h"
#include "platform/failure.h"
#include "platform/twips.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QByteArray kSkin = "QPushButton { border: 2px solid #336699; }\n";

class SkinTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString failureOf(const QString& path) {
        try {
            skin.LoadSkin(path, QString());
        } catch (const Failure& failure) {
            return failure.description();
        }
        return {};
    }

    QTemporaryDir dir;
    SkinFramework skin;
};

TEST_F(SkinTest, LoadsASheetWithAnOverlayAndAppliesItToAWindow) {
    const QString base = write(QStringLiteral("o.cjs"), kSkin);
    const QString overlay = write(QStringLiteral("blue.cjs"), "QLabel { color: blue; }");
    skin.LoadSkin(base, overlay);
    EXPECT_TRUE(skin.isLoaded());
    EXPECT_EQ(skin.skinFile(), base);

    QWidget window;
    window.setStyleSheet(QStringLiteral("QLabel { margin: 3px; }"));
    skin.setKeepWindowSheet(false);
    skin.ApplyWindow(&window);
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("border: 2px solid #336699")));
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("color: blue")));
    EXPECT_FALSE(window.styleSheet().contains(QStringLiteral("margin")));

    // Keeping the window's own sheet puts it first, also when applied again.
    skin.setKeepWindowSheet(true);
    skin.ApplyWindow(&window);
    skin.ApplyWindow(&window);
    EXPECT_TRUE(window.styleSheet().startsWith(QStringLiteral("QLabel { margin: 3px; }\n")));
    EXPECT_EQ(window.styleSheet().count(QStringLiteral("#336699")), 1);
}

TEST_F(SkinTest, ScalesPixelLengthsToTheScreen) {
    skin.LoadSkin(write(QStringLiteral("o.cjs"), kSkin), QString());
    skin.setScaleToScreen(true);
    const long expected = std::lround(2 * Twips::dotsPerInch() / 96.0);
    EXPECT_TRUE(skin.styleSheet().contains(QStringLiteral("border: %1px").arg(expected)));
}

TEST_F(SkinTest, OptionBitZeroTakesTheSkinToOtherWindows) {
    skin.LoadSkin(write(QStringLiteral("o.cjs"), kSkin), QString());
    QWidget window;
    skin.ApplyWindow(&window);
    QDialog before;
    before.show();
    EXPECT_TRUE(before.styleSheet().isEmpty());
    before.hide();

    skin.setApplyOptions(skin.ApplyOptions() | SkinFramework::kSkinOtherWindows);
    skin.ApplyWindow(&window);
    QDialog other;
    QDialog ownLook;
    ownLook.setStyleSheet(QStringLiteral("QDialog { background: red; }"));
    QDialog over(&window); // inherits the window's sheet anyway
    other.show();
    ownLook.show();
    over.show();
    EXPECT_EQ(other.styleSheet(), skin.styleSheet());
    EXPECT_EQ(ownLook.styleSheet(), QStringLiteral("QDialog { background: red; }"));
    EXPECT_TRUE(over.styleSheet().isEmpty());
}

TEST_F(SkinTest, BadSkinFilesFailWithADescriptionAndKeepTheSkinBefore) {
    const QString good = write(QStringLiteral("good.cjs"), kSkin);
    skin.LoadSkin(good, QString());

    QByteArray huge(StyleSheet::kMaxBytes, ' ');
    huge.prepend("QWidget { color: red; }");
    const QString unreadable = write(QStringLiteral("locked.cjs"), kSkin);
    QFile::setPermissions(unreadable, QFileDevice::Permissions());
    const bool permissionsBite = !QFile(unreadable).open(QIODevice::ReadOnly); // not as root

    EXPECT_TRUE(
        failureOf(write(QStringLiteral("empty.cjs"), ""))
            .contains(QStringLiteral("is not a valid style sheet: it holds no style rules")));
    EXPECT_TRUE(failureOf(write(QStringLiteral("binary.cjs"), QByteArray("\0\1\2\3\xff", 5)))
                    .contains(QStringLiteral("is not a valid style sheet: it is not text")));
    EXPECT_TRUE(failureOf(write(QStringLiteral("huge.cjs"), huge))
                    .contains(QStringLiteral("is too large")));
    EXPECT_TRUE(failureOf(dir.path() + QStringLiteral("/missing.cjs"))
                    .contains(QStringLiteral("could not be read")));
    if (permissionsBite) {
        EXPECT_TRUE(failureOf(unreadable).contains(QStringLiteral("could not be read")));
    }
    EXPECT_TRUE(failureOf(good).isEmpty());
    EXPECT_EQ(skin.skinFile(), good);

    // Applying without a skin or without a window fails too.
    SkinFramework unloaded;
    QWidget window;
    EXPECT_THROW(unloaded.ApplyWindow(&window), Failure);
    EXPECT_THROW(skin.ApplyWindow(nullptr), Failure);
}

TEST_F(SkinTest, ApplySkinNeedsTheSkinFileBesideTheProgram) {
    QWidget window;
    auto* label = new QLabel(QStringLiteral("x"), &window);
    setBackColor(window, Qt::white);
    const QString program = dir.path();

    Main::ApplySkin(window, skin, program); // no folder "x"
    QDir(program).mkdir(QStringLiteral("x"));
    Main::ApplySkin(window, skin, program); // no file in it
    QDir(program).mkpath(QStringLiteral("x/o.cjs"));
    Main::ApplySkin(window, skin, program); // a folder of that name
    EXPECT_FALSE(skin.isLoaded());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(window.styleSheet().isEmpty());

    QDir(program).rmdir(QStringLiteral("x/o.cjs"));
    write(QStringLiteral("x/o.cjs"), kSkin);
    Main::ApplySkin(window, skin, program);
    EXPECT_EQ(window.palette().color(QPalette::Window), buttonFaceColor());
    EXPECT_EQ(label->palette().color(QPalette::Window), buttonFaceColor());
    EXPECT_EQ(skin.ApplyOptions() & 1, 1);
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("QPushButton")));
}

TEST_F(SkinTest, ApplySkinColoursTheWindowEvenWhenTheSkinFails) {
    QWidget window;
    setBackColor(window, Qt::white);
    write(QStringLiteral("x/o.cjs"), "not a style sheet");
    EXPECT_THROW(Main::ApplySkin(window, skin, dir.path()), Failure);
    EXPECT_EQ(window.palette().color(QPalette::Window), buttonFaceColor());
    EXPECT_TRUE(window.styleSheet().isEmpty());
}

} // namespace
