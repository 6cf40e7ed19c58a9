#pragma once

#include "mainwindow/column_provider.h"
#include "mainwindow/window_feature.h"

// The list's "Looked up in" column, offered in the header's menu: the film
// databases each movie was filled from ("Wikidata"); `lookup:wikidata` in
// the find text.
class LookupColumn : public WindowFeature, public ColumnProvider {
    Q_OBJECT
public:
    explicit LookupColumn(WindowContext& context);

    QString id() const override;
    QString caption() const override;
    QHash<qint64, QString> cells() override;
};
