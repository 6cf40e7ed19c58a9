#include "mainwindow/extra_columns.h"

#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "core/settings/setting_values.h"
#include "mainwindow/column_provider.h"
#include "mainwindow/list_view.h"
#include "platform/twips.h"

#include <QHeaderView>
#include <QMenu>
#include <QTimer>

namespace {
const QString kNotRead = QStringLiteral("The column \"%1\" could not be read. %2");
// The width of a column whose remembered width is spoilt, in twips.
constexpr float kDefaultWidth = 1400.0f;
} // namespace

ExtraColumns::ExtraColumns(ListView& list, SettingsStore& settings, MessageBoxes& boxes)
    : QObject(&list), m_list(list), m_settings(settings), m_boxes(boxes),
      m_menu(new QMenu(list.header())) {
    m_menu->setObjectName(QStringLiteral("ListHeaderMenu"));
    m_list.items().setExtraLoader([this](int extra) { return cellsOf(extra); });
}

void ExtraColumns::add(ColumnProvider& provider) {
    const int extra =
        m_list.items().addExtraField({provider.id(), provider.caption(), provider.emptyWord(),
                                      provider.numeric(), provider.stateWords()});
    m_providers.push_back(&provider);
    QAction* entry = m_menu->addAction(provider.caption());
    entry->setCheckable(true);
    connect(entry, &QAction::toggled, this, [this, extra](bool shown) {
        setShown(extra, shown);
        try {
            Config(m_settings).setExtraColumnShown(m_providers[std::size_t(extra)]->id(), shown);
        } catch (const Failure& failure) {
            m_boxes.warn(failure.description());
        }
    });
    if (m_providers.size() == 1) {
        // The header offers its menu from the first column on.
        QHeaderView* header = m_list.header();
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QHeaderView::customContextMenuRequested, this,
                [this, header](const QPoint& at) { m_menu->popup(header->mapToGlobal(at)); });
        connect(header, &QHeaderView::sectionResized, this,
                [this](int column, int, int pixels) { saveWidth(column, pixels); });
    }
    if (Config(m_settings).extraColumnShown(provider.id())) {
        const QSignalBlocker quiet(entry); // shown as it was: nothing to remember
        entry->setChecked(true);
        setShown(extra, true);
    }
}

void ExtraColumns::reload() {
    m_list.items().reloadExtras();
}

void ExtraColumns::setShown(int extra, bool shown) {
    float twips = 0.0f;
    if (shown) {
        try {
            twips = parseSettingNumber(
                Config(m_settings).extraColumnWidth(m_providers[std::size_t(extra)]->id()));
        } catch (const Failure&) {
            twips = kDefaultWidth;
        }
    }
    m_placing = true;
    m_list.showExtraColumn(extra, shown, twips);
    m_placing = false;
}

QHash<qint64, QString> ExtraColumns::cellsOf(int extra) {
    ColumnProvider& provider = *m_providers[std::size_t(extra)];
    try {
        return provider.cells();
    } catch (const Failure& failure) {
        // Told once the list has settled: this runs while it is being filled.
        QTimer::singleShot(0, this,
                           [this, text = kNotRead.arg(provider.caption(), failure.description())] {
                               m_boxes.warn(text);
                           });
        return {};
    }
}

void ExtraColumns::saveWidth(int column, int pixels) {
    const int extra = m_list.items().extraOfColumn(column);
    if (m_placing || extra < 0) {
        return;
    }
    Config config(m_settings);
    const QString id = m_providers[std::size_t(extra)]->id();
    float saved = -1.0f;
    try {
        saved = parseSettingNumber(config.extraColumnWidth(id));
    } catch (const Failure&) {
        saved = -1.0f;
    }
    if (Twips::toPixels(saved) != pixels) { // unchanged widths keep their twips
        try {
            config.setExtraColumnWidth(id, formatSettingNumber(Twips::fromPixels(pixels)));
        } catch (const Failure& failure) {
            m_boxes.warn(failure.description());
        }
    }
}
