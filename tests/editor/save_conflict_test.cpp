// Saving a movie that another program changed or removed while the editor
// had it open: the person chooses, and nothing is stored over the other
// change without a Yes.
#include "editor/editor_fixture.h"
#include "editor/load_dvd.h"

namespace {

const QString kChanged =
    QStringLiteral("Another program has changed this movie since you opened it.\r\n\r\n"
                   "Yes stores what you typed over that change; No keeps the other program's "
                   "change and drops what you typed.");
// Storing it anew on Yes is in save_test.cpp.
const QString kRemoved =
    QStringLiteral("Another program has removed this movie from the catalogue since you opened "
                   "it.\r\n\r\nYes stores what you typed as a new movie; No drops it.");

struct Case {
    const char* name;
    const char* meanwhile; // what another program does to the file; "" for nothing
    Answer answer;
    QString asked; // the question, or none
    int style;     // of the question
    QStringList stored;
    bool done; // "Done." shown
};

const QString kRonin = QStringLiteral("2|Ronin|1998||||||");
const QString kTyped = QStringLiteral("1|Heat (cut)|1995|||||R|");

TEST_F(EditorTest, ASaveAfterAnotherProgramsChangeAsksWhatToKeep) {
    const Case cases[] = {
        {"nothing meanwhile", "", Answer::No, {}, 0, {kTyped, kRonin}, true},
        {"another movie changed",
         "update dvd set year='1999' where id=2",
         Answer::No,
         {},
         0,
         {kTyped, QStringLiteral("2|Ronin|1999||||||")},
         true},
        {"changed to what was typed",
         "update dvd set title='Heat (cut)' where id=1",
         Answer::No,
         {},
         0,
         {kTyped, kRonin},
         true},
        {"changed, keep it",
         "update dvd set rating='PG' where id=1",
         Answer::No,
         kChanged,
         260,
         {QStringLiteral("1|Heat|1995|||||PG|"), kRonin},
         false},
        {"changed, store over it",
         "update dvd set rating='PG' where id=1",
         Answer::Yes,
         kChanged,
         260,
         {kTyped, kRonin},
         true},
        {"removed, drop it",
         "delete from dvd where id=1",
         Answer::No,
         kRemoved,
         4,
         {kRonin},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempCatalogue::exec(dirs.catalogueFile(),
                            QStringLiteral("delete from dvd; delete from sqlite_sequence"));
        seed({"Heat", "1995", "", "", "", "", "R", ""});
        seed({"Ronin", "1998", "", "", "", "", "", ""});
        boxes.clear();
        refills = 0;
        loadDVD(*form, QStringLiteral("1"), catalogue, boxes);
        if (*c.meanwhile) {
            TempCatalogue::exec(dirs.catalogueFile(), QString::fromUtf8(c.meanwhile));
        }
        if (!c.asked.isEmpty()) {
            boxes.answer(c.answer);
        }
        whileModal(*form, [&] {
            box(1).setText(QStringLiteral("Heat (cut)"));
            save();
            EXPECT_FALSE(form->isVisible());
        });
        form->showModal();
        EXPECT_EQ(stored(), c.stored);
        EXPECT_EQ(boxes.count(), int(!c.asked.isEmpty()) + int(c.done));
        if (!c.asked.isEmpty()) {
            EXPECT_EQ(boxes.at(0).text, c.asked);
            EXPECT_EQ(boxes.at(0).style, c.style);
        }
        EXPECT_EQ(boxes.last().text == QStringLiteral("Done."), c.done);
        EXPECT_EQ(refills, 1);
        EXPECT_TRUE(form->mDVDID.isEmpty());
    }
}

} // namespace
