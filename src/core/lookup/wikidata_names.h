#pragma once

#include <QRegularExpression>
#include <QString>

// What the Wikidata source's parts share.
inline const QString kWikidata = QStringLiteral("Wikidata");
inline const QString kUnexpectedAnswer =
    QStringLiteral("the answer does not have the expected form");

// An item id: "Q132689".
inline bool isWikidataId(const QString& id) {
    static const QRegularExpression pattern(QStringLiteral("^Q[1-9][0-9]{0,11}$"));
    return pattern.match(id).hasMatch();
}
