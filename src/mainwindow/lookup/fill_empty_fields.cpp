#include "mainwindow/lookup/fill_empty_fields.h"

#include "core/catalogue/catalogue.h"
#include "core/lookup/empty_field_fill.h"
#include "core/lookup/lookup_sources.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "coverimage/cover_image.h"
#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QProgressDialog>

namespace {

const QString kEntry = QStringLiteral("Fill &empty fields\u2026");
const QString kFilling = QStringLiteral("Filling the empty fields of %1 movie(s) from %2\u2026");
const QString kCancel = QStringLiteral("Cancel");
const QString kSummary = QStringLiteral("%1 filled, %2 without a match, %3 unclear");
const QString kShowThem = QStringLiteral(" \u2014 show them?");
const QString kCancelled = QStringLiteral("Cancelled after %1 of %2 movie(s). ");
const QString kStopped = QStringLiteral("%1\n\nStopped after %2 of %3 movie(s). ");
const QString kNoSource = QStringLiteral("There is no film database '%1'.");
const QString kPoster = QStringLiteral("%1's poster");

} // namespace

FillEmptyFields::FillEmptyFields(WindowContext& context)
    : WindowFeature(context, QStringLiteral("FillEmptyFields")), m_services(context.services()) {
    m_entry = addEntry(kEntry, {}, [this] { fillTicked(); });
    // Ticking a row changes its data, not the selection.
    connect(&context.list().items(), &QAbstractItemModel::dataChanged, this,
            [this] { updateEntries(); });
    FillEmptyFields::updateEntries();
}

FillEmptyFields::~FillEmptyFields() {
    delete m_batch; // before the source it uses
}

void FillEmptyFields::updateEntries() {
    m_entry->setEnabled(!m_batch && m_services.catalogue.isOpen() &&
                        !context().list().items().tickedIds().isEmpty());
}

void FillEmptyFields::fillTicked() {
    if (m_batch || !context().catchUp()) {
        return;
    }
    QList<qint64> ids;
    for (const QString& id : context().list().items().tickedIds()) {
        ids.append(id.toLongLong());
    }
    if (ids.isEmpty()) {
        return;
    }
    std::sort(ids.begin(), ids.end());
    Config settings(m_services.settings);
    const QString name = LookupSources::chosen(settings);
    m_source = LookupSources::make(name, &settings);
    if (!m_source) {
        m_services.boxes.warn(kNoSource.arg(name));
        return;
    }
    m_batch = new EmptyFieldFill(m_services.catalogue, *m_source, {}, this);
    const QString posterName = kPoster.arg(m_source->name());
    m_batch->setPosterToCover(
        [posterName](const QByteArray& bytes) { return CoverImage::fromBytes(bytes, posterName); });

    m_dialog = new QProgressDialog(kFilling.arg(ids.size()).arg(m_source->name()), kCancel, 0,
                                   int(ids.size()), &context().window());
    m_dialog->setObjectName(QStringLiteral("fillProgress"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    connect(m_dialog, &QProgressDialog::canceled, m_batch, &EmptyFieldFill::cancel);
    connect(m_batch, &EmptyFieldFill::progress, m_dialog, &QProgressDialog::setValue);
    connect(m_batch, &EmptyFieldFill::finished, this, &FillEmptyFields::finish,
            Qt::QueuedConnection);
    updateEntries();
    m_dialog->open();
    m_batch->start(ids);
}

void FillEmptyFields::finish() {
    if (m_dialog) {
        m_dialog->deleteLater();
    }
    EmptyFieldFill& batch = *m_batch;
    QString text;
    if (batch.failure()) {
        text = kStopped.arg(batch.failure()->description()).arg(batch.done()).arg(batch.total());
    } else if (batch.isCancelled()) {
        text = kCancelled.arg(batch.done()).arg(batch.total());
    }
    text += kSummary.arg(batch.filled())
                .arg(batch.count(EmptyFieldFill::Left::NoMatch))
                .arg(batch.count(EmptyFieldFill::Left::Unclear));
    QSet<QString> leftAlone;
    for (const EmptyFieldFill::LeftAlone& movie : batch.leftAlone()) {
        leftAlone.insert(QString::number(movie.id));
    }
    m_batch->deleteLater();
    m_batch = nullptr;
    context().refresh();
    updateEntries();

    if (leftAlone.isEmpty()) {
        m_services.boxes.tell(text);
        return;
    }
    if (m_services.boxes.ask(text + kShowThem) == Answer::Yes) {
        // Only the movies left alone stay ticked, to be done one by one.
        MovieListModel& items = context().list().items();
        for (int row = 0; row < items.itemCount(); ++row) {
            items.setTicked(row, leftAlone.contains(items.cell(row, 0)));
        }
    }
}
