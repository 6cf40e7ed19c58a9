#pragma once

#include <QList>
#include <QStringList>

// The tables features keep beside `dvd` (covers, and what later features
// add), each keyed by a movie's id, removed with it by a trigger and made on
// first use. One row here per feature lets the snapshots, the salvage and
// the check of foreign triggers know them without naming each feature.
struct SideSchema {
    // The tables its statements make, in the order they make them.
    QStringList tables;
    // "create ... if not exists" statements for its tables, triggers and
    // indexes, in the order they must run.
    QList<const char*> statements;
};

// Every feature's side tables.
const QList<SideSchema>& sideSchemas();
// The schema that makes this table, or none.
const SideSchema* sideSchemaOf(const QString& table);
