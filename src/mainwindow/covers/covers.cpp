#include "mainwindow/covers/covers.h"

#include "mainwindow/covers/cover_column.h"
#include "mainwindow/covers/cover_commands.h"
#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_tooltip.h"
#include "mainwindow/covers/cover_view.h"
#include "mainwindow/covers/cover_view_switch.h"
#include "mainwindow/window_context.h"

namespace {
constexpr QSize kThumbnailSize(120, 180);
} // namespace

QList<WindowFeature*> makeCoverFeatures(WindowContext& context) {
    // The view is a child of the list; its thumbnails go with it.
    auto* thumbnails = new CoverThumbnails(kThumbnailSize);
    auto* view = new CoverView(context.list(), *thumbnails);
    thumbnails->setParent(view);
    view->hide();
    return {new CoverCommands(context, *view, *thumbnails),
            new CoverViewSwitch(context, *view, *thumbnails), new CoverTooltip(context, *view),
            new CoverColumn(context)};
}
