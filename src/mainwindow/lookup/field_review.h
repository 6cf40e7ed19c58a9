#pragma once

#include "core/catalogue/dvd_record.h"

#include <QList>
#include <QTreeWidget>
#include <utility>

// A movie's fields side by side: the value in the editor and the value a
// film database found, each row with a tick box. A field the person has
// filled starts unticked (their value stays), an empty one ticked; a field
// the database left empty offers nothing and cannot be ticked.
class FieldReview : public QTreeWidget {
    Q_OBJECT
public:
    explicit FieldReview(QWidget* parent = nullptr);

    // Shows the fields, named by `names` (Title, Year, ...).
    void setFields(const QStringList& names, const DvdRecord& typed, const DvdRecord& found);
    // The ticked fields (0 = title ... 7 = studio) with the value found.
    QList<std::pair<int, QString>> ticked() const;
    // Ticks or unticks one field's row, as a click on its box does.
    void setTicked(int field, bool ticked);
};
