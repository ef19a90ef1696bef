-- Account database, SQLite.
-- SQLite ignores declared widths, so every text column carries a length check:
-- an over-long value is refused here exactly as a server refuses it.
-- Flags are integers 0/1. Foreign keys have no cascade: a warehouse that
-- positions or stock records use can neither be deleted nor renamed.

CREATE TABLE Department (
    cDepCode    varchar(20) NOT NULL PRIMARY KEY CHECK (length(cDepCode) <= 20),
    cDepName    varchar(30) NOT NULL CHECK (length(cDepName) <= 30),
    cDepPerson  varchar(20) NULL CHECK (length(cDepPerson) <= 20),
    bDepEnd     smallint NOT NULL DEFAULT 1 CHECK (bDepEnd IN (0, 1))
);

-- cDepCode is deliberately not a foreign key: a warehouse may keep the code of
-- a department that has no row (the list shows it without a department name).
CREATE TABLE Warehouse (
    cWhCode       varchar(10) NOT NULL PRIMARY KEY CHECK (length(cWhCode) <= 10),
    cWhName       varchar(20) NOT NULL CHECK (length(cWhName) <= 20),
    cDepCode      varchar(20) NULL CHECK (length(cDepCode) <= 20),
    cWhAddress    varchar(30) NULL CHECK (length(cWhAddress) <= 30),
    cWhPhone      varchar(20) NULL CHECK (length(cWhPhone) <= 20),
    cWhPerson     varchar(10) NULL CHECK (length(cWhPerson) <= 10),
    cWhValueStyle varchar(12) NULL CHECK (length(cWhValueStyle) <= 12),
    bWhPos        smallint NULL DEFAULT 0 CHECK (bWhPos IN (0, 1)),
    iWhFundQuota  numeric(21, 4) NULL,
    cWhMemo       varchar(20) NULL CHECK (length(cWhMemo) <= 20)
);

CREATE TABLE Position (
    cPosCode varchar(20) NOT NULL PRIMARY KEY CHECK (length(cPosCode) <= 20),
    cPosName varchar(30) NOT NULL CHECK (length(cPosName) <= 30),
    cWhCode  varchar(10) NOT NULL CHECK (length(cWhCode) <= 10)
             REFERENCES Warehouse (cWhCode)
);
CREATE INDEX Position_cWhCode ON Position (cWhCode);

-- Stock movements: the other table that keeps a warehouse in use.
CREATE TABLE StockMove (
    AutoID    INTEGER PRIMARY KEY AUTOINCREMENT,
    cWhCode   varchar(10) NOT NULL CHECK (length(cWhCode) <= 10)
              REFERENCES Warehouse (cWhCode),
    cInvCode  varchar(20) NOT NULL CHECK (length(cInvCode) <= 20),
    dDate     date NOT NULL,
    iQuantity numeric(21, 4) NOT NULL,
    cMemo     varchar(30) NULL CHECK (length(cMemo) <= 30)
);
CREATE INDEX StockMove_cWhCode ON StockMove (cWhCode);

CREATE TABLE AccInformation (
    cSysID   varchar(4) NOT NULL CHECK (length(cSysID) <= 4),
    cName    varchar(40) NOT NULL CHECK (length(cName) <= 40),
    cValue   varchar(100) NULL CHECK (length(cValue) <= 100),
    cDefault varchar(100) NULL CHECK (length(cDefault) <= 100),
    PRIMARY KEY (cSysID, cName)
);

CREATE TABLE InventoryClass (
    cInvCCode  varchar(12) NOT NULL PRIMARY KEY CHECK (length(cInvCCode) <= 12),
    cInvCName  varchar(30) NOT NULL CHECK (length(cInvCName) <= 30),
    iInvCGrade smallint NOT NULL DEFAULT 1,
    bInvCEnd   smallint NOT NULL DEFAULT 1 CHECK (bInvCEnd IN (0, 1))
);

CREATE TABLE Inventory (
    cInvCode  varchar(20) NOT NULL PRIMARY KEY CHECK (length(cInvCode) <= 20),
    cInvName  varchar(60) NOT NULL CHECK (length(cInvName) <= 60),
    cInvStd   varchar(60) NULL CHECK (length(cInvStd) <= 60),
    cInvCCode varchar(12) NULL CHECK (length(cInvCCode) <= 12),
    bService  smallint NOT NULL DEFAULT 0 CHECK (bService IN (0, 1))
);
CREATE INDEX Inventory_cInvCCode ON Inventory (cInvCCode);

-- Operators' warehouse rights. Id is the operator's code, cuser_id the
-- operator's name when the row was written. No foreign keys: a right may
-- outlive its warehouse or operator (the lists then leave it out).
CREATE TABLE WarehAuth (
    Auto_id    INTEGER PRIMARY KEY AUTOINCREMENT,
    Id         varchar(20) NOT NULL CHECK (length(Id) <= 20),
    cuser_id   varchar(20) NULL CHECK (length(cuser_id) <= 20),
    cWhCode    varchar(10) NOT NULL CHECK (length(cWhCode) <= 10),
    bDispMoney smallint NULL DEFAULT 0 CHECK (bDispMoney IN (0, 1)),
    cInvCCode  varchar(12) NULL CHECK (length(cInvCCode) <= 12),
    cInvCode   varchar(20) NULL CHECK (length(cInvCode) <= 20)
);
CREATE INDEX WarehAuth_Id ON WarehAuth (Id);
CREATE INDEX WarehAuth_cWhCode ON WarehAuth (cWhCode);
-- One right per operator, warehouse, class and item: an empty class or item
-- counts as none, so two editors cannot both store the same right.
CREATE UNIQUE INDEX WarehAuth_Right ON WarehAuth
    (Id, cWhCode, (COALESCE(cInvCCode, '')), (COALESCE(cInvCode, '')));

-- Record locks shared by every computer working on the account.
CREATE TABLE LockRecords (
    cKind       varchar(10) NOT NULL CHECK (length(cKind) <= 10),
    cCode       varchar(60) NOT NULL CHECK (length(cCode) <= 60),
    cSystem     varchar(10) NULL CHECK (length(cSystem) <= 10),
    cMode       varchar(10) NULL CHECK (length(cMode) <= 10),
    cComputer   varchar(64) NULL CHECK (length(cComputer) <= 64),
    cOperator   varchar(64) NULL CHECK (length(cOperator) <= 64),
    cConnection varchar(128) NULL CHECK (length(cConnection) <= 128),
    cSession    varchar(64) NULL CHECK (length(cSession) <= 64),
    dLocked     timestamp NULL,
    PRIMARY KEY (cKind, cCode)
);
-- The leases of lock holders on a server (see postgresql/account.sql). On
-- SQLite a holder is judged by its process instead, so it stays empty; it is
-- kept so the account schemas match.
CREATE TABLE LockSessions (
    cSession    varchar(64) NOT NULL PRIMARY KEY CHECK (length(cSession) <= 64),
    cOperator   varchar(64) NULL CHECK (length(cOperator) <= 64),
    cComputer   varchar(64) NULL CHECK (length(cComputer) <= 64),
    dExpires    timestamp NOT NULL
);
