#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class WindowContext;

// Scan mode: a small window beside the list with a box that takes what a
// barcode scanner types (the digits, then Enter). A known barcode
// highlights its movie and says which copies you own; an unknown one is
// offered, in the window itself so that scanning goes on, to be added as a
// new movie with the barcode on a copy (and, where the editor can look a
// title up, told how); an invalid one is told why. Scans
// that come faster than they are answered wait in turn, and none is
// answered while a dialog of the window is open.
class ScanMode : public QObject {
    Q_OBJECT
public:
    explicit ScanMode(WindowContext& context, QObject* parent = nullptr);
    ~ScanMode() override;

    // Shows the window with the focus in its box.
    void show();
    // Takes one scan; it is answered after those before it.
    void scan(const QString& code);

    QDialog* window() const { return m_window; }
    QLineEdit* field() const { return m_field; }
    // The answers so far, the latest first.
    QStringList answers() const;
    int waiting() const { return int(m_queue.size()); }
    // Opens the editor for a new movie for the chosen unknown barcode and,
    // once it is saved, stores the barcode on a copy of it.
    void addChosen();

private:
    void makeWindow();
    void answerNext();
    void answer(const QString& code);
    void highlight(qint64 movieId);
    // Adds the answer at the top; `unknown` marks a code that can be added.
    void tell(const QString& code, const QString& text, bool unknown = false);
    void updateAddButton();

    WindowContext& m_context;
    QPointer<QDialog> m_window;
    QLineEdit* m_field = nullptr;
    QListWidget* m_answers = nullptr;
    QPushButton* m_add = nullptr;
    QLabel* m_lookUpHint = nullptr; // how to look the new movie up, where the editor can
    QStringList m_queue;
    bool m_answering = false;
};
