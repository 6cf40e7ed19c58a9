#include "mainwindow/import/import_preview_dialog.h"

#include "core/import/column_names.h"
#include "core/import/import_store.h"
#include "core/import/remembered_columns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Import movies");
const QString kImportButton = QStringLiteral("&Import");
const QString kSkipLookAlikes = QStringLiteral("&Skip the movies that look like ones already in "
                                               "the catalogue");
const QString kDuplicates = QStringLiteral(
    "%1 movie(s) have the title, year and director of a movie already in the catalogue.");
const QString kSheet = QStringLiteral("S&heet:");
const QString kFirstMovies = QStringLiteral("The first movies as they will be stored:");
const QStringList kHeaders = {QStringLiteral("Title"),       QStringLiteral("Year"),
                              QStringLiteral("Genre"),       QStringLiteral("Cast"),
                              QStringLiteral("Director"),    QStringLiteral("Runtime"),
                              QStringLiteral("MPAA Rating"), QStringLiteral("Studio")};
// A copy's fields, in the order of CopyField, offered when the file has them.
const QStringList kCopyHeaders = {
    QStringLiteral("Format"), QStringLiteral("Edition"),  QStringLiteral("Barcode"),
    QStringLiteral("Discs"),  QStringLiteral("Location"), QStringLiteral("Acquired"),
    QStringLiteral("Price"),  QStringLiteral("Currency"), QStringLiteral("Condition"),
    QStringLiteral("Status"), QStringLiteral("Note")};
const QString kColumns = QStringLiteral("Colu&mns of the file and the field each goes into:");
const QStringList kColumnCaptions = {QStringLiteral("Column"), QStringLiteral("First values"),
                                     QStringLiteral("Goes into")};
const QString kColumnNumber = QStringLiteral("Column %1");
const QString kIgnore = QStringLiteral("Ignore");
const QString kMinutes = QStringLiteral("Con&vert minutes to h:mm");
const QString kValueSeparator = QStringLiteral(" \u00b7 ");
// The longest first value shown in full, and the column table's height in rows.
constexpr qsizetype kShortValue = 24;
constexpr int kColumnRows = 6;
enum ColumnCell { Caption, FirstValues, Field };

// The value on one line, cut to kShortValue characters with an ellipsis.
QString shortened(const QString& value) {
    QString text = value.simplified();
    if (text.size() <= kShortValue) {
        return text;
    }
    qsizetype kept = kShortValue - 1;
    if (text[kept - 1].isHighSurrogate()) {
        --kept; // never half a character
    }
    return text.left(kept) + QChar(0x2026);
}

QString captionOf(const PlanColumn& column, int row) {
    return column.header.isEmpty() ? kColumnNumber.arg(row + 1) : column.header;
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const ImportPlan& plan, const QString& fileName,
                                         QWidget* parent)
    : QDialog(parent), m_plan(&plan), m_fileName(fileName), m_sheetLabel(new QLabel(kSheet, this)),
      m_sheets(new QComboBox(this)), m_summary(new QPlainTextEdit(this)),
      m_skip(new QCheckBox(kSkipLookAlikes, this)),
      m_firstMovies(new QTableWidget(0, int(kHeaders.size()), this)),
      m_columnsLabel(new QLabel(kColumns, this)),
      m_columns(new QTableWidget(0, int(kColumnCaptions.size()), this)),
      m_minutes(new QCheckBox(kMinutes, this)) {
    setObjectName(QStringLiteral("ImportPreviewDialog"));
    auto* layout = new QVBoxLayout(this);

    auto* sheetRow = new QHBoxLayout;
    m_sheets->setObjectName(QStringLiteral("sheet"));
    m_sheetLabel->setBuddy(m_sheets);
    sheetRow->addWidget(m_sheetLabel);
    sheetRow->addWidget(m_sheets, 1);
    layout->addLayout(sheetRow);
    connect(m_sheets, &QComboBox::activated, this, [this] {
        if (m_sheets->currentText() != m_plan->sheetName) {
            emit sheetChosen(m_sheets->currentText());
        }
    });

    layout->addWidget(m_columnsLabel);
    m_columns->setObjectName(QStringLiteral("columns"));
    m_columns->setHorizontalHeaderLabels(kColumnCaptions);
    m_columns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_columns->setSelectionMode(QAbstractItemView::NoSelection);
    // The field choices take the focus one after the other, not the table.
    m_columns->setFocusPolicy(Qt::NoFocus);
    m_columns->verticalHeader()->setVisible(false);
    m_columns->horizontalHeader()->setSectionResizeMode(FirstValues, QHeaderView::Stretch);
    m_columns->setMaximumHeight(m_columns->horizontalHeader()->sizeHint().height() +
                                m_columns->verticalHeader()->defaultSectionSize() * kColumnRows +
                                2 * m_columns->frameWidth());
    layout->addWidget(m_columns);
    m_minutes->setObjectName(QStringLiteral("runtimeInMinutes"));
    layout->addWidget(m_minutes);
    connect(m_minutes, &QCheckBox::toggled, this, &ImportPreviewDialog::columnsChosen);
    // The column choices come before the summary, in the focus order too.
    setTabOrder(m_sheets, m_minutes);

    // A long list of skipped rows scrolls instead of stretching the dialog.
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setReadOnly(true);
    m_summary->setMaximumHeight(m_summary->fontMetrics().lineSpacing() * 9);
    layout->addWidget(m_summary);

    m_skip->setObjectName(QStringLiteral("skipLookAlikes"));
    layout->addWidget(m_skip);

    layout->addWidget(new QLabel(kFirstMovies, this));
    m_firstMovies->setObjectName(QStringLiteral("firstMovies"));
    m_firstMovies->setHorizontalHeaderLabels(kHeaders);
    m_firstMovies->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_firstMovies->verticalHeader()->setVisible(false);
    layout->addWidget(m_firstMovies);

    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(kImportButton, QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("import"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_skip, &QCheckBox::toggled, this, &ImportPreviewDialog::update);
    showPlan(plan);
    resize(760, 640);
}

void ImportPreviewDialog::showPlan(const ImportPlan& plan) {
    m_plan = &plan;
    setWindowTitle(QStringLiteral("%1: %2 (%3)").arg(kTitle, m_fileName, plan.formatName));
    const bool severalSheets = plan.sheetNames.size() > 1;
    m_sheetLabel->setVisible(severalSheets);
    m_sheets->setVisible(severalSheets);
    m_sheets->clear();
    m_sheets->addItems(plan.sheetNames);
    m_sheets->setCurrentText(plan.sheetName);
    m_skip->setVisible(plan.looksLikeExistingCount > 0);
    showColumns();
    update();
}

bool ImportPreviewDialog::skipLookAlikes() const {
    return m_skip->isChecked();
}

ColumnOptions ImportPreviewDialog::columnOptions() const {
    std::vector<int> fields;
    fields.reserve(std::size_t(m_columns->rowCount()));
    for (int row = 0; row < m_columns->rowCount(); ++row) {
        fields.push_back(fieldBox(row)->currentData().toInt());
    }
    ColumnOptions options;
    options.choices = choicesByPosition(fields);
    options.runtimeInMinutes = m_minutes->isChecked();
    return options;
}

QComboBox* ImportPreviewDialog::fieldBox(int row) const {
    return qobject_cast<QComboBox*>(m_columns->cellWidget(row, Field));
}

void ImportPreviewDialog::showColumns() {
    const std::vector<PlanColumn>& columns = m_plan->columns;
    bool shown = m_columns->rowCount() == int(columns.size());
    for (int row = 0; shown && row < m_columns->rowCount(); ++row) {
        shown = m_columns->item(row, Caption)->text() == captionOf(columns[std::size_t(row)], row);
    }
    if (!shown) {
        m_columns->setRowCount(0);
        m_columns->setRowCount(int(columns.size()));
        QWidget* previous = m_sheets;
        for (int row = 0; row < int(columns.size()); ++row) {
            m_columns->setItem(row, Caption,
                               new QTableWidgetItem(captionOf(columns[std::size_t(row)], row)));
            m_columns->setItem(row, FirstValues, new QTableWidgetItem);
            auto* box = new QComboBox;
            for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
                box->addItem(kHeaders[field], field);
            }
            for (int field = kFirstCopyField; m_plan->hasCopyColumns && field < kColumnFieldCount;
                 ++field) {
                box->addItem(kCopyHeaders[field - kFirstCopyField], field);
            }
            box->addItem(kIgnore, HeaderMatch::kNone);
            box->setProperty("row", row);
            box->installEventFilter(this);
            connect(box, &QComboBox::activated, this, [this, row] { chooseField(row); });
            m_columns->setCellWidget(row, Field, box);
            setTabOrder(previous, box);
            previous = box;
        }
        m_columnsLabel->setBuddy(columns.empty() ? nullptr : fieldBox(0));
    }
    for (int row = 0; row < int(columns.size()); ++row) {
        const PlanColumn& column = columns[std::size_t(row)];
        QStringList values;
        for (const QString& value : column.firstValues) {
            values << shortened(value);
        }
        m_columns->item(row, FirstValues)->setText(values.join(kValueSeparator));
        QComboBox* box = fieldBox(row);
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(box->findData(column.field));
    }
}

void ImportPreviewDialog::chooseField(int row) {
    const int field = fieldBox(row)->currentData().toInt();
    for (int other = 0; other < m_columns->rowCount(); ++other) {
        QComboBox* box = fieldBox(other);
        if (other != row && field != HeaderMatch::kNone && box->currentData().toInt() == field) {
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(box->findData(HeaderMatch::kNone));
        }
    }
    emit columnsChosen();
}

bool ImportPreviewDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched->property("row").isValid()) {
        m_columns->scrollTo(m_columns->model()->index(watched->property("row").toInt(), Field));
    }
    return QDialog::eventFilter(watched, event);
}

void ImportPreviewDialog::setDuplicateCount(qint64 count) {
    m_duplicates = count;
    update();
}

void ImportPreviewDialog::update() {
    const bool skip = skipLookAlikes();
    QStringList lines =
        planSummary(*m_plan, skip) + wrongValueLines(*m_plan) + lookAlikeLines(*m_plan);
    if (m_duplicates > 0) {
        lines << kDuplicates.arg(m_duplicates);
    }
    m_summary->setPlainText(lines.join(QLatin1Char('\n')));
    const std::vector<DvdRecord> first = m_plan->firstMovies(kShownMovies, skip);
    m_firstMovies->setRowCount(int(first.size()));
    for (std::size_t row = 0; row < first.size(); ++row) {
        for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
            m_firstMovies->setItem(int(row), field, new QTableWidgetItem(first[row].field(field)));
        }
    }
    m_import->setEnabled(m_plan->storesAnything(skip));
}
