// Reading a find text and matching rows with it: accents and case, words,
// fields, year ranges, phrases, and texts that are anything but a query.
#include "core/find/fold.h"
#include "core/find/row_match.h"
#include "support/qt_printers.h"

#include <QRandomGenerator>
#include <QStringList>
#include <array>
#include <gtest/gtest.h>

namespace {

using Find::Query;

// Rows given as eight texts (title, year, genre, cast, director, runtime,
// rating, studio), kept the way the list keeps them: one text a row.
class Rows : public Find::RowSource {
public:
    explicit Rows(const std::vector<QStringList>& rows) {
        for (const QStringList& cells : rows) {
            Stored row;
            for (int f = 0; f < Find::kFieldCount; ++f) {
                row.bounds[std::size_t(f)] = quint32(row.text.size());
                row.text += cells.value(f);
            }
            row.bounds[Find::kFieldCount] = quint32(row.text.size());
            m_rows.push_back(std::move(row));
        }
    }
    int rowCount() const override { return int(m_rows.size()); }
    Find::RowText row(int position) const override {
        const Stored& r = m_rows[std::size_t(position)];
        return {QStringView(r.text).utf16(), r.bounds.data()};
    }
    QString title(int position) const {
        const Stored& r = m_rows[std::size_t(position)];
        return r.text.first(r.bounds[1]);
    }

private:
    struct Stored {
        QString text;
        std::array<quint32, Find::kFieldCount + 1> bounds{};
    };
    std::vector<Stored> m_rows;
};

const Rows& catalogue() {
    static const Rows rows({
        {"Titanic", "1995", "Drama", "L. DiCaprio, K. Winslett", "J. Cameron", "3:14", "R", "20CF"},
        {"Casablanca", "1942", "Drama", "Humphrey Bogart, Ingrid Bergman", "Michael Curtiz", "1:43",
         "R", "Warner"},
        {"The Seven Year Itch", "1955", "Comedy", "Marilyn Monroe, Tom Ewell", "Billy Wilder",
         "1:45", "R", "20CF"},
        {QStringLiteral("Amélie"), "2001", "Comedy", QStringLiteral("Audrey Tautou"),
         QStringLiteral("Jean-Pierre Jeunet"), "2:02", "R", "UGC"},
        // Written decomposed, as some systems store accents: e + combining acute.
        {QStringLiteral("Les Mise\u0301rables"), "c. 1958", "Drama", "Jean Gabin", "Le Chanois",
         "3:00", "", "Pathe"},
        {QStringLiteral("Straße nach Łódź"), "1960", "Drama", "", "", "", "", ""},
        {QStringLiteral("괴물"), "2006", "Horror", "", QStringLiteral("봉준호"), "", "", ""},
        {"foo:bar %_ [a-z]+ (x)", "", "", "", "", "", "", ""},
    });
    return rows;
}

QStringList found(const QString& text) {
    const Rows& rows = catalogue();
    Find::FoldedRows folded;
    folded.build(rows);
    QStringList titles;
    for (int position : Find::matchingRows(Query::parse(text), rows, folded)) {
        titles << rows.title(position);
    }
    return titles;
}

struct Case {
    const char* text;
    QStringList titles;
};

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(found(QString::fromUtf8(c.text)), c.titles) << c.text;
    }
}

const QString kAmelie = QStringLiteral("Amélie");
const QString kMiserables = QStringLiteral("Les Mise\u0301rables");
const QString kStrasse = QStringLiteral("Straße nach Łódź");

TEST(FindMatching, IgnoresCaseAndAccentsOnEitherSide) {
    expectCases({
        {"amelie", {kAmelie}},
        {"AMÉLIE", {kAmelie}},
        {"ame\xcc\x81lie", {kAmelie}}, // typed decomposed
        {"misérables", {kMiserables}},
        {"MISERABLES", {kMiserables}},
        {"strasse lodz", {kStrasse}},
        {"괴물", {QStringLiteral("괴물")}},
        {"봉준", {QStringLiteral("괴물")}},
    });
}

TEST(FindMatching, EveryWordMustMatchSomewhereInTheRowButWithinOneField) {
    expectCases({
        {"seven itch", {"The Seven Year Itch"}},
        {"itch   seven", {"The Seven Year Itch"}},
        {"casablanca bogart warner", {"Casablanca"}},
        {"seven drama", {}},
        {"20cf", {"Titanic", "The Seven Year Itch"}},
        {"dramal", {}},     // "Drama" then "L. DiCaprio": no match across two fields
        {"rablesjean", {}}, // the same across fields of a row kept folded
    });
    EXPECT_EQ(found(QStringLiteral("   ")).size(), catalogue().rowCount());
}

TEST(FindMatching, FieldsNarrowAWordToOneColumnAndPhrasesMatchWhole) {
    expectCases({
        {"genre:drama", {"Titanic", "Casablanca", kMiserables, kStrasse}},
        {"title:drama", {}},
        {"Cast:monroe", {"The Seven Year Itch"}},
        {"director:wilder", {"The Seven Year Itch"}},
        {"runtime:1:4", {"Casablanca", "The Seven Year Itch"}},
        {"rating:r studio:ugc", {kAmelie}},
        {"year:195", {"The Seven Year Itch", kMiserables}},
        {"title:\"the seven\"", {"The Seven Year Itch"}},
        {"\"year itch\"", {"The Seven Year Itch"}}, // a phrase matches as a whole
        {"\"itch year\"", {}},
        {"\"seven ye", {"The Seven Year Itch"}}, // left open: runs to the end
    });
    EXPECT_EQ(found(QStringLiteral("title:")).size(), catalogue().rowCount());
    EXPECT_EQ(found(QStringLiteral("\"\"")).size(), catalogue().rowCount());
}

TEST(FindMatching, YearRangesTakeYearsThatAreNumbers) {
    expectCases({
        {"year:1950..1959", {"The Seven Year Itch"}}, // "c. 1958" is no number
        {"year:..1950", {"Casablanca"}},
        {"year:2000..", {kAmelie, QStringLiteral("괴물")}},
        {"year:1960..1960", {kStrasse}},
        {"year:1950..x", {}}, // not a range: the text "1950..x" in the year
        {"drama year:1940..1999", {"Titanic", "Casablanca", kStrasse}},
        {"1950..1959", {}}, // without year: a plain word
    });
}

TEST(FindMatching, AnyTextIsAQueryAndNoneOfItIsSpecial) {
    const QString foo = QStringLiteral("foo:bar %_ [a-z]+ (x)");
    expectCases({
        {"\"foo:bar\"", {foo}}, // quoted, an unknown field is a plain phrase
        {"% _", {foo}},
        {"[a-z]+ (x)", {foo}},
        {".*", {}},
        {"'; drop table dvd; --", {}},
    });
    EXPECT_TRUE(found(QString(10000, QLatin1Char('a'))).isEmpty());
    QString words;
    for (int i = 0; i < 5000; ++i) {
        words += QString::number(i) + QLatin1Char(' ');
    }
    EXPECT_TRUE(found(words).isEmpty());
    EXPECT_TRUE(found(QString(QChar(0xd800))).isEmpty()); // a lone surrogate
    EXPECT_TRUE(found(QString(3, QChar(0))).isEmpty());
    EXPECT_EQ(found(QString(QChar(0x0301))).size(), catalogue().rowCount()); // only a mark
}

TEST(FindMatching, ADashLeavesOutAndOrTakesEitherBindingTighterThanTheBlank) {
    const QString koemul = QStringLiteral("괴물");
    expectCases({
        {"drama -titanic", {"Casablanca", kMiserables, kStrasse}},
        {"drama -title:casablanca -\"les mis\"", {"Titanic", kStrasse}},
        {"-20cf comedy", {kAmelie}},
        {"drama -year:1900..1999", {kMiserables}}, // "c. 1958" is no year in the range
        {"drama -cast:bogart -", {"Titanic", kMiserables, kStrasse}}, // a dash alone: nothing yet
        {"titanic OR casablanca", {"Titanic", "Casablanca"}},
        {"comedy amelie OR itch", {"The Seven Year Itch", kAmelie}},
        {"drama titanic OR amelie", {"Titanic"}},
        {"titanic OR amelie drama", {"Titanic"}},
        {"titanic OR amelie OR -drama",
         {"Titanic", "The Seven Year Itch", kAmelie, koemul, "foo:bar %_ [a-z]+ (x)"}},
        {"year:..1950 OR year:2000.. -horror", {"Casablanca", kAmelie}},
        {"titanic or casablanca", {}}, // a small "or" is a word
        {"titanic OR", {"Titanic"}},   // an OR with nothing on one side waits
        {"OR titanic", {"Titanic"}},
    });
}

// The catalogue with one extra field, "cover", already folded: "yes" for two
// movies, the empty word "no" for the rest.
class RowsWithCovers : public Find::RowSource {
public:
    int rowCount() const override { return catalogue().rowCount(); }
    Find::RowText row(int position) const override { return catalogue().row(position); }
    QStringView extraField(int position, int extra) const override {
        EXPECT_EQ(extra, 0);
        const QString title = catalogue().title(position);
        return title == u"Titanic" || title == kAmelie ? u"yes" : u"no";
    }
};

TEST(FindMatching, ExtraFieldsAreFoundByTheirNameOnly) {
    const QStringList extras = {QStringLiteral("cover")};
    const RowsWithCovers rows;
    Find::FoldedRows folded;
    folded.build(rows);
    const struct {
        const char* text;
        QStringList titles;
    } cases[] = {
        {"cover:yes", {"Titanic", kAmelie}},
        {"COVER:Y comedy", {kAmelie}},
        {"cover:no comedy", {"The Seven Year Itch"}},
        {"-cover:yes year:1940..1960", {"Casablanca", "The Seven Year Itch", kStrasse}},
        {"cover:yes OR year:1942", {"Titanic", "Casablanca", kAmelie}},
        {"yes", {}}, // words without a name stay in the eight fields
    };
    for (const auto& c : cases) {
        const Query query = Query::parse(QString::fromUtf8(c.text), extras);
        QStringList titles;
        for (int position : Find::matchingRows(query, rows, folded)) {
            titles << catalogue().title(position);
        }
        EXPECT_EQ(titles, c.titles) << c.text;
    }
    // Unknown without the name, and no narrowing between a word and the field.
    EXPECT_EQ(Query::parse(u"cover:yes").error(), QStringLiteral("unknown field cover"));
    EXPECT_FALSE(Query::parse(u"cover:yes", extras).narrows(Query::parse(u"yes", extras)));
    EXPECT_FALSE(Query::parse(u"-yes", extras).narrows(Query::parse(u"-cover:yes", extras)));
    EXPECT_TRUE(Query::parse(u"cover:yes drama", extras).narrows(Query::parse(u"cover:y", extras)));
    // A state word typed whole narrows its beginning, never the other way.
    const auto state = [&extras](const char16_t* text) {
        return Query::parse(text, extras, {}, {{QStringLiteral("out")}});
    };
    EXPECT_TRUE(state(u"cover:out").narrows(state(u"cover:ou")));
    EXPECT_FALSE(state(u"cover:ou").narrows(state(u"cover:out")));
    EXPECT_FALSE(state(u"cover:outs").narrows(state(u"cover:out")));
}

// Rows whose folded text differs from their own (É as e, ß as ss, æ as ae, a
// character beyond 16 bits) and units that share their bits with others,
// found by the units their folded fields hold.
TEST(FindMatching, RowsArePassedOverByTheUnitsTheirFoldedFieldsHold) {
    const QString ete = QStringLiteral("ÉTÉ");
    const QString fuss = QStringLiteral("Fuß");
    const QString caesar = QStringLiteral("Cæsar");
    const QString reel = QStringLiteral("\U0001F3AC Reel");
    const QString tom = QStringLiteral("Tom & Jerry's - 42");
    const QString tokyo = QStringLiteral("東京物語");
    const std::vector<QStringList> forwards = {{ete, "1953"}, {fuss, "", "Crime"}, {caesar}, {reel},
                                               {tom},         {tokyo, "1953"}};
    const std::vector<Case> cases = {
        {"e", {ete, fuss, caesar, reel, tom}},
        {"title:e", {ete, caesar, reel, tom}}, // a lone letter in one field is looked for
        {"ss", {fuss}},
        {"ae", {caesar}},
        {"9", {ete, tokyo}},
        {"q", {}},
        {"\U0001F3AC", {reel}},
        {"& 's -", {tom}},
        {"京", {tokyo}},
        {"-e", {tokyo}},
        {"-s 1953", {ete, tokyo}},
        {"ete OR fuss", {ete, fuss}},
    };
    // The same rows backwards, their folded text kept four ways: built at
    // once, built the other way round and reordered, built from other rows
    // and changed, or partly built and the rest added.
    const Rows rows(std::vector<QStringList>(forwards.rbegin(), forwards.rend()));
    const Rows other(forwards);
    std::array<Find::FoldedRows, 4> folded;
    folded[0].build(rows);
    folded[1].build(other);
    folded[1].reorder({5, 4, 3, 2, 1, 0});
    folded[2].build(other);
    folded[3].buildMore(rows, 2);
    for (int position = 0; position < rows.rowCount(); ++position) {
        folded[2].update(position, rows.row(position));
        if (position >= 2) {
            folded[3].append(rows.row(position));
        }
    }
    Find::FoldedRows partly; // a row not folded yet is matched all the same
    partly.buildMore(rows, 3);
    for (const Case& c : cases) {
        const Query query = Query::parse(QString::fromUtf8(c.text));
        const QStringList expected(c.titles.rbegin(), c.titles.rend());
        for (std::size_t way = 0; way < folded.size(); ++way) {
            QStringList titles;
            for (int position : Find::matchingRows(query, rows, folded[way])) {
                titles << rows.title(position);
            }
            EXPECT_EQ(titles, expected) << c.text << " way " << way;
        }
        for (int position = 0; position < rows.rowCount(); ++position) {
            EXPECT_EQ(Find::rowMatches(query, rows, partly, position),
                      expected.contains(rows.title(position)))
                << c.text << " row " << position;
        }
    }
}

TEST(FindQuery, AnUnknownFieldOrAReversedRangeSaysWhy) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"foo:bar", "unknown field foo"},
        {"drama Foo:\"x y\"", "unknown field Foo"},
        {"-foo:bar", "unknown field foo"},
        {"titanic OR http://x", "unknown field http"},
        {"year:1999..1990", "range 1999..1990 is reversed"},
        {"-year:2000..1", "range 2000..1 is reversed"},
        {"trek: generations", ""}, // a name followed by nothing is a word
        {"runtime:1:4 \"foo:bar\" 10:30", ""},
        {"year:1990..1990", ""},
    };
    for (const auto& c : cases) {
        const Query query = Query::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(query.error(), QString::fromUtf8(c.error)) << c.text;
        EXPECT_EQ(query.isEmpty(), *c.error != '\0') << c.text;
    }
}

TEST(FindQuery, KnowsWhenAChangeOnlyNarrowsTheLastOne) {
    struct Step {
        const char* wider;
        const char* narrower;
        bool narrows;
    };
    const Step steps[] = {
        {"ame", "amel", true},
        {"amel", "ame", false},
        {"amelie", "amelie tautou", true},
        {"tautou", "cast:tautou", true},
        {"cast:tautou", "tautou", false},
        {"year:1950..1960", "year:1950..1959", true},
        {"year:195", "year:1950..1959", false},
        {"\"the sev", "\"the seve", true},
        {"drama", "drama -titanic", true},
        {"drama -tit", "drama -titanic", false},
        {"drama -titanic", "drama -tit", true},
        {"titanic OR amelie", "titanic", true},
        {"titanic", "titanic OR amelie", false},
        {"x a OR b", "x a", true},
        {"-year:1950..1960", "-year:1940..1970", true},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(Query::parse(QString::fromUtf8(s.narrower))
                      .narrows(Query::parse(QString::fromUtf8(s.wider))),
                  s.narrows)
            << s.wider << " -> " << s.narrower;
    }
    // Repeated and implied words add nothing.
    EXPECT_EQ(Query::parse(u"amelie ame AMELIE").clauses().size(), 1u);
    EXPECT_EQ(Query::parse(u"ame OR amelie").clauses().front().anyOf.size(), 1u);
    EXPECT_EQ(Query::parse(u"amelie  "), Query::parse(u"amelie"));
}

// A text that folds unit by unit folds as a whole to the units folded one
// by one: what lets most rows be scanned without a folded copy.
TEST(FindFolding, AUnitByUnitTextFoldsAsItsUnits) {
    const char16_t* table = Find::unitFoldTable();
    QRandomGenerator random(20240611);
    int checked = 0;
    while (checked < 3000) {
        QString text;
        for (int i = 0; i < 6; ++i) {
            text += QChar(char16_t(random.bounded(0x10000)));
        }
        if (!Find::foldsUnitByUnit(text)) {
            continue;
        }
        QString units;
        for (QChar c : text) {
            units += QChar(table[c.unicode()]);
        }
        ASSERT_EQ(Find::fold(text), units) << text.toStdString();
        ++checked;
    }
    EXPECT_EQ(Find::fold(u"ÀÉÎÕÜ Ǆ ǅ Ω K"), QStringLiteral("aeiou ǆ ǆ ω k"));
}

} // namespace
