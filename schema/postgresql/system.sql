-- The suite's system database, PostgreSQL: schema lxsystem of the account's
-- database.

-- The schema may be there already; that is no news worth a notice.
SET LOCAL client_min_messages = warning;

CREATE SCHEMA IF NOT EXISTS lxsystem;

CREATE TABLE IF NOT EXISTS lxsystem.qd_user (
    cuser_id   varchar(20) NOT NULL PRIMARY KEY,
    cuser_name varchar(20) NOT NULL,
    iAdmin     smallint NOT NULL DEFAULT 0 CHECK (iAdmin IN (0, 1)),
    nState     smallint NULL DEFAULT 0
);
