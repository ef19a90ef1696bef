-- The suite's system database, PostgreSQL: schema lxsystem of the account's
-- database.

CREATE SCHEMA IF NOT EXISTS lxsystem;

CREATE TABLE IF NOT EXISTS lxsystem.qd_user (
    cuser_id   varchar(20) NOT NULL PRIMARY KEY,
    cuser_name varchar(20) NOT NULL,
    iAdmin     smallint NOT NULL DEFAULT 0 CHECK (iAdmin IN (0, 1)),
    nState     smallint NULL DEFAULT 0
);
