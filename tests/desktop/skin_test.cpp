#include "core/report/failure.h"
#include "desktop/skin_framework.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kSkin = "QPushButton { border: 2px solid #336699; }\n";

class SkinTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.path() + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
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
    QWidget window;
};

TEST_F(SkinTest, AppliesTheSkinAndItsOverlayReplacingOrKeepingTheWindowsSheet) {
    skin.LoadSkin(write(QStringLiteral("o.cjs"), kSkin),
                  write(QStringLiteral("blue.cjs"), "QLabel { color: blue; }"));
    window.setStyleSheet(QStringLiteral("QLabel { margin: 3px; }"));
    skin.ApplyWindow(&window);
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("border: 2px solid #336699")));
    EXPECT_TRUE(window.styleSheet().contains(QStringLiteral("color: blue")));
    EXPECT_FALSE(window.styleSheet().contains(QStringLiteral("margin")));

    // The window's own sheet comes first, also when the skin is applied again.
    skin.setKeepWindowSheet(true);
    skin.ApplyWindow(&window);
    skin.ApplyWindow(&window);
    EXPECT_TRUE(window.styleSheet().startsWith(QStringLiteral("QLabel { margin: 3px; }\n")));
    EXPECT_EQ(window.styleSheet().count(QStringLiteral("#336699")), 1);
}

TEST_F(SkinTest, OptionBitZeroTakesTheSkinToOtherWindows) {
    skin.LoadSkin(write(QStringLiteral("o.cjs"), kSkin), QString());
    skin.ApplyWindow(&window);
    QDialog before;
    before.show();
    EXPECT_TRUE(before.styleSheet().isEmpty());

    skin.setApplyOptions(skin.ApplyOptions() | SkinFramework::kSkinOtherWindows);
    skin.ApplyWindow(&window);
    QDialog other, ownLook, over(&window); // `over` inherits the window's sheet anyway
    ownLook.setStyleSheet(QStringLiteral("QDialog { background: red; }"));
    for (QDialog* dialog : {&other, &ownLook, &over}) {
        dialog->show();
    }
    EXPECT_EQ(other.styleSheet(), skin.styleSheet());
    EXPECT_EQ(ownLook.styleSheet(), QStringLiteral("QDialog { background: red; }"));
    EXPECT_TRUE(over.styleSheet().isEmpty());
}

TEST_F(SkinTest, BadSkinFilesFailWithADescriptionAndKeepTheSkinBefore) {
    const QString good = write(QStringLiteral("good.cjs"), kSkin);
    skin.LoadSkin(good, QString());
    const struct {
        QString path;
        const char* expected;
    } cases[] = {
        {write(QStringLiteral("binary.cjs"), QByteArray("\0\1\2\xff", 4)),
         "is not a valid style sheet: it is not text"},
        {dir.path() + QStringLiteral("/missing.cjs"), "could not be read"},
        {dir.path(), "could not be read"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(failureOf(c.path).startsWith(QStringLiteral("The skin file ") + c.path));
        EXPECT_TRUE(failureOf(c.path).contains(QLatin1String(c.expected))) << c.expected;
    }
    EXPECT_EQ(skin.skinFile(), good);
    EXPECT_THROW(SkinFramework().ApplyWindow(&window), Failure); // nothing loaded
    EXPECT_THROW(skin.ApplyWindow(nullptr), Failure);
}

} // namespace
