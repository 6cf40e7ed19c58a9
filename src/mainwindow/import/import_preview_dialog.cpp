#include "mainwindow/import/import_preview_dialog.h"

#include "core/import/import_store.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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
const QString kFirstMovies = QStringLiteral("The first movies as they will be stored:");
const QStringList kHeaders = {QStringLiteral("Title"),       QStringLiteral("Year"),
                              QStringLiteral("Genre"),       QStringLiteral("Cast"),
                              QStringLiteral("Director"),    QStringLiteral("Runtime"),
                              QStringLiteral("MPAA Rating"), QStringLiteral("Studio")};

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const ImportPlan& plan, const QString& fileName,
                                         QWidget* parent)
    : QDialog(parent), m_plan(plan), m_summary(new QPlainTextEdit(this)),
      m_skip(new QCheckBox(kSkipLookAlikes, this)),
      m_firstMovies(new QTableWidget(0, int(kHeaders.size()), this)) {
    setObjectName(QStringLiteral("ImportPreviewDialog"));
    setWindowTitle(QStringLiteral("%1: %2 (%3)").arg(kTitle, fileName, plan.formatName));
    auto* layout = new QVBoxLayout(this);

    // A long list of skipped rows scrolls instead of stretching the dialog.
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setReadOnly(true);
    m_summary->setMaximumHeight(m_summary->fontMetrics().lineSpacing() * 9);
    layout->addWidget(m_summary);

    m_skip->setObjectName(QStringLiteral("skipLookAlikes"));
    m_skip->setVisible(plan.looksLikeExistingCount > 0);
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
    update();
    resize(760, 480);
}

bool ImportPreviewDialog::skipLookAlikes() const {
    return m_skip->isChecked();
}

void ImportPreviewDialog::update() {
    const bool skip = skipLookAlikes();
    m_summary->setPlainText(planSummary(m_plan, skip).join(QLatin1Char('\n')));
    const std::vector<DvdRecord> first = m_plan.firstMovies(kShownMovies, skip);
    m_firstMovies->setRowCount(int(first.size()));
    for (std::size_t row = 0; row < first.size(); ++row) {
        for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
            m_firstMovies->setItem(int(row), field, new QTableWidgetItem(first[row].field(field)));
        }
    }
    m_import->setEnabled(m_plan.addCount(skip) > 0);
}
