#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

// Runs `inside` once the dialog is up in its modal loop (call it before the
// command that shows it). Whatever `inside` leaves open is then closed, so a
// failing test never hangs in the modal loop.
inline void whileModal(QDialog& dialog, std::function<void()> inside) {
    QTimer::singleShot(0, &dialog, [&dialog, inside = std::move(inside)] {
        dialog.activateWindow();
        QApplication::processEvents();
        inside();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
}
