#include "RowPipeline.h"


namespace dbkit {

namespace {

// Rows per chunk: large enough that handing over costs nothing, small enough
// that the worker starts early.
constexpr size_t RowsPerChunk = 512;
// Chunks waiting at most; the producer waits beyond that, so memory stays flat.
// Each chunk is fresh memory the first time (about 300 KB for a list row of
// ten columns), and a deeper queue only lets the faster side run ahead: the
// load takes as long as its slower side either way.
constexpr size_t MaxQueued = 3;
} // namespace

RowPipeline::RowPipeline(ColumnStore &rows)
    : m_rows(rows), m_caches(size_t(rows.columnCount()))
{
    m_chunk = freshChunk();
}

RowPipeline::~RowPipeline()
{
    // A load abandoned half-way (an engine error) still waits for its worker.
    stopWorker();
}

std::unique_ptr<RowPipeline::Chunk> RowPipeline::freshChunk()
{
    std::unique_ptr<Chunk> chunk;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_spare.empty()) {
            chunk = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    if (!chunk) {
        chunk = std::make_unique<Chunk>();
        chunk->cells.reserve(RowsPerChunk * size_t(std::max(1, m_rows.columnCount())));
        chunk->bytes.reserve(RowsPerChunk * 128);
    }
    chunk->cells.clear();
    chunk->bytes.clear();
    chunk->rows = 0;
    return chunk;
}

void RowPipeline::endRow()
{
    if (++m_chunk->rows < RowsPerChunk)
        return;
    if (!m_working && !m_inline) {
        m_decoder = std::make_unique<DecoderLease>();
        m_inline = !m_decoder->held();
        if (!m_inline) {
            m_working = true;
            m_decoder->start([this] { work(); });
        }
    }
    if (m_inline) {
        decode(*m_chunk);
        m_chunk->cells.clear();
        m_chunk->bytes.clear();
        m_chunk->rows = 0;
        return;
    }
    hand(std::move(m_chunk));
    m_chunk = freshChunk();
}

void RowPipeline::hand(std::unique_ptr<Chunk> chunk)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < MaxQueued; });
    m_queue.push_back(std::move(chunk));
    lock.unlock();
    m_changed.notify_all();
}

void RowPipeline::work()
{
    for (;;) {
        std::unique_ptr<Chunk> chunk;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_closing; });
            if (m_queue.empty())
                return;
            chunk = std::move(m_queue.front());
            m_queue.pop_front();
        }
        m_changed.notify_all();
        decode(*chunk);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_spare.push_back(std::move(chunk));
    }
}

void RowPipeline::stopWorker()
{
    if (!m_working)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_decoder.reset();
    m_working = false;
}

void RowPipeline::finish()
{
    stopWorker();
    // What the worker never saw (or everything, for a small result).
    decode(*m_chunk);
    m_chunk->cells.clear();
    m_chunk->bytes.clear();
    m_chunk->rows = 0;
}

void RowPipeline::decode(const Chunk &chunk)
{
    const int columns = m_rows.columnCount();
    size_t cell = 0;
    for (size_t row = 0; row < chunk.rows; ++row) {
        for (int c = 0; c < columns; ++c, ++cell) {
            const Cell &v = chunk.cells[cell];
            Column &column = m_rows.column(c);
            switch (v.type) {
            case CellType::Null:
                column.appendNull();
                break;
            case CellType::Integer:
                column.appendInteger(v.integer);
                break;
            case CellType::Real:
                column.appendReal(v.real);
                break;
            case CellType::Text:
                column.appendUtf8(chunk.bytes.data() + v.offset, int(v.size),
                                  m_caches[size_t(c)]);
                break;
            case CellType::Blob:
                column.append(QVariant(QByteArray(chunk.bytes.data() + v.offset, int(v.size))));
                break;
            }
        }
        m_rows.endRow();
    }
}

} // namespace dbkit
