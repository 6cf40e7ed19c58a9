#include "core/lookup/lookup_sources.h"

#include "core/lookup/tmdb_source.h"
#include "core/lookup/wikidata_source.h"
#include "core/settings/config.h"

#include <functional>
#include <utility>

namespace {

using MakeSource =
    std::function<std::unique_ptr<LookupSource>(const Config*, const NetworkLimits&)>;

QString setting(const Config* settings, Setting which) {
    return settings != nullptr ? settings->get(which) : QString();
}

const std::pair<QString, MakeSource> kSources[] = {
    {QStringLiteral("wikidata"),
     [](const Config* settings, const NetworkLimits& limits) -> std::unique_ptr<LookupSource> {
         return std::make_unique<WikidataSource>(setting(settings, Setting::WikidataSparqlUrl),
                                                 setting(settings, Setting::WikidataApiUrl),
                                                 limits);
     }},
    {QStringLiteral("tmdb"),
     [](const Config* settings, const NetworkLimits& limits) -> std::unique_ptr<LookupSource> {
         return TmdbSource::configured(setting(settings, Setting::TmdbUrl),
                                       setting(settings, Setting::TmdbKey), limits);
     }},
};

} // namespace

QStringList LookupSources::names() {
    QStringList names;
    for (const auto& source : kSources) {
        names << source.first;
    }
    return names;
}

std::unique_ptr<LookupSource> LookupSources::make(const QString& name, const Config* settings,
                                                  const NetworkLimits& limits) {
    for (const auto& source : kSources) {
        if (source.first.compare(name, Qt::CaseInsensitive) == 0) {
            return source.second(settings, limits);
        }
    }
    return nullptr;
}

QString LookupSources::chosen(const Config& settings) {
    const QString name = settings.get(Setting::LookupSource).trimmed().toLower();
    return names().contains(name) ? name : names().constFirst();
}
