#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QString>

// Creates the account tables (and the system database's operator table) on
// the login's engine, optionally with the demo company's data, in one
// transaction. Throws dbkit::DbError when a statement fails; nothing is left
// behind then.
void CreateAccountSchema(dbkit::DbLogin &login, bool withDemoData);

// Opens the SQLite account at `path`; when the file does not exist yet it is
// created with the schema (and the demo data when `demo`). Throws
// dbkit::DbError when the account cannot be opened or created.
dbkit::DbLoginPtr OpenOrCreateSqliteAccount(const QString &path, bool demo);

// Inserts `count` synthetic warehouses numbered from `firstNumber`: codes
// zero-padded to at least six digits, Chinese names, departments cycling over
// the leaf departments (every ninth warehouse has none). One transaction and
// one prepared statement, for large test and benchmark accounts.
void GenerateWarehouses(dbkit::DbLogin &login, int count, int firstNumber = 1);
