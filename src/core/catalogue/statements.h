#pragma once

#include "core/catalogue/dvd_record.h"

#include <QString>

// The six statements the program sends to the catalogue, as plain text.
// Text values stand between apostrophes with every apostrophe doubled; the
// row id is pasted unquoted, and so must be a whole number (digits, with an
// optional leading minus): any other id fails before a statement is built.
namespace Statements {

inline const QString kReadAll = QStringLiteral("select * from dvd order by title");
inline const QString kDeleteAll = QStringLiteral("delete from [dvd]");

// A value as it goes between a statement's apostrophes: every ' doubled.
QString quoted(const QString& value);

QString readOne(const QString& id);
QString addOne(const DvdRecord& movie);
QString changeOne(const DvdRecord& movie); // where id = movie.id
QString deleteOne(const QString& id);

// The insert of a batch, prepared once: the eight fields as parameters 1 to 8.
inline const QString kAddBound =
    QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],[director],[runtime],"
                   "[rating],[studio]) values (?1,?2,?3,?4,?5,?6,?7,?8)");
// The same for `rows` movies in one statement: the fields of the movie n
// (from 0) as parameters 8n + 1 to 8n + 8.
QString addBoundRows(int rows);

} // namespace Statements
