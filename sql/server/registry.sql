-- Registry of account sets, kept in the server's "msdb" database.
-- Each row names another database on the same server; terminals work in
-- the first one marked IsPos = 1.

create table if not exists AccountSet (
    AccSetID   integer primary key,      -- equals S_AccountInfo.AccountId in that database
    DBName     text    not null,
    SeleStore  integer not null default 0,
    IsPos      integer not null default 0
);
