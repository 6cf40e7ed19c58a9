#pragma once

#include "core/lookup/json_request.h"
#include "core/lookup/lookup_source.h"
#include "core/lookup/network_rules.h"
#include "core/lookup/wikidata_entity.h"

#include <QNetworkAccessManager>
#include <QStringList>
#include <QUrl>

// Films in Wikidata: searched and found through the public SPARQL query
// service, fetched through the entity API. Only films (instances of film or
// of its subclasses) are offered, never series, episodes or people. Texts
// come in the person's language, else in English.
class WikidataSource : public LookupSource {
    Q_OBJECT
public:
    // The addresses come from REELKEEPER_WIKIDATA_SPARQL_URL and
    // REELKEEPER_WIKIDATA_API_URL when set. `language` is an ISO 639 code;
    // empty means the locale's.
    explicit WikidataSource(const NetworkLimits& limits = {}, const QString& language = {},
                            QObject* parent = nullptr);
    // The same, with the addresses the settings hold where no environment
    // variable names one (empty: the public services').
    WikidataSource(const QString& sparqlAddress, const QString& apiAddress,
                   const NetworkLimits& limits = {}, const QString& language = {},
                   QObject* parent = nullptr);

    QString name() const override;
    LookupReply* search(const QString& title, std::optional<int> year) override;
    LookupReply* fetch(const QString& sourceId) override;
    LookupReply* findByImdbId(const QString& imdbId) override;

private:
    // The cache and the gate every request goes through.
    JsonRequest::Extras extras() const;
    LookupReply* runQuery(const QString& query, const QString& title, std::optional<int> year);
    // Asks for the labels of the items the film names, then finishes the
    // fetch with the movie.
    void finishWithLabels(LookupReply* reply, const WikidataFilm& film);

    QNetworkAccessManager m_network;
    NetworkLimits m_limits;
    QUrl m_sparql;
    QUrl m_api;
    QStringList m_languages;
    RequestGate* m_gate;
};
