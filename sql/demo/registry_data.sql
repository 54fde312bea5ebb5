-- Demo registry rows for msdb. Run with the account-set database name:
--   psql -d msdb -v accountset=posdemo -f registry_data.sql
-- Account set 1 is the one terminals use; account set 2 belongs to
-- another company on the same server and must be ignored by them.

insert into AccountSet (AccSetID, DBName, SeleStore, IsPos) values
    (2, 'acc_wholesale', 0, 0),
    (1, :'accountset',   0, 1)
on conflict (AccSetID) do update
    set DBName = excluded.DBName, SeleStore = excluded.SeleStore, IsPos = excluded.IsPos;
