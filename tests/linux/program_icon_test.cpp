// The program's own icon, built in, shown by the main window.
#include "desktop/program_icon.h"
#include "support/form1_harness.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr int kThemeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage picture(const QIcon& icon, int size) {
    return icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(ProgramIcon, HoldsEveryThemeSizeDrawnForThatSize) {
    const QIcon icon = programIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : kThemeSizes) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = picture(icon, size);
        ASSERT_EQ(image.size(), QSize(size, size));
        // A rounded tile: clear corners, the reel's hub solid in the middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size - 1, size - 1)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size * 116 / 256, size * 116 / 256)), 255) << size;
    }
}

TEST(ProgramIcon, MainWindowShowsIt) {
    Form1Harness h;
    h.loaded();
    for (int size : {16, 32, 48}) {
        EXPECT_EQ(picture(h.form->windowIcon(), size), picture(programIcon(), size)) << size;
    }
}

} // namespace
