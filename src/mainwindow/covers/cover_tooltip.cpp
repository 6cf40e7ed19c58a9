#include "mainwindow/covers/cover_tooltip.h"

#include "core/catalogue/movie_column.h"
#include "core/covers/cover_store.h"
#include "core/report/failure.h"
#include "coverimage/image_scaling.h"
#include "mainwindow/covers/cover_view.h"
#include "mainwindow/covers/row_under.h"
#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QBuffer>
#include <QHelpEvent>
#include <QToolTip>

namespace {

constexpr int kTooltipCover = 200;

} // namespace

CoverTooltip::CoverTooltip(WindowContext& context, CoverView& view)
    : WindowFeature(context, QStringLiteral("CoverTooltip")) {
    context.list().viewport()->installEventFilter(this);
    view.viewport()->installEventFilter(this);
}

bool CoverTooltip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        return showTooltip(watched, event);
    }
    return false;
}

bool CoverTooltip::showTooltip(QObject* viewport, QEvent* event) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int row = rowUnder(viewport, help->pos());
    if (row < 0) {
        return false;
    }
    const MovieListModel& items = context().list().items();
    std::optional<Cover> cover;
    try {
        cover = CoverStore(context().services().catalogue)
                    .get(coverId(items.cell(row, columnIndex(MovieColumn::Id))));
    } catch (const Failure&) {
        return false; // the list's own tooltip, as without covers
    }
    if (!cover) {
        return false;
    }
    const QImage small =
        ImageScaling::decodeToFit(cover->bytes, QSize(kTooltipCover, kTooltipCover));
    if (small.isNull()) {
        return false;
    }
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    small.save(&out, "PNG");
    const QString title = items.cell(row, columnIndex(MovieColumn::Title)).toHtmlEscaped();
    const QString year = items.cell(row, columnIndex(MovieColumn::Year)).toHtmlEscaped();
    const QString text = QStringLiteral("<img src=\"data:image/png;base64,%1\"><br><b>%2</b>%3")
                             .arg(QString::fromLatin1(png.toBase64()), title,
                                  year.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(year));
    QToolTip::showText(help->globalPos(), text, static_cast<QWidget*>(viewport));
    return true;
}
