-- Change history of an account on a SQL Server reached through ODBC; the
-- columns are described in sqlite/history.sql. Safe to run again.

IF OBJECT_ID('ChangeHistory', 'U') IS NULL CREATE TABLE ChangeHistory (
    iId        bigint IDENTITY(1, 1) PRIMARY KEY,
    dChanged   datetime2 NOT NULL,
    cOperCode  nvarchar(64) NOT NULL,
    cOperName  nvarchar(64) NULL,
    cComputer  nvarchar(64) NULL,
    cTable     nvarchar(30) NOT NULL,
    cKey       nvarchar(60) NOT NULL,
    cAction    nvarchar(10) NOT NULL CHECK (cAction IN ('add', 'change', 'delete')),
    cWhCode    nvarchar(10) NULL,
    cRightUser nvarchar(20) NULL,
    cBefore    nvarchar(max) NULL,
    cAfter     nvarchar(max) NULL
);
IF INDEXPROPERTY(OBJECT_ID('ChangeHistory'), 'ChangeHistory_Key', 'IndexID') IS NULL
    CREATE INDEX ChangeHistory_Key ON ChangeHistory (cTable, cKey, dChanged, iId);
IF INDEXPROPERTY(OBJECT_ID('ChangeHistory'), 'ChangeHistory_Time', 'IndexID') IS NULL
    CREATE INDEX ChangeHistory_Time ON ChangeHistory (dChanged, iId);
IF INDEXPROPERTY(OBJECT_ID('ChangeHistory'), 'ChangeHistory_Operator', 'IndexID') IS NULL
    CREATE INDEX ChangeHistory_Operator ON ChangeHistory (cOperCode, dChanged, iId);
IF INDEXPROPERTY(OBJECT_ID('ChangeHistory'), 'ChangeHistory_Warehouse', 'IndexID') IS NULL
    CREATE INDEX ChangeHistory_Warehouse ON ChangeHistory (cWhCode, dChanged, iId);
IF INDEXPROPERTY(OBJECT_ID('ChangeHistory'), 'ChangeHistory_RightUser', 'IndexID') IS NULL
    CREATE INDEX ChangeHistory_RightUser ON ChangeHistory (cRightUser, dChanged, iId);
