#include "mainwindow/shelf/sets_dialog.h"

#include "core/report/failure.h"
#include "core/report/message_boxes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Box sets and series");
const QString kMakeGroup = QStringLiteral("New set of the %1 ticked movie(s)");
const QString kName = QStringLiteral("&Name:");
const QString kKind = QStringLiteral("&Kind:");
const QString kBarcode = QStringLiteral("Box set &barcode:");
const QString kMake = QStringLiteral("&Make set");
const QString kWish = QStringLiteral("&Wish the missing ones");
const QString kSetRow = QStringLiteral("%1 (%2)");
const QString kMissing = QStringLiteral("%1 \u2014 missing");
const QString kNoName = QStringLiteral("A set needs a name.");
const QString kNoneTicked = QStringLiteral("Tick the movies the set holds first.");

} // namespace

SetsDialog::SetsDialog(Catalogue& catalogue, MessageBoxes& boxes, QList<qint64> ticked,
                       std::function<void()> changed, QWidget* parent)
    : QDialog(parent), m_boxes(boxes), m_store(catalogue), m_ticked(std::move(ticked)),
      m_changed(std::move(changed)), m_name(new QLineEdit(this)), m_kind(new QComboBox(this)),
      m_barcode(new QLineEdit(this)), m_make(new QPushButton(kMake, this)),
      m_sets(new QListWidget(this)), m_members(new QListWidget(this)),
      m_wish(new QPushButton(kWish, this)) {
    setObjectName(QStringLiteral("setsDialog"));
    setWindowTitle(kTitle);

    for (SetKind kind : {SetKind::Series, SetKind::BoxSet}) {
        m_kind->addItem(ShelfNames::name(kind), static_cast<int>(kind));
    }
    m_make->setAutoDefault(false);
    m_make->setEnabled(!m_ticked.isEmpty());
    auto* group = new QGroupBox(kMakeGroup.arg(m_ticked.size()), this);
    auto* form = new QFormLayout(group);
    form->addRow(kName, m_name);
    form->addRow(kKind, m_kind);
    form->addRow(kBarcode, m_barcode);
    form->addRow(QString(), m_make);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        m_barcode->setEnabled(m_kind->currentData().toInt() == static_cast<int>(SetKind::BoxSet));
    });
    m_barcode->setEnabled(false);

    m_wish->setAutoDefault(false);
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_sets);
    lists->addWidget(m_members);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_wish);
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);

    connect(m_make, &QPushButton::clicked, this, &SetsDialog::makeSet);
    connect(m_wish, &QPushButton::clicked, this, &SetsDialog::wishMissing);
    connect(m_sets, &QListWidget::currentRowChanged, this, &SetsDialog::showMembers);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(620, 440);
    reloadSets();
}

qint64 SetsDialog::currentSet() const {
    const int row = m_sets->currentRow();
    return row >= 0 && row < int(m_setRows.size()) ? m_setRows.at(std::size_t(row)).id : 0;
}

void SetsDialog::reloadSets() {
    m_setRows = m_store.sets();
    m_sets->clear();
    for (const ShelfSet& set : m_setRows) {
        m_sets->addItem(kSetRow.arg(set.name, ShelfNames::name(set.kind)));
    }
    if (!m_setRows.empty()) {
        m_sets->setCurrentRow(int(m_setRows.size()) - 1);
    }
    showMembers();
}

void SetsDialog::showMembers() {
    m_members->clear();
    const qint64 set = currentSet();
    bool anyMissing = false;
    if (set != 0) {
        for (const SetMember& member : m_store.members(set)) {
            m_members->addItem(member.missing ? kMissing.arg(member.title) : member.title);
            anyMissing = anyMissing || member.missing;
        }
    }
    m_wish->setEnabled(anyMissing);
}

void SetsDialog::makeSet() {
    if (m_ticked.isEmpty()) {
        m_boxes.tell(kNoneTicked);
        return;
    }
    ShelfSet set;
    set.name = m_name->text().trimmed();
    if (set.name.isEmpty()) {
        m_boxes.warn(kNoName);
        m_name->setFocus();
        return;
    }
    set.kind = static_cast<SetKind>(m_kind->currentData().toInt());
    if (set.kind == SetKind::BoxSet) {
        set.barcode = m_barcode->text().trimmed();
    }
    try {
        m_store.makeSet(set, m_ticked);
    } catch (const Failure& failure) {
        m_boxes.warn(failure.description());
        return;
    }
    m_name->clear();
    m_barcode->clear();
    reloadSets();
}

void SetsDialog::wishMissing() {
    const qint64 set = currentSet();
    if (set == 0) {
        return;
    }
    try {
        for (qint64 movie : m_store.missing(set)) {
            const std::vector<ShelfCopy> copies = m_store.copies(movie);
            const bool wished = std::any_of(copies.begin(), copies.end(), [](const ShelfCopy& c) {
                return c.status == CopyStatus::Wished;
            });
            if (!wished) {
                ShelfCopy copy;
                copy.movieId = movie;
                copy.status = CopyStatus::Wished;
                m_store.addCopy(copy);
            }
        }
    } catch (const Failure& failure) {
        m_boxes.warn(failure.description());
    }
    m_changed();
    showMembers();
}
