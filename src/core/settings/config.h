#pragma once

#include <QString>

class SettingsStore;

// Every setting the program keeps. The keys the store sees and the defaults
// are in one table (config.cpp).
enum class Setting {
    WindowState,  // 0 normal, 1 minimized, 2 maximized
    ColumnWidth1, // the list's column widths in twips, "ID" first
    ColumnWidth2,
    ColumnWidth3,
    ColumnWidth4,
    ColumnWidth5,
    ColumnWidth6,
    ColumnWidth7,
    ColumnWidth8,
    ColumnWidth9,
    MovieView,    // "list" or "covers": how the movies were last shown
    MenuBarShown, // "1" while the menu bar is kept shown
    // Looking movies up in the film databases: the source ("wikidata" or
    // "tmdb"), the person's own TMDb key, and the services' addresses
    // (empty: the public service's). Environment variables override them.
    LookupSource,
    TmdbKey,
    TmdbUrl,
    WikidataSparqlUrl,
    WikidataApiUrl,
    LoanDays, // how many days after today a new loan is due, unless changed
};

// The settings as the program reads and writes them, over a store.
class Config {
public:
    explicit Config(SettingsStore& store) : m_store(store) {}

    // The stored text, or the setting's default when none is stored.
    QString get(Setting setting) const;
    // Stores the text; fails with a description when it cannot be written.
    void set(Setting setting, const QString& value);

    // An extra column of the list (a feature's, by its id): whether it is
    // shown, and its width in twips ("1400" until it was resized).
    bool extraColumnShown(const QString& id) const;
    void setExtraColumnShown(const QString& id, bool shown);
    QString extraColumnWidth(const QString& id) const;
    void setExtraColumnWidth(const QString& id, const QString& twips);

    // The width setting of list column 1 to 9; fails for any other number.
    static Setting columnWidth(int column);
    // The key the store keeps the setting under, and its default.
    static QString key(Setting setting);
    static QString defaultValue(Setting setting);

private:
    SettingsStore& m_store;
};
