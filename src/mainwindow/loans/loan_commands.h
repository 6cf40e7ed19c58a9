#pragma once

#include "core/loans/loan_store.h"
#include "mainwindow/loans/loans_window.h"
#include "mainwindow/window_feature.h"

#include <QPointer>
#include <optional>

class LoanNotice;
class QAction;

// Loans on the window: "Lend…" (Ctrl+Shift+L) of the ticked movies, else
// the highlighted one, due as many days ahead as the last loan ran (three
// weeks at first); "Return" of the highlighted movie's open loan, asking
// which copy when several are out; "Loans…", the open loans and the history
// of a movie or borrower; a question before a movie on loan is deleted;
// and, once the window is shown, a notice of how many loans are overdue.
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
    // Before movies are deleted: when any is on loan, asks whether its loan
    // history may go with it. True when none is, or on Yes.
    bool mayDelete(const QList<qint64>& movies);

    // The date loans are made and counted by; the real one unless set.
    void setClock(LoanStore::Clock clock) { m_clock = std::move(clock); }

    LoanNotice& notice() const { return *m_notice; }
    LoansWindow* loansWindow() const { return m_loans; }

protected:
    void updateEntries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LoanStore store() const;
    // Asks which of the movie's copies out comes back; none when cancelled.
    std::optional<qint64> copyComingBack(const std::vector<Loan>& out);

    QAction* m_lendEntry = nullptr;
    QAction* m_returnEntry = nullptr;
    QAction* m_loansEntry = nullptr;
    LoanNotice* m_notice = nullptr;
    QPointer<LoansWindow> m_loans;
    LoanStore::Clock m_clock;
};
