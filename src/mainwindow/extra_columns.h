#pragma once

#include <QObject>
#include <vector>

class ColumnProvider;
class ListView;
class MessageBoxes;
class QMenu;
class SettingsStore;

// The features' columns on the movie list: each provider's column comes
// after the list's own while the person has ticked it in the list header's
// menu, and its cells are read in one go whenever the list is filled. The
// header has no menu of its own until a provider is added, and a list with
// no such column shown reads nothing more.
class ExtraColumns : public QObject {
    Q_OBJECT
public:
    ExtraColumns(ListView& list, SettingsStore& settings, MessageBoxes& boxes);

    // Offers the provider's column, shown at once if it was shown last time.
    void add(ColumnProvider& provider);
    // The catalogue changed in what the columns show without a refill.
    void reload();
    // The list header's menu: one entry per column, ticked while it is shown.
    QMenu& headerMenu() { return *m_menu; }

private:
    void setShown(int extra, bool shown);
    QHash<qint64, QString> cellsOf(int extra);
    void saveWidth(int column, int pixels);

    ListView& m_list;
    SettingsStore& m_settings;
    MessageBoxes& m_boxes;
    QMenu* m_menu = nullptr;
    std::vector<ColumnProvider*> m_providers; // by extra field
    bool m_placing = false;                   // a column is being shown at its remembered width
};
