// The shelf's and the loans' columns as the find text names them: each
// movie's copies, sets and loans read in one go, whether shown or not.
#include "core/loans/loan_store.h"
#include "core/shelf/shelf_store.h"
#include "support/catalogue_internals.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"
#include "support/statement_log.h"

#include <QPalette>

namespace {

// Blade Runner owned twice, Aliens only wished, Casino owned and lent, and
// the series Alien of Alien and Aliens.
struct ShelfList : MainWindowDriver {
    ShelfList();
    qint64 id(const char* title) {
        return cell(rowOf(QString::fromUtf8(title)), MovieColumn::Id).toLongLong();
    }
};

ShelfList::ShelfList() {
    MainWindowDriver& h = *this;
    h.start({"Alien", "Aliens", "Blade Runner", "Casino"});
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
}

TEST(ShelfColumnsTest, FindWordsReadTheCopiesSetsAndLoans) {
    ShelfList h;
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
        // The number of copies compares as a number.
        {"copies:>1", {"Blade Runner"}},
        {"copies:>=1", {"Aliens", "Blade Runner", "Casino"}},
        {"copies:<2", {"Alien", "Aliens", "Casino"}},
        {"copies:<=1 copies:>0", {"Aliens", "Casino"}},
        {"copies:0", {"Alien"}},
        {"copies:=1", {"Aliens", "Casino"}},
        {"-copies:>1", {"Alien", "Aliens", "Casino"}},
        {"copies:>", {"Alien", "Aliens", "Blade Runner", "Casino"}}, // still being typed
    };
    for (const auto& [text, titles] : cases) {
        h.list().items().setFilterText(QString::fromUtf8(text));
        EXPECT_EQ(h.column(MovieColumn::Title), titles) << text;
    }
}

TEST(ShelfColumnsTest, AMovieOnlyWishedIsMuted) {
    ShelfList h;
    const QVariant muted = h.list().palette().color(QPalette::Disabled, QPalette::Text);
    const QModelIndex aliens = h.list().items().index(h.rowOf(QStringLiteral("Aliens")), 1);
    EXPECT_EQ(aliens.data(Qt::ForegroundRole), muted);
    for (const char* owned : {"Alien", "Blade Runner", "Casino"}) {
        const QModelIndex row = h.list().items().index(h.rowOf(QString::fromUtf8(owned)), 1);
        EXPECT_FALSE(row.data(Qt::ForegroundRole).isValid()) << owned;
    }
    ShelfCopy copy;
    copy.movieId = h.id("Aliens");
    ShelfStore(h.movies).addCopy(copy); // now owned as well
    listDVD(h.list(), h.movies, h.form->pointer(), h.boxes);
    EXPECT_FALSE(h.list()
                     .items()
                     .index(h.rowOf(QStringLiteral("Aliens")), 1)
                     .data(Qt::ForegroundRole)
                     .isValid());
}

TEST(ShelfColumnsTest, TheShownColumnsReadOnlyWhatTheyShow) {
    ShelfList h;
    MovieListModel& items = h.list().items();
    for (int extra = 0; extra < items.extraFieldCount(); ++extra) {
        items.showExtraColumn(extra, true);
    }
    QCoreApplication::processEvents(); // the reads of the columns shown one by one
    StatementLog log(CatalogueInternals::connection(h.movies));
    listDVD(h.list(), h.movies, h.form->pointer(), h.boxes);
    // No column reads the fields none of them shows.
    EXPECT_TRUE(log.statements.filter(QStringLiteral("edition")).isEmpty())
        << log.statements.join(QLatin1Char('\n')).toStdString();
}

} // namespace
