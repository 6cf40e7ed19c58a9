#include "core/import/background_row_reader.h"
#include "core/import/import_plan.h"
#include "import_support.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Rows "1", "2", ... of a title each, `rows` of them (endless when negative),
// then the end or a failure; counts the rows it gave, from any thread.
class CountingReader : public RowReader {
public:
    CountingReader(qint64 rows, bool fails, std::atomic<qint64>& given, qsizetype width = 0)
        : m_rows(rows), m_fails(fails), m_given(given), m_width(width) {}

    bool readRow(SourceRow& row) override {
        const qint64 number = m_given + 1;
        if (m_rows >= 0 && number > m_rows) {
            if (m_fails) {
                throw failureAt(ImportProblem::DamagedWorkbook, RowPlace{placeWord(), number},
                                QStringLiteral("broken here."));
            }
            return false;
        }
        row.number = number;
        row.cells = QStringList{number == 1 ? QStringLiteral("Title")
                                            : QStringLiteral("Movie %1").arg(number)};
        if (m_width > 0) {
            row.cells << QString(m_width, u'x');
        }
        m_given = number;
        return true;
    }
    QString formatName() const override { return QStringLiteral("counted rows"); }
    QString placeWord() const override { return QStringLiteral("Row"); }
    QStringList sheetNames() const override { return {QStringLiteral("One")}; }
    QString sheetName() const override { return QStringLiteral("One"); }
    qint64 progressDone() const override { return m_given; }
    qint64 progressTotal() const override { return m_rows; }

private:
    qint64 m_rows;
    bool m_fails;
    std::atomic<qint64>& m_given;
    qsizetype m_width; // of a second cell, none when 0
};

TEST(BackgroundRowReader, GivesTheRowsInOrderThenTheReadersFailure) {
    for (const bool fails : {false, true}) {
        std::atomic<qint64> given{0};
        BackgroundRowReader reader(std::make_unique<CountingReader>(2500, fails, given));
        EXPECT_EQ(reader.formatName(), QStringLiteral("counted rows"));
        EXPECT_EQ(reader.sheetNames(), QStringList{QStringLiteral("One")});
        EXPECT_EQ(reader.progressTotal(), 2500);
        SourceRow row;
        qint64 read = 0;
        try {
            while (reader.readRow(row)) {
                ASSERT_EQ(row.number, ++read);
                ASSERT_EQ(row.cells.size(), 1);
                EXPECT_GE(reader.progressDone(), read);
            }
            EXPECT_FALSE(fails);
        } catch (const ImportFailure& failure) {
            EXPECT_TRUE(fails);
            EXPECT_EQ(failure.line(), 2501);
            EXPECT_TRUE(failure.description().contains(QStringLiteral("broken here.")));
        }
        EXPECT_EQ(read, 2500);
        EXPECT_EQ(reader.progressDone(), 2500);
    }
}

TEST(BackgroundRowReader, ACancelledPlanStopsTheReadingThread) {
    std::atomic<qint64> given{0};
    {
        BackgroundRowReader reader(std::make_unique<CountingReader>(-1, false, given));
        const ImportFailure failure = failureOf([&] {
            planImport(reader, std::vector<DvdRecord>{},
                       [](qint64 done, qint64) { return done < 5000; });
        });
        EXPECT_EQ(failure.problem(), ImportProblem::Cancelled);
    }
    // Only the few batches read ahead of the planning were read.
    EXPECT_LT(given.load(), 20000);
}

TEST(BackgroundRowReader, ReadsFewRowsOfLongValuesAhead) {
    std::atomic<qint64> given{0};
    BackgroundRowReader reader(std::make_unique<CountingReader>(-1, false, given, 1 << 20));
    SourceRow row;
    ASSERT_TRUE(reader.readRow(row));
    EXPECT_EQ(row.cells.value(1).size(), 1 << 20);
    // However long the reading thread has had, it waits with a few megabytes read ahead.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LE(given.load(), 8);
}

} // namespace
