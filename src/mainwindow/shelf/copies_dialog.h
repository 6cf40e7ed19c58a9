#pragma once

#include "core/shelf/shelf_store.h"

#include <QDialog>
#include <functional>
#include <vector>

class Catalogue;
class MessageBoxes;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The copies of one movie, listed with everything known of them, to add,
// change and remove them. The barcode box takes a scanner's input: its
// Enter checks the code and moves on instead of pressing a button. A
// refused barcode, price or date is told with its reason and the form
// keeps what was typed.
class CopiesDialog : public QDialog {
    Q_OBJECT
public:
    // `catchUp` runs before every change; false (the movie is no longer
    // shown and the person has been told) stops the change.
    CopiesDialog(Catalogue& catalogue, MessageBoxes& boxes, qint64 movieId, const QString& title,
                 std::function<bool()> catchUp, QWidget* parent);

    QTableWidget& table() const { return *m_table; }
    QLineEdit& barcodeBox() const { return *m_barcode; }
    QLineEdit& editionBox() const { return *m_edition; }
    QLineEdit& priceBox() const { return *m_price; }
    QLineEdit& currencyBox() const { return *m_currency; }

    // What the buttons do.
    void addCopy();
    void changeCopy();
    void removeCopy();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reload();
    void showCopy(int row);
    // The copy the form describes; fails with the reason a field is refused.
    ShelfCopy formCopy() const;
    // Runs a change of the store; a refusal is told and the form stays.
    void act(const std::function<void()>& change);
    // True when the movie is still stored; otherwise says so and closes.
    bool movieStillThere();

    Catalogue& m_catalogue;
    MessageBoxes& m_boxes;
    ShelfStore m_store;
    qint64 m_movieId;
    QString m_title;
    std::function<bool()> m_catchUp;
    std::vector<ShelfCopy> m_copies;

    QTableWidget* m_table = nullptr;
    QComboBox* m_format = nullptr;
    QLineEdit* m_edition = nullptr;
    QLineEdit* m_barcode = nullptr;
    QSpinBox* m_discs = nullptr;
    QLineEdit* m_location = nullptr;
    QLineEdit* m_acquired = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_currency = nullptr;
    QLineEdit* m_condition = nullptr;
    QComboBox* m_status = nullptr;
    QLineEdit* m_note = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_remove = nullptr;
};
