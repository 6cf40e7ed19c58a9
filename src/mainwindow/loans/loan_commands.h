#pragma once

#include "core/loans/loan_store.h"
#include "mainwindow/loans/loans_window.h"
#include "mainwindow/window_feature.h"

#include <QPointer>

class LoanNotice;
class QAction;

// Loans on the window: "Lend…" (Ctrl+Shift+L) of the ticked movies, else
// the highlighted one; "Return" of the highlighted movie's open loan;
// "Loans…", the open loans; and, once the window is shown, a notice of how
// many loans are overdue when any are.
class LoanCommands : public WindowFeature {
    Q_OBJECT
public:
    explicit LoanCommands(WindowContext& context);
    ~LoanCommands() override;

    void start() override;

    void lend();
    void giveBack();
    void openLoans();
    // Shows the notice when loans are overdue; nothing when none are.
    void checkOverdue();

    // The date loans are made and counted by; the real one unless set.
    void setClock(LoanStore::Clock clock) { m_clock = std::move(clock); }

    LoanNotice& notice() const { return *m_notice; }
    LoansWindow* loansWindow() const { return m_loans; }

protected:
    void updateEntries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LoanStore store() const;

    QAction* m_lendEntry = nullptr;
    QAction* m_returnEntry = nullptr;
    QAction* m_loansEntry = nullptr;
    LoanNotice* m_notice = nullptr;
    QPointer<LoansWindow> m_loans;
    LoanStore::Clock m_clock;
};
