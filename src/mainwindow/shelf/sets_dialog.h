#pragma once

#include "core/shelf/shelf_store.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <vector>

class MessageBoxes;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The box sets and series: one made from the ticked movies (a name, its
// kind and a box set's own barcode), each set's movies with the ones not
// owned or ordered marked missing, and the missing ones wished for.
class SetsDialog : public QDialog {
    Q_OBJECT
public:
    // `ticked` are the ticked movies in the list's order; `changed` runs
    // after a change of the shelf (wished copies), to show it in the list.
    SetsDialog(Catalogue& catalogue, MessageBoxes& boxes, QList<qint64> ticked,
               std::function<void()> changed, QWidget* parent);

    QLineEdit& nameBox() const { return *m_name; }
    QComboBox& kindBox() const { return *m_kind; }
    QListWidget& setList() const { return *m_sets; }
    QListWidget& memberList() const { return *m_members; }

    void makeSet();
    void wishMissing();

private:
    void reloadSets();
    void showMembers();
    qint64 currentSet() const;

    MessageBoxes& m_boxes;
    ShelfStore m_store;
    QList<qint64> m_ticked;
    std::function<void()> m_changed;
    std::vector<ShelfSet> m_setRows;

    QLineEdit* m_name = nullptr;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_barcode = nullptr;
    QPushButton* m_make = nullptr;
    QListWidget* m_sets = nullptr;
    QListWidget* m_members = nullptr;
    QPushButton* m_wish = nullptr;
};
