#include "mainwindow/loans/loan_notice.h"

#include <QEvent>
#include <QScreen>

namespace {

const QString kOne = QStringLiteral("1 loan overdue");
const QString kMany = QStringLiteral("%1 loans overdue");
constexpr int kGap = 4; // pixels between the window's frame and the notice

} // namespace

LoanNotice::LoanNotice(QWidget& window) : QPushButton(&window) {
    setObjectName(QStringLiteral("LoanNotice"));
    // A window of its own, so the window's controls keep their places.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QPushButton::clicked, this, &QWidget::hide);
    // The window manager places the window after it is shown: follow it.
    window.installEventFilter(this);
}

void LoanNotice::showCount(int overdue) {
    setText(overdue == 1 ? kOne : kMany.arg(overdue));
    adjustSize();
    place();
    show();
}

bool LoanNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && isVisible()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            place();
            break;
        default:
            break;
        }
    }
    return QPushButton::eventFilter(watched, event);
}

void LoanNotice::place() {
    const QWidget& window = *parentWidget();
    const QRect frame = window.frameGeometry();
    int top = frame.bottom() + kGap;
    if (const QScreen* screen = window.screen();
        screen && top + height() > screen->availableGeometry().bottom()) {
        top = frame.top() - kGap - height();
    }
    move(frame.left(), top);
}
