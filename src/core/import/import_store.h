#pragma once

#include "core/catalogue/catalogue.h"
#include "core/import/import_plan.h"
#include "core/report/counts.h"

#include <QStringList>

// Stores the plan's movies (leaving out look-alikes when asked to) and their
// copies in one transaction; the copies of a look-alike left out join the
// stored movie it looks like (or, when that one is gone, it is added with them). Returns false when
// `progress` cancelled: then, as after a failure (a thrown Failure), nothing was stored.
bool storePlannedMovies(Catalogue& catalogue, const ImportPlan& plan, bool skipLookAlikes,
                        const Catalogue::BatchProgress& progress = {});

// What the plan will do, one sentence a line: the movies to add (or that
// the title's column must be chosen when no column holds it), the rows
// skipped and why, the look-alikes and what happens to them and their copies, the ignored
// columns and the note on the text's encoding.
QStringList planSummary(const ImportPlan& plan, bool skipLookAlikes);

// "Added 12 movies."
QString addedMessage(qint64 count);
