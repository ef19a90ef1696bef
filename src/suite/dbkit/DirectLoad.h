#pragma once

// Internal: loads a result straight through the engine's own client library
// on the Qt driver's handle.
//
// The Qt drivers build a QVariant per cell (SQLite converting every text to
// UTF-16 first); for a list of 100,000 warehouses that costs twice the query
// itself or more. Reading the engine's own result on the same connection
// keeps the open close to the engine's speed: same busy/lock timeout, same
// transaction.

#include <QSqlDatabase>
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <vector>

namespace dbkit {

class ColumnStore;

struct LoadedShape {
    QStringList names;
    QStringList tables;
    std::vector<int> types;  // recordset data-type codes
};

enum class DirectLoad { Done, Failed, Unavailable };

// Texts that repeat down a column (department names, valuation styles,
// persons) are converted once and shared. A column whose texts rarely repeat
// stops using the cache after a trial period, so unique columns pay nothing.
class TextCache {
public:
    QString text(const char *utf8, int bytes)
    {
        if (!m_enabled || bytes > 64)
            return QString::fromUtf8(utf8, bytes);
        const QByteArrayView key(utf8, bytes);
        Slot &slot = m_slots[qHash(key) % m_slots.size()];
        ++m_lookups;
        if (slot.used && slot.utf8 == key) {
            ++m_hits;
            return slot.text;
        }
        QString fresh = QString::fromUtf8(utf8, bytes);
        slot.utf8 = key.toByteArray();
        slot.text = fresh;
        slot.used = true;
        if (m_lookups == 2048 && m_hits < m_lookups / 2) {
            m_enabled = false;
            m_slots = {};
        }
        return fresh;
    }

private:
    struct Slot {
        QByteArray utf8;
        QString text;
        bool used = false;
    };
    std::vector<Slot> m_slots = std::vector<Slot>(512);
    size_t m_lookups = 0;
    size_t m_hits = 0;
    bool m_enabled = true;
};

// Recordset data-type code of a PostgreSQL type oid; -1 when not one we name.
int postgresTypeCode(unsigned int oid);

// Runs `statement` on the connection's SQLite handle into `rows`. Unavailable
// when the kit was built without the SQLite library or the handle is not
// SQLite's; Failed with `error` set when the engine refused.
DirectLoad loadSqliteDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                            LoadedShape &shape, QSqlError *error);
// The socket of the connection's libpq handle; -1 when it has none.
int postgresSocket(QSqlDatabase &db);
DirectLoad loadPostgresDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                              LoadedShape &shape, QSqlError *error);

} // namespace dbkit
