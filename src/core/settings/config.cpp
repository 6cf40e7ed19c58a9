#include "core/settings/config.h"

#include "core/report/failure.h"
#include "core/settings/settings.h"

#include <array>

namespace {

struct Definition {
    Setting setting;
    const char* key;
    const char* defaultValue;
};

// Every setting: its key in the store and its default.
constexpr std::array kSettings = {
    Definition{Setting::WindowState, "WindowState", "0"},
    Definition{Setting::ColumnWidth1, "ColumnHeaders1", "0"}, // "ID" starts hidden
    Definition{Setting::ColumnWidth2, "ColumnHeaders2", "1400"},
    Definition{Setting::ColumnWidth3, "ColumnHeaders3", "1400"},
    Definition{Setting::ColumnWidth4, "ColumnHeaders4", "1400"},
    Definition{Setting::ColumnWidth5, "ColumnHeaders5", "1400"},
    Definition{Setting::ColumnWidth6, "ColumnHeaders6", "1400"},
    Definition{Setting::ColumnWidth7, "ColumnHeaders7", "1400"},
    Definition{Setting::ColumnWidth8, "ColumnHeaders8", "1400"},
    Definition{Setting::ColumnWidth9, "ColumnHeaders9", "1400"},
    Definition{Setting::MovieView, "MovieView", "list"},
    Definition{Setting::MenuBarShown, "MenuBarShown", "0"},
    Definition{Setting::LookupSource, "Lookup/Source", "wikidata"},
    Definition{Setting::TmdbKey, "Lookup/TmdbKey", ""},
    Definition{Setting::TmdbUrl, "Lookup/TmdbUrl", ""},
    Definition{Setting::WikidataSparqlUrl, "Lookup/WikidataSparqlUrl", ""},
    Definition{Setting::WikidataApiUrl, "Lookup/WikidataApiUrl", ""},
    Definition{Setting::LoanDays, "Loans/DefaultDays", "21"},
};

constexpr bool tableFollowsTheEnum() {
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        if (kSettings[i].setting != Setting(i)) {
            return false;
        }
    }
    return true;
}
static_assert(tableFollowsTheEnum(), "one row a setting, in the order of the enum");

const Definition& definition(Setting setting) {
    return kSettings[std::size_t(setting)];
}

// The extra columns' keys: "ExtraColumns/cover" is "1" while it is shown.
QString shownKey(const QString& id) {
    return QStringLiteral("ExtraColumns/") + id;
}
QString widthKey(const QString& id) {
    return QStringLiteral("ExtraColumnWidths/") + id;
}
const QString kExtraColumnWidth = QStringLiteral("1400");

} // namespace

QString Config::get(Setting setting) const {
    return m_store.value(key(setting), defaultValue(setting));
}

void Config::set(Setting setting, const QString& value) {
    m_store.setValue(key(setting), value);
}

bool Config::extraColumnShown(const QString& id) const {
    return m_store.value(shownKey(id), QStringLiteral("0")) == QLatin1String("1");
}

void Config::setExtraColumnShown(const QString& id, bool shown) {
    m_store.setValue(shownKey(id), shown ? QStringLiteral("1") : QStringLiteral("0"));
}

QString Config::extraColumnWidth(const QString& id) const {
    return m_store.value(widthKey(id), kExtraColumnWidth);
}

void Config::setExtraColumnWidth(const QString& id, const QString& twips) {
    m_store.setValue(widthKey(id), twips);
}

Setting Config::columnWidth(int column) {
    if (column < 1 || column > 9) {
        throw Failure(QStringLiteral("There is no width setting for column %1.").arg(column));
    }
    return Setting(int(Setting::ColumnWidth1) + column - 1);
}

QString Config::key(Setting setting) {
    return QLatin1String(definition(setting).key);
}

QString Config::defaultValue(Setting setting) {
    return QLatin1String(definition(setting).defaultValue);
}
