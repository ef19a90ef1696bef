#pragma once

// Internal: the state of a DbDataSet, shared by its read and write halves.

#include "ColumnStore.h"
#include "../DbDataSet.h"
#include "../DbLogin.h"
#include "DirectLoad.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace dbkit {

// Hidden: the class it belongs to is exported, its private part is not.
struct __attribute__((visibility("hidden"))) DbDataSet::Impl {
    Impl(DbLogin &owner, const QString &text, int openMode)
        : login(owner), sql(text), mode(openMode)
    {
    }

    enum class Editing { None, Adding, Changing };
    struct Pending {
        QString name;
        int field = -1;  // index in the data set, -1 for a base-table column not selected
        QVariant value;
    };

    DbLogin &login;
    std::shared_ptr<DbLogin> keepAlive;  // a data set keeps its connection open
    QString sql;        // as the caller gave it
    QString statement;  // as the engine runs it
    QVariantList values;  // bound to the statement's "?" placeholders
    int mode = OpenMode::Default;

    QStringList names;              // field names as the engine returned them
    QStringList tables;             // each field's table where the driver tells it
    std::vector<int> types;         // recordset data-type codes
    QHash<QString, QList<int>> byName;  // lower-case name -> field indexes
    // The rows as read. A reader of the rows (a grid showing them) may keep
    // them alive past a requery or a write: a load starts a store of its own,
    // and a write to a store somebody still reads first copies it.
    std::shared_ptr<ColumnStore> rows = std::make_shared<ColumnStore>();

    qsizetype pos = 0;
    bool noMatch = false;
    Editing editing = Editing::None;
    std::vector<Pending> pending;

    void load();
    // The statement as one libpq call (with what its connection sends first).
    DirectLoad loadPostgres(LoadedShape &shape, QSqlError &error);
    void setShape(const LoadedShape &shape);
    qsizetype count() const { return qsizetype(rows->rowCount()); }
    // The store to write to, copied first when a reader still shares it.
    ColumnStore &ownRows();
    bool atRecord() const { return pos >= 0 && pos < count(); }
    void requireRecord() const;
    void requireWritable() const;
    int fieldIndex(const QString &name) const;
    const Pending *pendingFor(int field) const;

    // Before a move: an edit with collected values is stored (as a recordset
    // does), an empty add is abandoned, an empty edit stays open.
    void leaveRecord();
};

} // namespace dbkit
