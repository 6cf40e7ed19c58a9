#pragma once

#include "mainwindow/column_provider.h"

#include <functional>
#include <utility>

// A column whose cells one function reads for the whole catalogue: the
// shape of most columns a feature offers (the shelf's formats, locations,
// the loans). The feature that makes it registers it and keeps it.
class ComputedColumn : public ColumnProvider {
public:
    using Read = std::function<QHash<qint64, QString>()>;

    ComputedColumn(QString id, QString caption, Read read)
        : m_id(std::move(id)), m_caption(std::move(caption)), m_read(std::move(read)) {}

    // Makes the cells numbers for the find text, an empty cell reading as
    // `emptyNumber` ("0" for a count).
    void setNumeric(QString emptyNumber) {
        m_numeric = true;
        m_emptyWord = std::move(emptyNumber);
    }

    // The words its cells carry after kFindOnly (ColumnProvider::stateWords).
    void setStateWords(QStringList words) { m_stateWords = std::move(words); }

    QString id() const override { return m_id; }
    QString caption() const override { return m_caption; }
    QString emptyWord() const override { return m_emptyWord; }
    bool numeric() const override { return m_numeric; }
    QStringList stateWords() const override { return m_stateWords; }
    QHash<qint64, QString> cells() override { return m_read(); }

private:
    QString m_id;
    QString m_caption;
    Read m_read;
    QString m_emptyWord;
    bool m_numeric = false;
    QStringList m_stateWords;
};
