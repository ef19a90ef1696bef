#pragma once

#include "suite/dbkit/DbLogin.h"

// Inserts `count` synthetic warehouses numbered from `firstNumber`: codes
// zero-padded to at least six digits, Chinese names, departments cycling over
// the leaf departments (every ninth warehouse has none). One transaction and
// one prepared statement, for large test and benchmark accounts.
void GenerateWarehouses(dbkit::DbLogin &login, int count, int firstNumber = 1);
