#pragma once

// Internal: hands the rows a loader steps through to a second thread that
// turns them into the data set's columns.
//
// Stepping a SQLite statement and converting its UTF-8 texts into QStrings
// cost about the same; on a list of 100,000 warehouses doing both on one
// thread makes the open nearly twice the engine's own time. The loader's
// thread only copies each row's raw cells into a chunk; a worker decodes the
// chunks in order. Small results never use the worker. The load waits for
// the worker before it returns, so nothing runs in the background afterwards.
// The worker is the process's decoding thread; a load that finds it lent to
// another decodes its own rows as it steps.

#include "ColumnStore.h"
#include "DecodeThread.h"
#include "DirectLoad.h"

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dbkit {

class RowPipeline {
public:
    enum class CellType : uint8_t { Null, Integer, Real, Text, Blob };

    explicit RowPipeline(ColumnStore &rows);
    ~RowPipeline();
    RowPipeline(const RowPipeline &) = delete;
    RowPipeline &operator=(const RowPipeline &) = delete;

    // The producer's side: one call per cell, then endRow().
    void addNull() { m_chunk->cells.push_back(Cell{CellType::Null, 0, {0}}); }
    void addInteger(qint64 v) { m_chunk->cells.push_back(Cell{CellType::Integer, 0, {v}}); }
    void addReal(double v)
    {
        Cell c{CellType::Real, 0, {0}};
        c.real = v;
        m_chunk->cells.push_back(c);
    }
    void addText(const char *bytes, int size) { addBytes(CellType::Text, bytes, size); }
    void addBlob(const char *bytes, int size) { addBytes(CellType::Blob, bytes, size); }
    void endRow();
    // Decodes what is left and waits for the worker: the store is complete.
    void finish();

private:
    struct Cell {
        CellType type;
        uint32_t size;
        union {
            qint64 integer;
            uint64_t offset;
            double real;
        };
    };
    struct Chunk {
        std::vector<Cell> cells;
        std::string bytes;
        size_t rows = 0;
    };

    void addBytes(CellType type, const char *bytes, int size)
    {
        Cell c{type, uint32_t(size), {0}};
        c.offset = m_chunk->bytes.size();
        m_chunk->bytes.append(bytes, size_t(size));
        m_chunk->cells.push_back(c);
    }
    void hand(std::unique_ptr<Chunk> chunk);
    void decode(const Chunk &chunk);
    void work();
    void stopWorker();
    std::unique_ptr<Chunk> freshChunk();

    ColumnStore &m_rows;
    std::vector<TextCache> m_caches;
    std::unique_ptr<Chunk> m_chunk;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Chunk>> m_queue;
    std::vector<std::unique_ptr<Chunk>> m_spare;
    bool m_closing = false;
    bool m_working = false;
    // Held while this load has the process's decoding thread.
    std::unique_ptr<DecoderLease> m_decoder;
    // The decoding thread was busy: this load decodes on its own thread.
    bool m_inline = false;
};

} // namespace dbkit
