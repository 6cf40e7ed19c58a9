// The fixed layout on screens of other densities. The tests run once per
// screen (see tests/CMakeLists.txt): 96 dpi, and 192 or 144 dpi with and
// without Qt's high-dpi scaling. QT_FONT_DPI tells the density asked for.
#include "mainwindow/button_mnemonics.h"
#include "mainwindow/list_view.h"
#include "support/fixed_layout.h"
#include "support/form1_harness.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The screen's density in device pixels per inch, as asked for.
double screenDpi() {
    bool ok = false;
    const int dpi = qEnvironmentVariableIntValue("QT_FONT_DPI", &ok);
    return ok && dpi > 0 ? dpi : 96.0;
}

std::string text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

struct ShownLayout : Form1Harness {
    ShownLayout() {
        loaded().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
};

TEST(HighDpi, FixedLayoutHasTheSamePhysicalSizeOnEveryScreen) {
    ShownLayout h;
    const double ratio = h.form->devicePixelRatioF();
    const double devicePixelsPerTwip = screenDpi() / 1440.0;
    // Each position is rounded to whole logical pixels once.
    const double tolerance = ratio * 0.5 + 1e-9;
    EXPECT_NEAR(h.form->width() * ratio, kFixedClientWidth * devicePixelsPerTwip, tolerance);
    EXPECT_NEAR(h.form->height() * ratio, kFixedClientHeight * devicePixelsPerTwip, tolerance);
    for (const ControlPlace& p : kFixedLayout) {
        const auto* widget = h.form->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(widget, nullptr) << p.name;
        const QRect g = widget->geometry();
        EXPECT_NEAR(g.x() * ratio, p.left * devicePixelsPerTwip, tolerance) << p.name;
        EXPECT_NEAR(g.y() * ratio, p.top * devicePixelsPerTwip, tolerance) << p.name;
        EXPECT_NEAR(g.width() * ratio, p.width * devicePixelsPerTwip, tolerance) << p.name;
        EXPECT_NEAR(g.height() * ratio, p.height * devicePixelsPerTwip, tolerance) << p.name;
    }
    // A 1400-twip column is just under an inch wide.
    EXPECT_NEAR(h.form->ListView1().header()->sectionSize(1) * ratio, 1400 * devicePixelsPerTwip,
                tolerance);
}

TEST(HighDpi, NothingIsCutOff) {
    ShownLayout h;
    for (int n = 1; n <= Form1::kButtonCount; ++n) {
        const QPushButton& button = h.form->PushButton(n);
        EXPECT_TRUE(h.form->rect().contains(button.geometry())) << "PushButton" << n;
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        const QRect contents =
            button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
        const QRect caption = button.fontMetrics().boundingRect(
            contents, Qt::AlignCenter | Qt::TextShowMnemonic, button.text());
        EXPECT_TRUE(contents.contains(caption))
            << "PushButton" << n << " \"" << qPrintable(visibleCaption(button.text()))
            << "\" needs " << text(caption) << " inside " << text(contents);
    }

    ListView& list = h.form->ListView1();
    EXPECT_TRUE(h.form->rect().contains(list.geometry()));
    const QHeaderView& header = *list.header();
    const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    for (int column = 1; column < list.columnHeaderCount(); ++column) {
        const QString title = list.items().columnText(column);
        EXPECT_GE(header.sectionSize(column),
                  header.fontMetrics().horizontalAdvance(title) + 2 * margin)
            << qPrintable(title);
    }
    // Room for a good many rows under the header.
    EXPECT_GE(list.viewport()->height(), 10 * list.fontMetrics().height());
}

TEST(HighDpi, ADraggedColumnWidthComesBackToTheSamePixel) {
    ListView before;
    ListView after;
    for (ListView* list : {&before, &after}) {
        list->addColumnHeader(QStringLiteral("ID"));
        list->addColumnHeader(QStringLiteral("Title"));
    }
    for (int pixels = 0; pixels <= 800; ++pixels) {
        before.header()->resizeSection(1, pixels); // the user drags the border
        const float saved = before.columnHeaderWidth(1);
        after.setColumnHeaderWidth(1, saved); // the next start restores it
        ASSERT_EQ(after.header()->sectionSize(1), pixels) << "saved as " << saved;
        ASSERT_EQ(after.columnHeaderWidth(1), saved);
    }
}

} // namespace
