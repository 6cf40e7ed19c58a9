#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

// Runs `inside` once the dialog is up in its modal loop (call it before the
// command that shows the dialog). Whatever `inside` leaves open is closed
// afterwards, so a failing test never hangs in the modal loop.
inline void whileModal(QDialog& dialog, std::function<void()> inside, bool* ran = nullptr) {
    QTimer::singleShot(0, &dialog, [&dialog, inside = std::move(inside), ran] {
        dialog.activateWindow();
        QApplication::processEvents();
        if (ran) {
            *ran = true;
        }
        inside();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
}
