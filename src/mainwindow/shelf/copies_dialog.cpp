#include "mainwindow/shelf/copies_dialog.h"

#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_input.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Copies of %1");
const QStringList kColumns = {QStringLiteral("Format"),   QStringLiteral("Edition"),
                              QStringLiteral("Barcode"),  QStringLiteral("Discs"),
                              QStringLiteral("Location"), QStringLiteral("Acquired"),
                              QStringLiteral("Price"),    QStringLiteral("Condition"),
                              QStringLiteral("Status"),   QStringLiteral("Note")};
const QString kCurrency = QStringLiteral("C&urrency:");
const QString kCurrencyExample = QStringLiteral("EUR");
const QString kAdd = QStringLiteral("&Add");
const QString kChange = QStringLiteral("C&hange");
const QString kRemove = QStringLiteral("&Remove");
const QString kRemoveQuestion = QStringLiteral("Remove the copy \"%1\"?");
const QString kMovieGone =
    QStringLiteral("\"%1\" has been deleted meanwhile, with its copies; nothing was stored.");

QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

} // namespace

CopiesDialog::CopiesDialog(Catalogue& catalogue, MessageBoxes& boxes, qint64 movieId,
                           const QString& title, std::function<bool()> catchUp, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_boxes(boxes), m_store(catalogue),
      m_movieId(movieId), m_title(title), m_catchUp(std::move(catchUp)),
      m_table(new QTableWidget(0, int(kColumns.size()), this)), m_format(new QComboBox(this)),
      m_edition(new QLineEdit(this)), m_barcode(new QLineEdit(this)), m_discs(new QSpinBox(this)),
      m_location(new QLineEdit(this)), m_acquired(new QLineEdit(this)),
      m_price(new QLineEdit(this)), m_currency(new QLineEdit(this)),
      m_condition(new QLineEdit(this)), m_status(new QComboBox(this)), m_note(new QLineEdit(this)),
      m_change(new QPushButton(kChange, this)), m_remove(new QPushButton(kRemove, this)) {
    setObjectName(QStringLiteral("copiesDialog"));
    setWindowTitle(kTitle.arg(title));

    m_table->setHorizontalHeaderLabels(kColumns);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_format->addItems(ShelfNames::formatNames());
    m_barcode->setObjectName(QStringLiteral("barcode"));
    m_barcode->installEventFilter(this);
    m_discs->setRange(0, 999);
    m_discs->setSpecialValueText(QStringLiteral(" "));
    m_acquired->setPlaceholderText(QDate::currentDate().toString(Qt::ISODate));
    m_status->addItems(ShelfNames::statusNames());
    m_currency->setObjectName(QStringLiteral("currency"));
    m_currency->setPlaceholderText(kCurrencyExample);

    auto* form = new QFormLayout;
    form->addRow(kColumns.at(0), m_format);
    form->addRow(kColumns.at(1), m_edition);
    form->addRow(kColumns.at(2), m_barcode);
    form->addRow(kColumns.at(3), m_discs);
    form->addRow(kColumns.at(4), m_location);
    form->addRow(kColumns.at(5), m_acquired);
    auto* price = new QHBoxLayout;
    price->addWidget(m_price, 1);
    auto* currency = new QLabel(kCurrency, this);
    currency->setBuddy(m_currency);
    price->addWidget(currency);
    price->addWidget(m_currency);
    form->addRow(kColumns.at(6), price);
    form->addRow(kColumns.at(7), m_condition);
    form->addRow(kColumns.at(8), m_status);
    form->addRow(kColumns.at(9), m_note);

    // No button is the default: a scanner's Enter never presses one.
    auto* add = new QPushButton(kAdd, this);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    for (QPushButton* button : {add, m_change, m_remove, close->button(QDialogButtonBox::Close)}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(add, m_change); // the buttons in the order they show
    connect(add, &QPushButton::clicked, this, &CopiesDialog::addCopy);
    connect(m_change, &QPushButton::clicked, this, &CopiesDialog::changeCopy);
    connect(m_remove, &QPushButton::clicked, this, &CopiesDialog::removeCopy);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) { showCopy(row); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(760, 560);
    reload();
}

void CopiesDialog::reload() {
    m_copies = m_store.copies(m_movieId);
    m_table->setRowCount(int(m_copies.size()));
    for (int row = 0; row < int(m_copies.size()); ++row) {
        const ShelfCopy& copy = m_copies.at(std::size_t(row));
        const QStringList cells = {ShelfNames::name(copy.format),
                                   copy.edition,
                                   copy.barcode,
                                   copy.discs > 0 ? QString::number(copy.discs) : QString(),
                                   copy.location,
                                   dateText(copy.acquired),
                                   priceText(copy),
                                   copy.condition,
                                   ShelfNames::name(copy.status),
                                   copy.note};
        for (int column = 0; column < int(cells.size()); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        }
    }
    m_table->resizeColumnsToContents();
    const bool any = !m_copies.empty();
    m_change->setEnabled(any);
    m_remove->setEnabled(any);
}

void CopiesDialog::showCopy(int row) {
    if (row < 0 || row >= int(m_copies.size())) {
        return;
    }
    const ShelfCopy& copy = m_copies.at(std::size_t(row));
    m_format->setCurrentIndex(static_cast<int>(copy.format));
    m_edition->setText(copy.edition);
    m_barcode->setText(copy.barcode);
    m_discs->setValue(copy.discs);
    m_location->setText(copy.location);
    m_acquired->setText(dateText(copy.acquired));
    m_price->setText(copy.price);
    m_currency->setText(copy.currency);
    m_condition->setText(copy.condition);
    m_status->setCurrentIndex(static_cast<int>(copy.status));
    m_note->setText(copy.note);
}

ShelfCopy CopiesDialog::formCopy() const {
    ShelfCopy copy;
    copy.movieId = m_movieId;
    copy.format = static_cast<CopyFormat>(m_format->currentIndex());
    copy.edition = m_edition->text().trimmed();
    copy.barcode = m_barcode->text().trimmed();
    if (!copy.barcode.isEmpty()) {
        const QString problem = Barcode::problem(copy.barcode);
        if (!problem.isEmpty()) {
            m_barcode->setFocus();
            throw Failure(problem);
        }
    }
    copy.discs = m_discs->value();
    copy.location = m_location->text().trimmed();
    copy.acquired = ShelfInput::date(m_acquired->text().trimmed(), locale());
    copy.price = ShelfInput::price(m_price->text().trimmed());
    // A currency stored as another program wrote it stays while untouched.
    const int row = m_table->currentRow();
    const bool kept = row >= 0 && row < int(m_copies.size()) &&
                      m_currency->text() == m_copies.at(std::size_t(row)).currency;
    try {
        copy.currency = kept ? m_currency->text() : ShelfInput::currency(m_currency->text());
    } catch (const Failure&) {
        m_currency->setFocus();
        throw;
    }
    copy.condition = m_condition->text().trimmed();
    copy.status = static_cast<CopyStatus>(m_status->currentIndex());
    copy.note = m_note->text().trimmed();
    return copy;
}

bool CopiesDialog::movieStillThere() {
    if (m_catalogue.movie(QString::number(m_movieId))) {
        return true;
    }
    m_boxes.warn(kMovieGone.arg(m_title));
    reject();
    return false;
}

void CopiesDialog::act(const std::function<void()>& change) {
    try {
        if (!m_catchUp() || !movieStillThere()) {
            return;
        }
        change();
    } catch (const Failure& failure) {
        m_boxes.warn(failure.description());
        return;
    }
    reload();
}

void CopiesDialog::addCopy() {
    act([this] {
        const ShelfCopy copy = formCopy();
        m_store.addCopy(copy);
    });
}

void CopiesDialog::changeCopy() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= int(m_copies.size())) {
        return;
    }
    const qint64 id = m_copies.at(std::size_t(row)).id;
    act([this, id] {
        ShelfCopy copy = formCopy();
        copy.id = id;
        m_store.changeCopy(copy);
    });
}

void CopiesDialog::removeCopy() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= int(m_copies.size())) {
        return;
    }
    const ShelfCopy copy = m_copies.at(std::size_t(row));
    if (m_boxes.askDefaultNo(kRemoveQuestion.arg(describeCopy(copy))) != Answer::Yes) {
        return;
    }
    act([this, &copy] { m_store.removeCopy(copy.id); });
}

bool CopiesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_barcode && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // A scanner ends the code with Enter: check it and go on to the next box.
            const QString code = m_barcode->text().trimmed();
            const QString problem = code.isEmpty() ? QString() : Barcode::problem(code);
            if (problem.isEmpty()) {
                focusNextChild();
            } else {
                m_boxes.warn(problem);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
