#pragma once

#include "mainwindow/column_provider.h"
#include "mainwindow/window_feature.h"

// The list's "Cover" column, offered in the header's menu: "yes" beside the
// movies that have a cover; `cover:yes` and `cover:no` in the find text.
class CoverColumn : public WindowFeature, public ColumnProvider {
    Q_OBJECT
public:
    explicit CoverColumn(WindowContext& context);

    QString id() const override;
    QString caption() const override;
    QString emptyWord() const override;
    QHash<qint64, QString> cells() override;
};
