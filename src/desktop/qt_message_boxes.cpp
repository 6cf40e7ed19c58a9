#include "desktop/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

Answer QtMessageBoxes::show(const QString& text, BoxStyle style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(style == BoxStyle::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (style == BoxStyle::YesNo || style == BoxStyle::YesNoDefaultNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(style == BoxStyle::YesNo ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}
