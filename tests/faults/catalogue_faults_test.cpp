// Bad catalogue files, a locked catalogue, a full disk and two instances:
// every failure is reported, the window still works, and no movie is lost.
#include "core/catalogue/connection.h"
#include "fault_fixture.h"
#include "support/catalogue_internals.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <cctype>
#include <sqlite3.h>

namespace {

struct BadFile {
    const char* name;
    std::function<void(FaultTest&, const QString&)> spoil;
};

void keepFirst(const QString& path, double share) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(qint64(double(file.size()) * share)));
}

void replaceWith(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const BadFile kBadFiles[] = {
    {"not a database",
     [](FaultTest&, const QString& path) {
         replaceWith(path, QByteArray("My movies:\nAlien\nBrazil\n").repeated(300));
     }},
    {"truncated to 40 %", [](FaultTest&, const QString& path) { keepFirst(path, 0.4); }},
    {"cut inside the header",
     [](FaultTest&, const QString& path) {
         keepFirst(path, 0.0); /* then 50 bytes */
         replaceWith(path, QByteArray("SQLite format 3").append('\0').append(QByteArray(34, '\1')));
     }},
    {"0 bytes", [](FaultTest&, const QString& path) { replaceWith(path, {}); }},
    {"another program's database",
     [](FaultTest&, const QString& path) {
         TempCatalogue::exec(path, QStringLiteral("drop table dvd; create table notes (body text);"
                                                  "insert into notes values ('keep me');"));
     }},
    {"dvd table missing a column",
     [](FaultTest&, const QString& path) { // raw SQL: the point is the table without studio
         TempCatalogue::exec(
             path,
             QStringLiteral(
                 "alter table dvd rename to old; create table dvd (id integer primary key, title "
                 "text, year text, genre text, cast text, director text, runtime text, rating "
                 "text);"
                 "insert into dvd select id, title, year, genre, [cast], director, runtime, rating "
                 "from old; drop table old; vacuum;"));
     }},
};

class BadCatalogueFile : public FaultTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(BadCatalogueFile, IsReportedAndNeverChanged) {
    writeCatalogue(300);
    kBadFiles[GetParam()].spoil(*this, h.catalogue());
    const QByteArray before = catalogueBytes();

    Form1& form = h.start();
    EXPECT_GE(reportCount(), 1);
    EXPECT_EQ(h.programEnd.ends, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.pointer().shape(), Pointer::Arrow);
    // A movie typed now cannot be stored: the save is reported and the typing stays.
    const int reportsBefore = reportCount();
    EXPECT_TRUE(addThroughEditor({QStringLiteral("Typed"), QStringLiteral("2001")}));
    EXPECT_GT(reportCount(), reportsBefore);
    QCloseEvent close;
    QCoreApplication::sendEvent(&form, &close);

    EXPECT_EQ(catalogueBytes(), before);
    EXPECT_FALSE(QFile::exists(h.catalogue() + QStringLiteral("-journal")));
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadCatalogueFile,
                         ::testing::Range<std::size_t>(0, std::size(kBadFiles)),
                         [](const auto& info) {
                             std::string name = kBadFiles[info.param].name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

// Another program holds a write transaction longer than the busy timeout.
TEST_F(FaultTest, LockedCatalogueRefusesTheSaveAndKeepsTheTyping) {
    writeCatalogue(3);
    const QByteArray rowsBefore = TempCatalogue::checksum(h.catalogue());
    h.start();
    EXPECT_EQ(reportCount(), 0);

    sqlite3* other = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(h.catalogue().toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(addThroughEditor({QStringLiteral("Blocked"), QStringLiteral("1999")}));
    ASSERT_EQ(reportCount(), 1);
    EXPECT_TRUE(h.boxes.errorReports()[0].text.contains(QStringLiteral("locked")));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_EQ(TempCatalogue::checksum(h.catalogue()), rowsBefore);
    // Once the other program lets go, the same save goes through.
    EXPECT_FALSE(addThroughEditor({QStringLiteral("Free"), QStringLiteral("1999")}));
    EXPECT_EQ(TempCatalogue::rows(h.catalogue()).size(), 4);
    EXPECT_EQ(TempCatalogue::quickCheck(h.catalogue()), QStringLiteral("ok"));
}

// A write that finds the disk full fails as a whole; every earlier movie survives.
TEST_F(FaultTest, FullDiskRefusesTheSaveAndEveryEarlierMovieSurvives) {
    writeCatalogue(50);
    const QByteArray rowsBefore = TempCatalogue::checksum(h.catalogue());
    Form1& form = h.start();
    // Let the catalogue grow by no page at all.
    CatalogueInternals::connection(h.movies).execute(QStringLiteral("PRAGMA max_page_count = 1"));

    EXPECT_TRUE(addThroughEditor({QString(1 << 20, QLatin1Char('x'))}));
    ASSERT_EQ(reportCount(), 1);
    EXPECT_TRUE(h.boxes.errorReports()[0].text.contains(QStringLiteral("full")));
    EXPECT_EQ(form.ListView1().items().itemCount(), 50);
    QCloseEvent close;
    QCoreApplication::sendEvent(&form, &close);
    EXPECT_EQ(TempCatalogue::checksum(h.catalogue()), rowsBefore);
    EXPECT_EQ(TempCatalogue::quickCheck(h.catalogue()), QStringLiteral("ok"));
}

// Two programs on one catalogue: both start, and a save in one shows in the
// other at its next refill.
TEST_F(FaultTest, TwoInstancesShareTheCatalogue) {
    writeCatalogue(2);
    h.start();
    Form1Harness second;
    Form1 other(second.services(h.shell));
    other.Form_Load();
    EXPECT_EQ(second.boxes.count(), 0);
    EXPECT_EQ(other.ListView1().items().itemCount(), 2);

    EXPECT_FALSE(addThroughEditor({QStringLiteral("From the first")}));
    other.PushButton7_Click(); // its refill shows the first one's movie too
    EXPECT_EQ(other.ListView1().items().itemCount(), 6);
    EXPECT_EQ(h.form->ListView1().items().itemCount(), 3);
    EXPECT_EQ(reportCount() + int(second.boxes.errorReports().size()), 0);
    EXPECT_EQ(TempCatalogue::rows(h.catalogue()).size(), 6);
}

} // namespace
