#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace load {

// What the bench seeds and its operators work on. Counter warehouses keep
// their counter as decimal text in cWhMemo (the card's memo), a column the
// card's save compares as read on every engine. Rights are given to a few
// operators on the first few counter warehouses, narrowed to nesting classes
// and items inside them, so that overlaps are attempted all the time.
namespace seed {
constexpr int counterWarehouses = 20;
constexpr int rightsWarehouses = 3;
QString counterCode(int i);              // C01..C20
QStringList rightsOperators();           // R1..R3

struct Narrowing {
    QString classCode;
    QString itemCode;
};
// The whole warehouse, nesting classes, and items in them.
std::vector<Narrowing> narrowings();
// The valuation style every warehouse the bench writes carries.
QString valueStyle();
} // namespace seed

// A database of its own on a PostgreSQL server, dropped again by dropDatabase.
QString createPostgresDatabase(const QString &serverUrl);
void dropPostgresDatabase(const QString &serverUrl, const QString &databaseUrl);
// The database of `databaseUrl` reached through `poolerUrl`: the pooler's
// user, host and port, the database's name.
QString sameDatabaseThrough(const QString &poolerUrl, const QString &databaseUrl);

// Gives a fresh account (tables just created) its history table, as --init
// does, and fills it with the seed.
void seedAccount(dbkit::DbLogin &login);

} // namespace load
