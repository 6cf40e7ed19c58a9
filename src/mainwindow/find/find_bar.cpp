#include "mainwindow/find/find_bar.h"

#include "core/report/counts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace {

const QString kCountText = QStringLiteral("%1 of %2");
const QString kPlaceholder = QStringLiteral("words, title:, year:1990..1999, \"a phrase\"");
const QString kFieldName = QStringLiteral("Find");
const QString kClearTip = QStringLiteral("Clear the find text");
// Over the window's skin, whatever colour it gives labels.
const QString kErrorSheet = QStringLiteral("QLabel { color: #c00000; }");

} // namespace

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), m_field(new QLineEdit(this)), m_count(new QLabel(this)),
      m_clear(new QToolButton(this)) {
    setObjectName(QStringLiteral("FindBar"));
    m_field->setObjectName(QStringLiteral("FindText"));
    m_field->setPlaceholderText(kPlaceholder);
    m_field->setAccessibleName(kFieldName);
    m_field->installEventFilter(this);

    m_count->setObjectName(QStringLiteral("FindCount"));

    m_clear->setObjectName(QStringLiteral("FindClear"));
    m_clear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    m_clear->setToolTip(kClearTip);
    m_clear->setAccessibleName(kClearTip);
    m_clear->setAutoRaise(true);
    m_clear->setFocusPolicy(Qt::NoFocus); // Escape and the keys of the text do the same

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 0);
    row->addWidget(m_field, 1);
    row->addWidget(m_count);
    row->addWidget(m_clear);

    connect(m_field, &QLineEdit::textChanged, this, &FindBar::textChanged);
    connect(m_clear, &QToolButton::clicked, this, [this] {
        m_field->clear();
        m_field->setFocus(Qt::OtherFocusReason);
    });
}

QString FindBar::countText(int shown, int total) {
    return kCountText.arg(groupedNumber(shown), groupedNumber(total));
}

void FindBar::setCount(int shown, int total) {
    if (m_showsError) {
        m_showsError = false;
        m_count->setStyleSheet(QString());
    }
    m_count->setText(countText(shown, total));
}

void FindBar::setError(const QString& reason) {
    if (!m_showsError) {
        m_showsError = true;
        m_count->setStyleSheet(kErrorSheet);
    }
    m_count->setText(reason);
}

QString FindBar::countText() const {
    return m_count->text();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Q_EMIT listWanted();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
