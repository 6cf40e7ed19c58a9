#pragma once

#include "core/report/failure.h"

// A snapshot, restore or check that could not be done, with a description in
// plain words and what kind of trouble it was, so that a caller can decide
// whether to offer going on without a snapshot.
class SnapshotFailure : public Failure {
public:
    enum class Kind {
        NotMade, // no snapshot could be written (disk full, folder read-only, ...)
        Damaged, // the file to read from is damaged or no catalogue
        InUse,   // another program holds the catalogue longer than we wait
        Foreign, // the file holds triggers or views the program did not make
        Failed,  // anything else
    };

    SnapshotFailure(Kind kind, const QString& description) : Failure(description), m_kind(kind) {}

    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
