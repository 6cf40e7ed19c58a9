// Loading a row into the editor and saving it back.
#include "editor/editor_fixture.h"
#include "editor/load_dvd.h"
#include "support/catalogue_internals.h"
#include "support/statement_log.h"

#include <QKeyEvent>

namespace {

TEST_F(EditorTest, SaveAddsTheFieldsExactlyAsTyped) {
    StatementLog log(CatalogueInternals::connection(catalogue));
    whileModal(*form, [&] {
        typeAll({QStringLiteral("  O'Brien's [\"Cut\"]  "),
                 QStringLiteral("1999"),
                 {},
                 {},
                 QStringLiteral("'")});
        save();
        EXPECT_FALSE(form->isVisible());
    });
    form->showModal();
    EXPECT_EQ(log.statements,
              QStringList(QStringLiteral(
                  "insert into [dvd] ([title],[year],[genre],[cast],[director],[runtime],[rating],"
                  "[studio]) values ('  O''Brien''s [\"Cut\"]  ','1999','','','''','','','')")));
    EXPECT_EQ(stored(), QStringList(QStringLiteral("1|  O'Brien's [\"Cut\"]  |1999|||'|||")));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Done."));
    EXPECT_EQ(refills, 1);
}

TEST_F(EditorTest, BlankTitleIsRefusedAndTheTypingStays) {
    whileModal(*form, [&] {
        for (const char* title : {"", "   "}) {
            typeAll({QString::fromUtf8(title), QStringLiteral("1942")});
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

TEST_F(EditorTest, LoadedRowIsChangedInPlaceAndANullSavesAsEmptyText) {
    seed({"Heat", {}, "Crime", "Pacino", "Mann", "2:50", "R", "WB"});
    loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
    EXPECT_EQ(form->mDVDID, QStringLiteral("1"));
    EXPECT_EQ(box(1).text(), QStringLiteral("Heat"));
    EXPECT_EQ(box(8).text(), QStringLiteral("WB"));

    StatementLog log(CatalogueInternals::connection(catalogue));
    whileModal(*form, [&] {
        box(3).setText(QStringLiteral("Thriller"));
        save();
    });
    form->showModal();
    EXPECT_EQ(log.statements.value(0),
              QStringLiteral("update [dvd] set [title]='Heat',[year]='',[genre]='Thriller',"
                             "[cast]='Pacino',[director]='Mann',[runtime]='2:50',[rating]='R',"
                             "[studio]='WB' where id=1"));
    EXPECT_EQ(stored(), QStringList(QStringLiteral("1|Heat||Thriller|Pacino|Mann|2:50|R|WB")));
    EXPECT_TRUE(form->mDVDID.isEmpty()); // the next opening adds
}

TEST_F(EditorTest, RowThatIsGoneOrUnreadableLeavesTheEditorForANewMovie) {
    seed({"Heat", "1995", "", "", "", "", "", ""});
    loadDVD(*form, QStringLiteral("99"), catalogue, boxes);
    EXPECT_TRUE(form->mDVDID.isEmpty());
    EXPECT_FALSE(form->isLoaded()); // no box was touched
    EXPECT_EQ(boxes.count(), 0);

    catalogue.close(); // the open fails, then the end test
    loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.at(0).text.contains(QStringLiteral(".modDVD.loadDVD at line 102")));
    EXPECT_TRUE(boxes.at(1).text.contains(QStringLiteral(".modDVD.loadDVD at line 104")));
    EXPECT_TRUE(form->mDVDID.isEmpty());
}

TEST_F(EditorTest, FailedSaveIsReportedAndKeepsTheEditorOpenWithTheTyping) {
    seed({"Heat", "1995", "", "", "", "", "", ""});
    TempCatalogue::exec(dirs.catalogueFile(),
                        QStringLiteral("create trigger no_change before update on dvd begin "
                                       "select raise(abort, 'disk full'); end;"));
    const auto saveFails = [&](const QString& title, const QString& reportLine) {
        whileModal(*form, [&] {
            box(1).setText(title);
            save();
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(box(1).text(), title);
        });
        form->showModal();
        ASSERT_EQ(boxes.count(), 1); // the report, no "Done."
        EXPECT_TRUE(boxes.last().text.contains(reportLine));
        boxes.clear();
    };
    loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
    saveFails(QStringLiteral("Ronin"), QStringLiteral("disk full\r\nin Reelkeeper2021/08/31."
                                                      "Form2.PushButton1_Click at line 106"));
    // A title the statement cannot carry (a NUL character) is not lost either.
    saveFails(QStringLiteral("Nul") + QChar(0),
              QStringLiteral(".Form2.PushButton1_Click at line 104"));
    EXPECT_EQ(refills, 0);
    EXPECT_EQ(stored(), QStringList(QStringLiteral("1|Heat|1995||||||")));
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
    EXPECT_EQ(boxes.last().text, QStringLiteral("Done."));
    loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(box(n).text(), awkward.at(n - 1)) << n;
    }
    EXPECT_EQ(stored().size(), 1);
}

} // namespace

namespace {

// A movie deleted elsewhere while it was open is not reported as saved:
// the person is asked, and Yes adds the typing as a new movie.
TEST_F(EditorTest, ChangeOfAMovieDeletedMeanwhileKeepsTheTypingAndAddsItOnYes) {
    seed({"Heat", "1995", "Crime", "Pacino", "Mann", "2:50", "R", "WB"});
    loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
    TempCatalogue::exec(dirs.catalogueFile(), QStringLiteral("delete from dvd"));
    boxes.answer(Answer::Yes);
    whileModal(*form, [&] {
        box(1).setText(QStringLiteral("Heat (director's cut)"));
        save();
        EXPECT_FALSE(form->isVisible());
    });
    form->showModal();
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.at(0).text.startsWith(
        QStringLiteral("Another program has removed this movie from the catalogue")));
    EXPECT_EQ(boxes.at(1).text, QStringLiteral("Done."));
    EXPECT_EQ(stored(), QStringList(QStringLiteral(
                            "2|Heat (director's cut)|1995|Crime|Pacino|Mann|2:50|R|WB")));
    EXPECT_EQ(refills, 1);
}

} // namespace

namespace {

// Keyboard users: Enter in a box saves, Escape closes without writing.
TEST_F(EditorTest, EnterSavesAndEscapeCancels) {
    whileModal(*form, [&] {
        box(1).setFocus();
        box(1).setText(QStringLiteral("Cancelled"));
        QTest::keyClick(&box(1), Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible());
    });
    form->showModal();
    EXPECT_TRUE(stored().isEmpty());

    whileModal(*form, [&] {
        EXPECT_TRUE(box(1).text().isEmpty());
        box(1).setFocus();
        box(1).setText(QStringLiteral("Entered"));
        QTest::keyClick(&box(1), Qt::Key_Return);
    });
    form->showModal();
    EXPECT_EQ(stored(), QStringList(QStringLiteral("1|Entered|||||||")));
    EXPECT_EQ(boxes.last().text, QStringLiteral("Done."));
}

} // namespace

namespace {

// Enter in the year box is a Save after leaving the box: the year is checked
// first, and nothing is stored while it is not a number.
TEST_F(EditorTest, EnterOrAClickOnSaveFromTheYearBoxChecksTheYearFirst) {
    StatementLog log(CatalogueInternals::connection(catalogue));
    whileModal(*form, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Alien"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("n/a"));
        for (const bool enter : {true, false}) {
            if (enter) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            } else {
                QTest::mouseClick(&saveButton(), Qt::LeftButton);
            }
            QApplication::processEvents();
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(boxes.last().text, QStringLiteral("Must be a numeric entry."));
            EXPECT_EQ(QApplication::focusWidget(), &box(2));
        }
        EXPECT_EQ(boxes.count(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1979"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    form->showModal();
    EXPECT_EQ(log.statements.size(), 1);
    EXPECT_EQ(stored(), QStringList(QStringLiteral("1|Alien|1979||||||")));
    EXPECT_EQ(boxes.last().text, QStringLiteral("Done."));
}

// Closing lets pending events run while the typing is still in the boxes: an
// Enter pressed right after "Save" or "Cancel" must not store it (again).
TEST_F(EditorTest, ASaveOrCancelBegunStoresAtMostOnceWhateverIsStillQueued) {
    seed({"Heat", "1995", "", "", "", "", "", ""});
    for (const int pressed : {1, 2}) {
        loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
        StatementLog log(CatalogueInternals::connection(catalogue));
        // One Enter, pressed right after the button (which a click presses too).
        QObject::connect(
            &form->PushButton(pressed), &QPushButton::pressed, form.get(),
            [&] {
                QCoreApplication::postEvent(
                    &box(1), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
            },
            Qt::SingleShotConnection);
        whileModal(*form, [&] {
            box(1).setText(QStringLiteral("Heat %1").arg(pressed));
            QTest::mouseClick(&form->PushButton(pressed), Qt::LeftButton);
        });
        form->showModal();
        EXPECT_EQ(log.statements.size(), pressed == 1 ? 1 : 0) << "PushButton" << pressed;
    }
    EXPECT_EQ(stored(), QStringList(QStringLiteral("1|Heat 1|1995||||||")));
    EXPECT_EQ(refills, 1);
}

} // namespace
