#pragma once

#include "desktop/window_pointer.h"
#include "mainwindow/button.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/services.h"

#include <QList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class CatalogueWatch;
class ErrorTrap;
class ExtraColumns;
class Form2;
class ListView;
class QPushButton;
class WindowFeature;

// The main window: the movie list above two rows of four buttons. Its
// start-up (Form_Load) brings the whole program up; closing it saves the
// column widths and window state, closes the catalogue and ends the program.
class Form1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 8;

    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up, run once before the window is first shown. May end the
    // program (missing catalogue and template; the data-access repair).
    void Form_Load();

    ListView& ListView1() { return *m_list; }
    // PushButton1 .. PushButton8 by their number.
    QPushButton& PushButton(int number);
    QPushButton& PushButton(Button button) { return PushButton(static_cast<int>(button)); }
    WindowPointer& pointer() { return m_pointer; }

    bool mLayoutMaximized = false;

    // The header-click sort: first click ascending, the next one reverses.
    void ListView1_ColumnClick(int index);

    // The button commands.
    void PushButton1_Click(); // Delete Selected Movie
    void PushButton2_Click(); // Copy Movies To Clipboard
    void PushButton3_Click(); // Copy Database To Excel
    void PushButton4_Click(); // Add New Movie
    void PushButton5_Click(); // Edit Selected Movie
    void PushButton6_Click(); // Clear Database
    void PushButton7_Click(); // Load Sample/Example Data
    void PushButton8_Click(); // Help

    // Whether the spreadsheet program can be started; says so when not.
    bool SaveResultsAsExcelFileIsExcelInstalled();
    // The start-up check of the data-access layer, with its repair.
    void IsADOInstalled();

    // The record editor, created on first use and shown modally by Add and Edit.
    Form2& form2();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What the features get instead of the window (form1_window_context.cpp).
    class Context;

    void buildControls();
    void Form_QueryUnload();
    void Form_Unload();
    void Form_Resize();
    void SetAppTitle();
    void ApplySkin();
    void setUpLook();
    void loadHandPointer(ErrorTrap& trap);
    // Fills the list again from the catalogue (listDVD on this window's list).
    void refillList();
    // Room of that height in pixels above the list and the buttons, for a
    // feature's bar: the window grows by it and the controls move down by
    // it; 0 gives the window back exactly as designed.
    void setRoomAbove(int pixels);
    // Puts the list and the buttons at these places, below the room above them.
    void placeControls(const MainWindowControls& controls);
    void restoreColumnWidths(ErrorTrap& trap);
    void restoreWindowState(ErrorTrap& trap);
    // Changes other programs make to the catalogue (form1_catalogue_watch.cpp).
    // Fills the list again keeping its ticks, highlighted row, current cell
    // and scrolling wherever those rows are still there, as well as its sort
    // and find text. False when the highlighted movie is no longer shown.
    bool refreshList();
    // Before a command acts on the list: when another program has changed
    // the catalogue since the list was filled, refreshes the list. False
    // when the highlighted movie is then no longer shown; the person is told.
    bool catchUpWithCatalogue();
    // The watch saw another program's change: refresh unless the window is
    // busy with something the refill could disturb.
    void catalogueChangedOutside();
    // Tells the person that the movie they acted on is no longer in the list.
    void tellMovieGone();
    // True when a movie is highlighted; otherwise tells the person so.
    bool movieHighlighted();
    // Whether every feature lets the highlighted movie be deleted.
    bool featuresAllowDelete();

    Services m_services;
    ListView* m_list = nullptr;
    std::array<QPushButton*, kButtonCount> m_buttons{};
    // Where the controls were last placed, without the room above them.
    MainWindowControls m_layout;
    int m_roomAbove = 0; // pixels
    // Room given or taken while maximised, which the window's normal size
    // still owes once it is restored; and the maximised size, to tell the
    // restored size apart from it (the desktop may send them in any order).
    int m_roomOwedWhenRestored = 0;
    QSize m_maximisedSize;
    WindowPointer m_pointer;
    bool m_loaded = false;
    // The window has been closed: a running export stops at its next step.
    bool m_closed = false;
    Form2* m_form2 = nullptr;               // a child window, deleted with this one
    CatalogueWatch* m_watch = nullptr;      // a child of this window
    ExtraColumns* m_extraColumns = nullptr; // a child of the list: the features' columns
    std::unique_ptr<Context> m_context;
    // Everything the window offers beyond its buttons (features.cpp),
    // started once the window is first shown.
    QList<WindowFeature*> m_features;
    bool m_featuresStarted = false;
    // The features' say before a movie is deleted (WindowContext::addDeleteCheck).
    std::vector<std::function<bool(const QList<qint64>&)>> m_deleteChecks;
};
