#include "mainwindow/shelf/scan_mode.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/movie_column.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_store.h"
#include "editor/form2.h"
#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Scan mode");
const QString kPrompt = QStringLiteral("Scan a disc or type its barcode, then Enter:");
const QString kAnswer = QStringLiteral("%1: %2");
const QString kOwned = QStringLiteral("You own this: %1");
const QString kUnknown = QStringLiteral("Not in the catalogue");
const QString kAddButton = QStringLiteral("&Add a movie with this barcode\u2026");
const QString kAdded = QStringLiteral("Added \"%1\" with a copy of this barcode");
const QString kLookUpHint = QStringLiteral("In the editor, type the title; %1 looks it up.");
// The editor's look-up key, there when the window has the film-database lookup.
const QString kLookUpKeyName = QStringLiteral("lookUpKey");
// How long a scan waits before looking again whether a dialog has closed.
constexpr int kDialogWaitMs = 200;

} // namespace

ScanMode::ScanMode(WindowContext& context, QObject* parent) : QObject(parent), m_context(context) {}

ScanMode::~ScanMode() {
    delete m_window;
}

void ScanMode::makeWindow() {
    m_window = new QDialog(&m_context.window());
    m_window->setObjectName(QStringLiteral("scanMode"));
    m_window->setWindowTitle(kTitle);
    m_field = new QLineEdit(m_window);
    m_field->setObjectName(QStringLiteral("scanField"));
    m_answers = new QListWidget(m_window);
    m_answers->setFocusPolicy(Qt::NoFocus);
    m_answers->setWordWrap(true);
    m_answers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(m_window);
    layout->addWidget(new QLabel(kPrompt, m_window));
    layout->addWidget(m_field);
    layout->addWidget(m_answers, 1);
    m_add = new QPushButton(kAddButton, m_window);
    m_add->setAutoDefault(false);
    m_add->setFocusPolicy(Qt::NoFocus); // the box keeps the scanner's input
    layout->addWidget(m_add, 0, Qt::AlignLeft);
    m_lookUpHint = new QLabel(m_window);
    m_lookUpHint->setObjectName(QStringLiteral("lookUpHint"));
    m_lookUpHint->setWordWrap(true);
    layout->addWidget(m_lookUpHint);
    connect(m_add, &QPushButton::clicked, this, &ScanMode::addChosen);
    connect(m_answers, &QListWidget::currentRowChanged, this, &ScanMode::updateAddButton);
    connect(m_answers, &QListWidget::itemDoubleClicked, this, &ScanMode::addChosen);
    updateAddButton();
    m_window->resize(460, 260);
    connect(m_field, &QLineEdit::returnPressed, this, [this] {
        const QString code = m_field->text();
        m_field->clear();
        scan(code);
    });
}

void ScanMode::show() {
    if (!m_window) {
        makeWindow();
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_field->setFocus();
}

QStringList ScanMode::answers() const {
    QStringList texts;
    for (int row = 0; m_answers && row < m_answers->count(); ++row) {
        texts << m_answers->item(row)->text();
    }
    return texts;
}

void ScanMode::scan(const QString& code) {
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty()) {
        return;
    }
    m_queue.append(trimmed);
    if (m_queue.size() == 1) {
        QTimer::singleShot(0, this, &ScanMode::answerNext);
    }
}

void ScanMode::answerNext() {
    if (m_answering || m_queue.isEmpty()) {
        return;
    }
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kDialogWaitMs, this, &ScanMode::answerNext);
        return;
    }
    m_answering = true;
    const QString code = m_queue.first();
    try {
        answer(code);
    } catch (const Failure& failure) {
        tell(code, failure.description());
    }
    m_queue.removeFirst();
    m_answering = false;
    if (!m_queue.isEmpty()) {
        QTimer::singleShot(0, this, &ScanMode::answerNext);
    }
}

void ScanMode::answer(const QString& code) {
    const QString problem = Barcode::problem(code);
    if (!problem.isEmpty()) {
        tell(code, problem);
        return;
    }
    Catalogue& catalogue = m_context.services().catalogue;
    if (!catalogue.isOpen()) {
        return;
    }
    m_context.catchUp();
    ShelfStore store(catalogue);
    const std::vector<FoundCopy> found = store.findBarcode(code);
    if (found.empty()) {
        tell(code, kUnknown, true);
        return;
    }
    QStringList copies;
    for (const FoundCopy& each : found) {
        const bool oneMovie = each.copy.movieId == found.front().copy.movieId;
        copies << (oneMovie ? describeCopy(each.copy)
                            : kAnswer.arg(each.title, describeCopy(each.copy)));
    }
    highlight(found.front().copy.movieId);
    tell(code, kOwned.arg(copies.join(QStringLiteral("; "))));
}

void ScanMode::addChosen() {
    QListWidgetItem* item = m_answers ? m_answers->currentItem() : nullptr;
    const QString code = item ? item->data(Qt::UserRole).toString() : QString();
    if (code.isEmpty() || m_answering || QApplication::activeModalWidget()) {
        return;
    }
    m_answering = true; // scans wait until the editor has closed
    try {
        Catalogue& catalogue = m_context.services().catalogue;
        m_context.catchUp();
        // The editor says which movie its Save added.
        qint64 after = 0;
        const QMetaObject::Connection added =
            connect(&m_context.editor(), &Form2::saved, this, [&after](qint64 id) { after = id; });
        m_context.press(Button::AddNewMovie);
        disconnect(added);
        if (after > 0) {
            ShelfCopy copy;
            copy.movieId = after;
            copy.barcode = code;
            ShelfStore(catalogue).addCopy(copy);
            const std::optional<DvdRecord> movie = catalogue.movie(QString::number(after));
            item->setText(kAnswer.arg(code, kAdded.arg(movie ? movie->title : QString())));
            item->setData(Qt::UserRole, QString());
            highlight(after);
            m_context.columnsChanged();
        }
    } catch (const Failure& failure) {
        m_context.services().boxes.warn(failure.description());
    }
    m_answering = false;
    updateAddButton();
    if (!m_queue.isEmpty()) {
        QTimer::singleShot(0, this, &ScanMode::answerNext);
    }
}

void ScanMode::updateAddButton() {
    const QListWidgetItem* item = m_answers->currentItem();
    const bool unknown = item && !item->data(Qt::UserRole).toString().isEmpty();
    m_add->setEnabled(unknown);
    // Where the editor can look a title up, the offer says how.
    const auto* lookUp = m_context.editor().findChild<QAction*>(kLookUpKeyName);
    m_lookUpHint->setVisible(unknown && lookUp != nullptr);
    if (lookUp) {
        m_lookUpHint->setText(
            kLookUpHint.arg(lookUp->shortcut().toString(QKeySequence::NativeText)));
    }
}

void ScanMode::highlight(qint64 movieId) {
    ListView& list = m_context.list();
    const QString id = QString::number(movieId);
    for (int row = 0; row < list.items().itemCount(); ++row) {
        if (list.items().cell(row, columnIndex(MovieColumn::Id)) == id) {
            list.selectRow(row);
            return;
        }
    }
}

void ScanMode::tell(const QString& code, const QString& text, bool unknown) {
    if (!m_answers) {
        makeWindow();
    }
    auto* item = new QListWidgetItem(kAnswer.arg(code, text));
    m_answers->insertItem(0, item);
    if (unknown) {
        item->setData(Qt::UserRole, code);
        m_answers->setCurrentItem(item); // ready for Add
    }
    updateAddButton();
}
