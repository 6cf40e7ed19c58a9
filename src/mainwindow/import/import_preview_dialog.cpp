#include "mainwindow/import/import_preview_dialog.h"

#include "core/import/import_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
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
const QString kSheet = QStringLiteral("S&heet:");
const QString kFirstMovies = QStringLiteral("The first movies as they will be stored:");
const QStringList kHeaders = {QStringLiteral("Title"),       QStringLiteral("Year"),
                              QStringLiteral("Genre"),       QStringLiteral("Cast"),
                              QStringLiteral("Director"),    QStringLiteral("Runtime"),
                              QStringLiteral("MPAA Rating"), QStringLiteral("Studio")};

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const ImportPlan& plan, const QString& fileName,
                                         QWidget* parent)
    : QDialog(parent), m_plan(&plan), m_fileName(fileName), m_sheetLabel(new QLabel(kSheet, this)),
      m_sheets(new QComboBox(this)), m_summary(new QPlainTextEdit(this)),
      m_skip(new QCheckBox(kSkipLookAlikes, this)),
      m_firstMovies(new QTableWidget(0, int(kHeaders.size()), this)) {
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
    resize(760, 480);
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
    update();
}

bool ImportPreviewDialog::skipLookAlikes() const {
    return m_skip->isChecked();
}

void ImportPreviewDialog::update() {
    const bool skip = skipLookAlikes();
    const QStringList lines = planSummary(*m_plan, skip) + lookAlikeLines(*m_plan);
    m_summary->setPlainText(lines.join(QLatin1Char('\n')));
    const std::vector<DvdRecord> first = m_plan->firstMovies(kShownMovies, skip);
    m_firstMovies->setRowCount(int(first.size()));
    for (std::size_t row = 0; row < first.size(); ++row) {
        for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
            m_firstMovies->setItem(int(row), field, new QTableWidgetItem(first[row].field(field)));
        }
    }
    m_import->setEnabled(m_plan->addCount(skip) > 0);
}
