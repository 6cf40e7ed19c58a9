#include "core/import/background_row_reader.h"

namespace {

// Rows per batch: few enough handovers that locking costs nothing
// noticeable, and a batch of even long rows stays small.
constexpr std::size_t kBatchRows = 1000;
// A batch also ends at this many bytes of text, so that rows of long values
// (a value may hold megabytes) wait a few at a time, not a thousand.
constexpr qsizetype kBatchBytes = qsizetype(1) << 20;
// Batches read ahead of the planning at most.
constexpr std::size_t kWaitingBatches = 4;

qsizetype textBytes(const QStringList& cells) {
    qsizetype bytes = 0;
    for (const QString& cell : cells) {
        bytes += cell.size() * qsizetype(sizeof(QChar));
    }
    return bytes;
}

} // namespace

BackgroundRowReader::BackgroundRowReader(std::unique_ptr<RowReader> reader)
    : m_reader(std::move(reader)), m_formatName(m_reader->formatName()),
      m_columnNaming(m_reader->columnNaming()), m_encodingNote(m_reader->encodingNote()),
      m_placeWord(m_reader->placeWord()), m_sheetNames(m_reader->sheetNames()),
      m_sheetName(m_reader->sheetName()), m_total(m_reader->progressTotal()),
      m_thread([this] { readAll(); }) {}

BackgroundRowReader::~BackgroundRowReader() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_taken.notify_all();
    m_thread.join();
}

void BackgroundRowReader::readAll() {
    Batch batch;
    try {
        bool more = true;
        while (more && !m_stop) {
            batch.rows.reserve(kBatchRows);
            SourceRow row;
            qsizetype bytes = 0;
            while (batch.rows.size() < kBatchRows && bytes < kBatchBytes && !m_stop &&
                   (more = m_reader->readRow(row))) {
                bytes += textBytes(row.cells);
                const qsizetype width = row.cells.size();
                batch.rows.push_back(std::move(row));
                row = SourceRow();
                row.cells.reserve(width); // the next row is most likely as wide
            }
            batch.done = m_reader->progressDone();
            batch.last = !more;
            if (!hand(std::move(batch))) {
                return;
            }
            batch = Batch();
        }
    } catch (...) {
        batch.done = m_reader->progressDone();
        batch.last = true;
        batch.failure = std::current_exception();
        hand(std::move(batch));
    }
}

bool BackgroundRowReader::hand(Batch&& batch) {
    {
        std::unique_lock lock(m_mutex);
        m_taken.wait(lock, [this] { return m_stop || m_waiting.size() < kWaitingBatches; });
        if (m_stop) {
            return false;
        }
        m_waiting.push_back(std::move(batch));
    }
    m_filled.notify_one();
    return true;
}

bool BackgroundRowReader::readRow(SourceRow& row) {
    while (m_next >= m_current.rows.size()) {
        if (m_current.last) {
            if (m_current.failure) {
                std::rethrow_exception(m_current.failure);
            }
            return false;
        }
        {
            std::unique_lock lock(m_mutex);
            m_filled.wait(lock, [this] { return !m_waiting.empty(); });
            m_current = std::move(m_waiting.front());
            m_waiting.pop_front();
        }
        m_taken.notify_one();
        m_next = 0;
        m_done = m_current.done;
    }
    row = std::move(m_current.rows[m_next++]);
    return true;
}
