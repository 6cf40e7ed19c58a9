#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Catalogue;

// Notices changes that other programs commit to the catalogue file while
// the window shows it. The window tells it when it fills its list; from
// then on the catalogue's data version tells whether the file has changed
// since. While it runs, it looks every kIntervalMs and hands a change to
// `changed`, which decides whether now is a good moment to refill.
class CatalogueWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 2500;

    CatalogueWatch(Catalogue& catalogue, std::function<void()> changed, QObject* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

    // The list is about to be filled from the catalogue as it is now.
    void aboutToFill();
    // Whether the file has changed since the list was last filled. A
    // version that cannot be read counts as no change: the next look
    // tries again.
    bool changedSinceFill();

private:
    void look();

    Catalogue& m_catalogue;
    std::function<void()> m_changed;
    QTimer m_timer;
    std::optional<qint64> m_filledAt;
};
