// The shelf's and the loans' columns as the find text names them: each
// movie's copies, sets and loans read in one go, whether shown or not.
#include "core/loans/loan_store.h"
#include "core/shelf/shelf_store.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"

namespace {

TEST(ShelfColumnsTest, FindWordsReadTheCopiesSetsAndLoans) {
    MainWindowDriver h;
    h.start({"Alien", "Aliens", "Blade Runner", "Casino"});
    const auto id = [&](const char* title) {
        return h.cell(h.rowOf(QString::fromUtf8(title)), MovieColumn::Id).toLongLong();
    };
    ShelfStore shelf(h.movies);
    ShelfCopy copy;
    copy.movieId = id("Blade Runner");
    copy.format = CopyFormat::Uhd4k;
    copy.location = QStringLiteral("Shelf B");
    shelf.addCopy(copy);
    copy.format = CopyFormat::Dvd;
    shelf.addCopy(copy);
    copy = {};
    copy.movieId = id("Aliens");
    copy.status = CopyStatus::Wished;
    shelf.addCopy(copy);
    shelf.makeSet({0, QStringLiteral("Alien"), SetKind::Series, {}}, {id("Alien"), id("Aliens")});
    copy = {};
    copy.movieId = id("Casino");
    const qint64 casino = shelf.addCopy(copy);
    LoanStore(h.movies).lend({id("Casino"),
                              casino,
                              QStringLiteral("Sam"),
                              LoanDirection::Lent,
                              QDate(2000, 1, 1),
                              QDate(2000, 1, 15),
                              {}});
    listDVD(h.list(), h.movies, h.form->pointer(), h.boxes);

    const std::pair<const char*, QStringList> cases[] = {
        {"format:4k", {"Blade Runner"}},
        {"format:dvd", {"Aliens", "Blade Runner", "Casino"}},
        {"location:\"shelf b\"", {"Blade Runner"}},
        {"status:wished", {"Aliens"}},
        {"copies:2", {"Blade Runner"}},
        {"set:alien", {"Alien", "Aliens"}},
        {"loan:overdue", {"Casino"}},
        {"borrower:sam", {"Casino"}},
        {"-format:dvd", {"Alien"}},
    };
    for (const auto& [text, titles] : cases) {
        h.list().items().setFilterText(QString::fromUtf8(text));
        EXPECT_EQ(h.column(MovieColumn::Title), titles) << text;
    }
}

} // namespace
