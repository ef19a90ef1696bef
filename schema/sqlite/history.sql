-- Change history of the account, SQLite: one row for every add, change and
-- delete of a warehouse or a right, written in the transaction of the change.
-- Safe to run again and by two operators at once: an account made before the
-- history existed gets it on first use, its other tables untouched.
--   dChanged    the server's time of the change, UTC, 'YYYY-MM-DD HH:MM:SS'
--   cOperCode   the login's operator; cOperName that operator's name then
--   cTable      Warehouse or WarehAuth; cKey the row's key as text (the
--               warehouse code, the right's Auto_id)
--   cAction     add, change or delete
--   cWhCode     the warehouse the change concerns; cRightUser the operator a
--               changed right belongs to (so an operator's or a warehouse's
--               history is read by index)
--   cBefore     the row before, cAfter the row after: a JSON object of every
--               column, Null for a row that was not or is no longer there

CREATE TABLE IF NOT EXISTS ChangeHistory (
    iId        INTEGER PRIMARY KEY AUTOINCREMENT,
    dChanged   timestamp NOT NULL,
    cOperCode  varchar(64) NOT NULL CHECK (length(cOperCode) <= 64),
    cOperName  varchar(64) NULL CHECK (length(cOperName) <= 64),
    cComputer  varchar(64) NULL CHECK (length(cComputer) <= 64),
    cTable     varchar(30) NOT NULL CHECK (length(cTable) <= 30),
    cKey       varchar(60) NOT NULL CHECK (length(cKey) <= 60),
    cAction    varchar(10) NOT NULL CHECK (cAction IN ('add', 'change', 'delete')),
    cWhCode    varchar(10) NULL CHECK (length(cWhCode) <= 10),
    cRightUser varchar(20) NULL CHECK (length(cRightUser) <= 20),
    cBefore    text NULL,
    cAfter     text NULL
);
-- Every reading is newest first under one of these, so none scans the table.
CREATE INDEX IF NOT EXISTS ChangeHistory_Key ON ChangeHistory (cTable, cKey, dChanged, iId);
CREATE INDEX IF NOT EXISTS ChangeHistory_Time ON ChangeHistory (dChanged, iId);
CREATE INDEX IF NOT EXISTS ChangeHistory_Operator ON ChangeHistory (cOperCode, dChanged, iId);
CREATE INDEX IF NOT EXISTS ChangeHistory_Warehouse ON ChangeHistory (cWhCode, dChanged, iId);
CREATE INDEX IF NOT EXISTS ChangeHistory_RightUser ON ChangeHistory (cRightUser, dChanged, iId);
