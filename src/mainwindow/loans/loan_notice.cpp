#include "mainwindow/loans/loan_notice.h"

namespace {

const QString kOne = QStringLiteral("1 loan overdue");
const QString kMany = QStringLiteral("%1 loans overdue");

} // namespace

LoanNotice::LoanNotice(QWidget& window) : QPushButton(&window) {
    setObjectName(QStringLiteral("LoanNotice"));
    // A window of its own, so the window's controls keep their places.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QPushButton::clicked, this, &QWidget::hide);
}

void LoanNotice::showCount(int overdue) {
    setText(overdue == 1 ? kOne : kMany.arg(overdue));
    adjustSize();
    const QWidget& window = *parentWidget();
    const QRect frame = window.geometry();
    move(frame.left(), frame.bottom() - height());
    show();
}
