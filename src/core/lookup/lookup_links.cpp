#include "core/lookup/lookup_links.h"

#include "core/catalogue/catalogue.h"
#include "core/covers/cover_store.h"
#include "core/lookup/lookup_link_schema.h"
#include "core/report/failure.h"
#include "core/sqlite/sqlite_statement.h"
#include "core/sqlite/write_transaction.h"

bool LookupLinks::hasTable() {
    return m_catalogue.connection().database().hasTable(QStringLiteral("lookup_link"));
}

void LookupLinks::set(const LookupLink& link) {
    SqliteDatabase& db = m_catalogue.connection().database();
    WriteTransaction transaction(db);
    db.execute(LookupLinkSchema::kTable);
    db.execute(LookupLinkSchema::kTrigger);
    SqliteStatement store(db, "insert or replace into lookup_link"
                              " (id, source, source_id, imdb_id, tmdb_id, fetched)"
                              " select ?1, ?2, ?3, ?4, ?5, ?6"
                              " where exists (select 1 from dvd where id = ?1)");
    store.bind(1, link.movieId).bind(2, link.source).bind(3, link.sourceId);
    store.bind(4, link.imdbId).bind(5, link.tmdbId);
    store.bind(6, link.fetched.toString(Qt::ISODate));
    store.step();
    if (db.changes() == 0) {
        throw Failure(kNoSuchMovie.arg(link.movieId));
    }
    transaction.commit();
}

QList<LookupLink> LookupLinks::of(qint64 movieId) {
    QList<LookupLink> links;
    if (!hasTable()) {
        return links;
    }
    SqliteStatement query(m_catalogue.connection().database(),
                          "select source, source_id, imdb_id, tmdb_id, fetched"
                          " from lookup_link where id = ?1 order by source");
    query.bind(1, movieId);
    while (query.step()) {
        links.append({movieId, query.text(0), query.text(1), query.text(2), query.text(3),
                      QDate::fromString(query.text(4), Qt::ISODate)});
    }
    return links;
}

QSet<qint64> LookupLinks::linkedIds() {
    QSet<qint64> ids;
    if (!hasTable()) {
        return ids;
    }
    SqliteStatement query(m_catalogue.connection().database(),
                          "select distinct l.id from lookup_link l join dvd d on d.id = l.id");
    while (query.step()) {
        ids.insert(query.integer(0));
    }
    return ids;
}

QHash<qint64, QStringList> LookupLinks::sourcesByMovie() {
    QHash<qint64, QStringList> sources;
    if (!hasTable()) {
        return sources;
    }
    SqliteStatement query(m_catalogue.connection().database(),
                          "select l.id, l.source from lookup_link l join dvd d on d.id = l.id"
                          " order by l.id, l.source");
    while (query.step()) {
        sources[query.integer(0)].append(query.text(1));
    }
    return sources;
}
