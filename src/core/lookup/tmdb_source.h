#pragma once

#include "core/lookup/json_request.h"
#include "core/lookup/lookup_source.h"
#include "core/lookup/network_rules.h"
#include "core/lookup/tmdb_json.h"

#include <QNetworkAccessManager>
#include <QUrl>
#include <functional>
#include <memory>

// Films in The Movie Database, through its API version 3; only for a person
// who has a key of their own. The key is a v3 API key, sent as the api_key
// parameter, or a v4 read-access token, sent as a bearer token. It never
// appears in a failure, and never goes to the image host: the poster's
// address is only handed on.
class TmdbSource : public LookupSource {
    Q_OBJECT
public:
    // The address and the key come from REELKEEPER_TMDB_URL and
    // REELKEEPER_TMDB_KEY. `language` ("de" or "de-DE") asks for titles and
    // genres in that language; empty leaves the service's default.
    explicit TmdbSource(const NetworkLimits& limits = {}, const QString& language = {},
                        QObject* parent = nullptr);
    // The address and the key given, as the settings hold them.
    TmdbSource(const QUrl& address, const QString& key, const NetworkLimits& limits = {},
               const QString& language = {}, QObject* parent = nullptr);

    // The source for the window and the command line: the environment's
    // address and key where set (scripts, tests), else the settings' ones
    // (an empty address is the public service).
    static std::unique_ptr<TmdbSource> configured(const QString& address, const QString& key,
                                                  const NetworkLimits& limits = {},
                                                  const QString& language = {});

    QString name() const override;
    LookupReply* search(const QString& title, std::optional<int> year) override;
    LookupReply* fetch(const QString& sourceId) override;
    LookupReply* findByImdbId(const QString& imdbId) override;

private:
    // A reply, failed at once when there is no key.
    LookupReply* newReply();
    // The address of one call: the base, the path and the parameters, with
    // the key and the language when they go there.
    QUrl address(const QString& path, QList<std::pair<QString, QString>> parameters) const;
    void get(const QUrl& address, LookupReply* reply, JsonRequest::Handler handler);
    // Runs `then` once the image host's addresses are known, asking the
    // configuration for them on `reply` the first time.
    void withImageBases(LookupReply* reply, std::function<void()> then);
    // Finishes a fetch with the poster's address, a search or a find with
    // each film's thumbnail's address.
    void finishWithPoster(LookupReply* reply, LookupMovie movie);
    void finishWithThumbnails(LookupReply* reply, QList<LookupCandidate> candidates);

    QNetworkAccessManager m_network;
    NetworkLimits m_limits;
    QUrl m_base;
    QString m_key;
    QString m_language;
    TmdbImageBases m_imageBases; // from the configuration, asked for once
    RequestGate* m_gate;
};
