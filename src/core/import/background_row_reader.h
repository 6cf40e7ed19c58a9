#pragma once

#include "core/import/row_reader.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Reads another reader's rows on a thread of its own, a batch at a time, so
// that unpacking and parsing a workbook runs beside the planning of the rows
// already read. The rows come out in file order, as from the reader itself;
// a failure of the reader (a damaged file, a cap) comes out of readRow()
// after the rows read before it, as it would have. Only a few batches, each
// of a bounded number of rows and bytes, wait at a time, so a large file
// still never sits in memory whole. Destroying
// this object (after a cancelled or failed import too) stops the thread.
class BackgroundRowReader : public RowReader {
public:
    explicit BackgroundRowReader(std::unique_ptr<RowReader> reader);
    ~BackgroundRowReader() override;
    BackgroundRowReader(const BackgroundRowReader&) = delete;
    BackgroundRowReader& operator=(const BackgroundRowReader&) = delete;

    bool readRow(SourceRow& row) override;

    // What the reader tells of its file, asked before the thread starts.
    QString formatName() const override { return m_formatName; }
    ColumnNaming columnNaming() const override { return m_columnNaming; }
    QString encodingNote() const override { return m_encodingNote; }
    QString placeWord() const override { return m_placeWord; }
    QStringList sheetNames() const override { return m_sheetNames; }
    QString sheetName() const override { return m_sheetName; }
    // As far as the rows handed out so far.
    qint64 progressDone() const override { return m_done; }
    qint64 progressTotal() const override { return m_total; }

private:
    // Rows read one after another, how far the reading had come after
    // them, and, in the last batch, the failure that ended the reading.
    struct Batch {
        std::vector<SourceRow> rows;
        qint64 done = 0;
        bool last = false;
        std::exception_ptr failure;
    };

    void readAll();
    // False when the reading is to stop.
    bool hand(Batch&& batch);

    std::unique_ptr<RowReader> m_reader; // used by the reading thread alone once it runs
    QString m_formatName;
    ColumnNaming m_columnNaming;
    QString m_encodingNote;
    QString m_placeWord;
    QStringList m_sheetNames;
    QString m_sheetName;
    qint64 m_total = 0;

    // The consumer's side.
    Batch m_current;
    std::size_t m_next = 0;
    qint64 m_done = 0;

    std::mutex m_mutex;
    std::condition_variable m_filled; // a batch waits, or the reading ended
    std::condition_variable m_taken;  // there is room for a batch, or stop
    std::deque<Batch> m_waiting;      // guarded by m_mutex
    std::atomic<bool> m_stop{false};
    std::thread m_thread; // last: it starts once everything above is made
};
