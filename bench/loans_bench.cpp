// What the list's "On loan" column reads and the overdue loans, on 100 000
// movies with 20 000 loans in their history, beside SQLite stepping through
// the same rows with nothing made of them.
#include "core/catalogue/catalogue.h"
#include "core/loans/loan_store.h"
#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"
#include "generated_catalogue.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kMovies = 100000;
constexpr int kLoans = 20000;
const QDate kToday(2026, 12, 7);

// 20 000 copies, one loan each by 200 borrowers: nine in ten returned, of the
// open ones one in four overdue. The program makes the tables (one lend).
const char kFill[] =
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200)"
    " insert into loan_borrower (name, fold) select 'Borrower ' || i, 'borrower ' || i from n;"
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 19999)"
    " insert into shelf_copy (movie_id, format, status)"
    " select 1 + (i * 7919) % 99999, 'DVD', 'owned' from n;"
    "insert into loan (copy_id, borrower_id, direction, out, due, returned)"
    " select id, 2 + id % 200, case when id % 7 = 0 then 'borrowed' else 'lent' end,"
    " '2026-11-01', case when id % 40 = 0 then '2026-11-20' else '2026-12-24' end,"
    " case when id % 10 = 0 then '' else '2026-11-15' end from shelf_copy where id > 1;";

struct LoanCatalogue {
    QTemporaryDir dir;
    QString file = dir.path() + QStringLiteral("/dbDVD.mdb");
    LoanCatalogue() {
        writeGeneratedCatalogue(file, kMovies);
        {
            Catalogue catalogue;
            catalogue.open(file);
            LendRequest lend;
            lend.movieId = kMovies;
            lend.borrower = QStringLiteral("Sam");
            LoanStore(catalogue, [] { return kToday; }).lend(lend);
        }
        const SqliteDatabase db(file, SqliteDatabase::Access::ReadWrite);
        db.execute(kFill);
    }
};

const LoanCatalogue& loanCatalogue() {
    static const LoanCatalogue made;
    static_assert(kLoans == 20000, "kFill makes 20 000 loans");
    return made;
}

void BM_OnLoan(benchmark::State& state) {
    Catalogue catalogue;
    catalogue.open(loanCatalogue().file);
    LoanStore loans(catalogue, [] { return kToday; });
    for (auto _ : state) {
        benchmark::DoNotOptimize(loans.onLoan().size());
    }
}
BENCHMARK(BM_OnLoan)->Unit(benchmark::kMillisecond);

void BM_OverdueLoans(benchmark::State& state) {
    Catalogue catalogue;
    catalogue.open(loanCatalogue().file);
    LoanStore loans(catalogue, [] { return kToday; });
    LoanFilter overdue;
    overdue.overdueOnly = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loans.loans(overdue).size());
    }
}
BENCHMARK(BM_OverdueLoans)->Unit(benchmark::kMillisecond);

// The open loans' rows as SQLite alone steps through them.
void BM_SqliteOpenLoanRows(benchmark::State& state) {
    const SqliteDatabase db(loanCatalogue().file, SqliteDatabase::Access::ReadOnly);
    for (auto _ : state) {
        SqliteStatement query(db, "select c.movie_id, b.name, l.direction, l.due from loan l"
                                  " join shelf_copy c on c.id = l.copy_id"
                                  " join loan_borrower b on b.id = l.borrower_id"
                                  " where l.returned = '' order by l.due = '', l.due");
        int rows = 0;
        while (query.step()) {
            ++rows;
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_SqliteOpenLoanRows)->Unit(benchmark::kMillisecond);

} // namespace
