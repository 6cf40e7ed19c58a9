#pragma once

#include "mainwindow/computed_column.h"
#include "mainwindow/window_feature.h"

#include <memory>
#include <vector>

// The loans' columns, offered in the list header's menu: "On loan" ("Sam,
// due 14 Dec", "overdue 3 days") and "Borrower" (who has the movie's
// copies). In the find text: `loan:out` (lent out), `loan:borrowed`,
// `loan:overdue`, `borrower:sam`.
class LoanColumns : public WindowFeature {
    Q_OBJECT
public:
    explicit LoanColumns(WindowContext& context);
    ~LoanColumns() override;

private:
    std::vector<std::unique_ptr<ComputedColumn>> m_columns;
};
