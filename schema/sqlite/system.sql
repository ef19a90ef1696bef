-- The suite's system database, SQLite: a file of its own, attached to every
-- account connection as "lxsystem". Several accounts in one folder share it,
-- so creating it again is harmless.

CREATE TABLE IF NOT EXISTS lxsystem.qd_user (
    cuser_id   varchar(20) NOT NULL PRIMARY KEY CHECK (length(cuser_id) <= 20),
    cuser_name varchar(20) NOT NULL CHECK (length(cuser_name) <= 20),
    iAdmin     smallint NOT NULL DEFAULT 0 CHECK (iAdmin IN (0, 1)),
    nState     smallint NULL DEFAULT 0
);
