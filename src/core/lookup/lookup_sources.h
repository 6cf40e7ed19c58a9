#pragma once

#include "core/lookup/lookup_source.h"
#include "core/lookup/network_rules.h"

#include <QStringList>
#include <memory>

class Config;

// The film databases a movie can be looked up in, by the names the command
// line's --source and the settings use: "wikidata" (the default, no key
// needed) and "tmdb" (with the person's own key).
namespace LookupSources {

QStringList names();
// The source of that name, its addresses and key from the environment where
// set (scripts, tests), else from the settings when given, else the public
// services'. None for a name that is no source.
std::unique_ptr<LookupSource> make(const QString& name, const Config* settings = nullptr,
                                   const NetworkLimits& limits = {});
// The source the settings choose, the default when they choose none there is.
QString chosen(const Config& settings);

} // namespace LookupSources
