// Loading a row into the editor and saving it back.
#include "editor/editor_fixture.h"
#include "editor/load_dvd.h"
#include "support/statement_log.h"

namespace {

const QString kSchemaColumns =
    QStringLiteral("insert into dvd (title,year,genre,[cast],director,runtime,rating,studio) ");

TEST_F(EditorTest, SaveAddsWhenNoIdIsSetAndKeepsFieldsExactlyAsTyped) {
    StatementLog log(*gConn);
    whileModal(*form, [&] {
        typeAll({QStringLiteral("  O'Brien's [\"Cut\"], Part 2  "), QStringLiteral("1999"),
                 QStringLiteral("Drama"), QString(), QStringLiteral("D'Arcy"), QStringLiteral("2h"),
                 QStringLiteral("R"), QStringLiteral("Studio")});
        save();
        EXPECT_FALSE(form->isVisible());
    });
    form->showModal();
    ASSERT_EQ(log.statements.size(), 1);
    EXPECT_EQ(log.statements.at(0),
              QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],[director],"
                             "[runtime],[rating],[studio]) values ('  O''Brien''s [\"Cut\"], Part "
                             "2  ','1999','Drama','','D''Arcy','2h','R','Studio')"));
    EXPECT_EQ(stored(), QStringList(QStringLiteral(
                            "  O'Brien's [\"Cut\"], Part 2  |1999|Drama||D'Arcy|2h|R|Studio")));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Done."));
    EXPECT_EQ(boxes.last().style, 0);
    EXPECT_EQ(refills, 1);
}

TEST_F(EditorTest, BlankTitleIsRefusedAndNothingIsWritten) {
    whileModal(*form, [&] {
        for (const QString& title : {QString(), QStringLiteral("   ")}) {
            typeAll({title, QStringLiteral("1942")});
            save();
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(boxes.last().text, QStringLiteral("You forgot to input Title."));
            EXPECT_EQ(box(2).text(), QStringLiteral("1942"));
        }
    });
    form->showModal();
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(refills, 0);
}

TEST_F(EditorTest, LoadedRowIsEditedInPlaceAndNullsSaveAsEmptyText) {
    TempCatalogue::exec(dirs.catalogueFile(),
                        kSchemaColumns + QStringLiteral("values ('Heat',null,'Crime','Pacino',"
                                                        "'Mann','2:50','R','WB')"));
    modDVD::loadDVD(*form, QStringLiteral("1"), gConn, boxes);
    EXPECT_EQ(form->mDVDID, QStringLiteral("1"));
    EXPECT_EQ(box(1).text(), QStringLiteral("Heat"));
    EXPECT_EQ(box(2).text(), QString()); // null year
    EXPECT_EQ(box(8).text(), QStringLiteral("WB"));

    StatementLog log(*gConn);
    whileModal(*form, [&] {
        box(3).setText(QStringLiteral("Thriller"));
        save();
    });
    form->showModal();
    EXPECT_EQ(log.statements, QStringList(QStringLiteral(
                                  "update [dvd] set [title]='Heat',[year]='',[genre]='Thriller',"
                                  "[cast]='Pacino',[director]='Mann',[runtime]='2:50',"
                                  "[rating]='R',[studio]='WB' where id=1")));
    EXPECT_EQ(TempCatalogue::rows(dirs.catalogueFile()),
              QStringList(QStringLiteral("1|Heat||Thriller|Pacino|Mann|2:50|R|WB")));
    EXPECT_TRUE(form->mDVDID.isEmpty()); // the next opening adds
}

TEST_F(EditorTest, MissingOrUnreadableRowLeavesTheEditorForANewMovie) {
    TempCatalogue::exec(dirs.catalogueFile(),
                        kSchemaColumns +
                            QStringLiteral("values ('Heat','1995','','','','','','')"));
    modDVD::loadDVD(*form, QStringLiteral("99"), gConn, boxes);
    EXPECT_TRUE(form->mDVDID.isEmpty());
    EXPECT_FALSE(form->isLoaded()); // no box was touched
    EXPECT_EQ(boxes.count(), 0);

    gConn->Close(); // the read fails: open, then the end test
    modDVD::loadDVD(*form, QStringLiteral("1"), gConn, boxes);
    const auto reports = boxes.errorReports();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports.at(0).text.contains(QStringLiteral(".modDVD.loadDVD at line 102")));
    EXPECT_TRUE(reports.at(1).text.contains(QStringLiteral(".modDVD.loadDVD at line 104")));
    EXPECT_TRUE(form->mDVDID.isEmpty()); // never in edit mode for a row it could not read
    EXPECT_TRUE(box(1).text().isEmpty());
}

TEST_F(EditorTest, FailedSaveIsReportedAndKeepsTheEditorOpenWithTheTyping) {
    TempCatalogue::exec(dirs.catalogueFile(),
                        kSchemaColumns +
                            QStringLiteral("values ('Heat','1995','','','','','','')"));
    TempCatalogue::exec(dirs.catalogueFile(),
                        QStringLiteral("create trigger full_add before insert on dvd begin "
                                       "select raise(abort, 'disk full'); end;"
                                       "create trigger full_change before update on dvd begin "
                                       "select raise(abort, 'disk full'); end;"));
    const auto saveFails = [&](int line) {
        whileModal(*form, [&] {
            box(1).setText(QStringLiteral("Ronin"));
            save();
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(box(1).text(), QStringLiteral("Ronin"));
            ASSERT_EQ(boxes.count(), 1);
            EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("disk full\r\n")));
            EXPECT_TRUE(boxes.last().text.contains(
                QStringLiteral(".Form2.PushButton1_Click at line %1").arg(line)));
        });
        form->showModal();
        boxes.clear();
    };
    saveFails(104); // adding
    modDVD::loadDVD(*form, QStringLiteral("1"), gConn, boxes);
    saveFails(106); // changing
    EXPECT_EQ(refills, 0);
    EXPECT_EQ(stored(), QStringList(QStringLiteral("Heat|1995||||||")));
}

TEST_F(EditorTest, AwkwardTextIsStoredAndReadBackExactly) {
    const QStringList awkward = {QString(1024 * 1024, QLatin1Char('x')),
                                 QStringLiteral("''''"),
                                 QStringLiteral("tab\there\nline\r\nbreak"),
                                 QStringLiteral("🎬 Amélie – 東京物語"),
                                 QStringLiteral("'); delete from dvd; --"),
                                 QStringLiteral(" "),
                                 QStringLiteral("\""),
                                 QStringLiteral("[dvd]")};
    whileModal(*form, [&] {
        typeAll(awkward);
        save();
    });
    form->showModal();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Done."));

    modDVD::loadDVD(*form, QStringLiteral("1"), gConn, boxes);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(box(n).text(), awkward.at(n - 1)) << n;
    }
    EXPECT_EQ(TempCatalogue::rows(dirs.catalogueFile(), QStringLiteral("count(*)")),
              QStringList(QStringLiteral("1")));
}

} // namespace
