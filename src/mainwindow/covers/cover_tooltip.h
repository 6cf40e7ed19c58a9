#pragma once

#include "mainwindow/window_feature.h"

class CoverView;

// The cover, title and year in the tooltip of a row of the list or of the
// cover view. A row without a cover keeps the list's own tooltip.
class CoverTooltip : public WindowFeature {
    Q_OBJECT
public:
    CoverTooltip(WindowContext& context, CoverView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool showTooltip(QObject* viewport, QEvent* event);
};
