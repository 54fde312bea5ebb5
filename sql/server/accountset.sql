-- Tables, view and procedures of one account-set database (PostgreSQL 15).
--
-- Conventions the terminal depends on:
--   * names are unquoted, so they fold to lower case; the terminal matches
--     column names without regard to case;
--   * flags are integers 0/1, never boolean: the terminal writes
--     IsRegister=0 and tests flags with =1;
--   * amounts, prices, quantities and percents are numeric(19,4), so any
--     rounding to 0..4 decimals done by the terminal is stored unchanged;
--   * date-times are timestamp(0) in the shop's local time;
--   * columns the terminal copies row by row (bills, master data) stay
--     nullable: the row copy passes a null on as a null.
-- The script can be run again on the same database.

-- Account-set parameters -------------------------------------------------

create table if not exists S_AccountInfo (
    AccountId    integer primary key,          -- AccountSet.AccSetID in msdb
    AccountName  varchar(60),
    SeleStore    integer not null default 0     -- 1: the cashier may choose the selling store
);

-- Receipt and point options pushed to every terminal at start-up.
create table if not exists PosOptions (
    OptionName   varchar(40) primary key,
    OptionValue  varchar(255)
);

-- Goods ------------------------------------------------------------------

create table if not exists B_Goods (
    GoodsId       integer primary key,
    Code          varchar(30),
    BarCode       varchar(30),
    PKBarCode     varchar(30),                  -- bar code of a multipack
    UnitRate      numeric(19,4) default 1,      -- units per multipack
    PKPrice       numeric(19,4) default 0,      -- price of one multipack
    FindCode      varchar(30),                  -- short search code (pinyin initials)
    Name          varchar(80),
    Unit1         varchar(10),
    SPrice1       numeric(19,4) default 0,      -- regular retail price
    SPrice2       numeric(19,4) default 0,      -- member price levels 2..4
    SPrice3       numeric(19,4) default 0,
    SPrice4       numeric(19,4) default 0,
    InsiderPrice  numeric(19,4) default 0,      -- member price for any other level
    LowPrice      numeric(19,4) default 0,      -- special price
    IsLowPrice    integer       default 0,
    SPPrice       numeric(19,4) default 0,      -- promotion price
    SPBeginDate   timestamp(0),                 -- both null: promotion limited by quantity only
    SPEndDate     timestamp(0),
    SPQuantity    numeric(19,4) default 0,      -- promotional quantity in all (0: none / unlimited)
    SPMakeQty     numeric(19,4) default 0,      -- quantity already sold at SPPrice
    SPBillQty     numeric(19,4) default 0       -- per-bill promotional limit (0: none)
);

-- Exact-match lookups of the goods input; they must stay index lookups
-- with a million goods.
create index if not exists ix_b_goods_barcode   on B_Goods (BarCode);
create index if not exists ix_b_goods_code      on B_Goods (Code);
create index if not exists ix_b_goods_pkbarcode on B_Goods (PKBarCode);
-- Search codes are pinyin initials, typed in either case.
create index if not exists ix_b_goods_findcode_upper on B_Goods (upper(FindCode));

-- Additional bar codes of goods.
create table if not exists B_BarCode (
    BarCode  varchar(30) not null,
    GoodsId  integer     not null
);
create index if not exists ix_b_barcode_barcode on B_BarCode (BarCode);
create index if not exists ix_b_barcode_goodsid on B_BarCode (GoodsId);

-- The last step of the goods input matches a substring of code, bar code,
-- search code or name ("like '%text%'"). Trigram indexes keep that from
-- scanning the whole table; without pg_trgm the search still works, only
-- slower, so a missing extension must not stop the script.
do $$
begin
    create extension if not exists pg_trgm;
    create index if not exists ix_b_goods_code_trgm     on B_Goods using gin (Code gin_trgm_ops);
    create index if not exists ix_b_goods_barcode_trgm  on B_Goods using gin (BarCode gin_trgm_ops);
    create index if not exists ix_b_goods_findcode_trgm on B_Goods using gin (FindCode gin_trgm_ops);
    create index if not exists ix_b_goods_name_trgm     on B_Goods using gin (Name gin_trgm_ops);
exception when others then
    raise notice 'pg_trgm unavailable (%): substring goods search will scan B_Goods', sqlerrm;
end
$$;

-- Stores, people, shifts, terminals ---------------------------------------

create table if not exists B_Store (
    StoreId  integer primary key,
    Code     varchar(20),
    Name     varchar(60),
    IsPos    integer default 0                  -- 1: the store terminals sell from
);
create index if not exists ix_b_store_code on B_Store (Code);

create table if not exists B_Employ (
    EmployId  integer primary key,
    Code      varchar(20),
    Name      varchar(40),
    IsExeMan  integer default 0                 -- 1: salesperson
);
create index if not exists ix_b_employ_code on B_Employ (Code);

create table if not exists PosOperator (
    OperatorId  integer primary key,
    Code        varchar(20) not null unique,
    Name        varchar(40),
    Password    varchar(30),                    -- plain text, compared by the terminal
    SysManager  integer default 0               -- 1: supervisor
);

create table if not exists PosOperatorRight (
    OperatorId  integer not null,
    RightId     integer not null,
    primary key (OperatorId, RightId)
);

create table if not exists PosClassNo (
    ClassId    integer primary key,
    ClassCode  varchar(20),
    ClassName  varchar(40)
);

create table if not exists PosMachine (
    MachineId    integer primary key,
    MachineCode  varchar(20),                   -- prefix of every bill number of the terminal
    MachineName  varchar(60),
    IsRegister   integer default 0              -- 1 once a terminal has enrolled with the row
);
create index if not exists ix_posmachine_machinecode on PosMachine (MachineCode);

-- Members, discount bands, coupons --------------------------------------

create table if not exists B_VIPCards (
    CardNo        varchar(30) primary key,
    Password      varchar(30),
    HolderName    varchar(40),
    CardType      varchar(20),                  -- '储值卡': stored-value card
    DiscountType  varchar(20),                  -- '会员价消费', '累计消费折扣' or a fixed discount
    Discount      numeric(19,4) default 100,
    PriceLevel    integer       default 0,      -- 1..4: SPrice1..4, other: InsiderPrice
    HandOutDate   timestamp(0),
    ValidDate     timestamp(0),
    Amount        numeric(19,4) default 0,      -- stored-value balance
    TotalAmount   numeric(19,4) default 0,      -- cumulative purchases
    UsedCount     numeric(19,4) default 0,      -- points
    CardState     varchar(10)   default '正常'  -- '无效' blocks the card
);

-- Discount bands by cumulative purchases: DownAmount <= total < UpAmount.
create table if not exists B_AutoDiscount (
    DownAmount  integer,
    UpAmount    integer,
    Discount    numeric(19,4) default 100
);

create table if not exists B_GoodsTicket (
    TicketNo  varchar(30) primary key,
    Amount    numeric(19,4) default 0,
    IsEnd     integer       default 0           -- 1: used
);

-- Bills ------------------------------------------------------------------

create table if not exists PosBill (
    BillNo        varchar(30) primary key,      -- terminal code, YYYYMMDD, sequence
    BillDate      timestamp(0),
    StoreId       integer,
    OperatorId    integer,
    ExeManId      integer,                      -- salesperson, null when none
    ClassId       integer,
    MachineId     integer,
    InsiderCode   varchar(30),                  -- member card number
    Discount      numeric(19,4) default 100,
    Amount        numeric(19,4) default 0,
    RealAmount    numeric(19,4) default 0,
    CashAmount    numeric(19,4) default 0,
    CardAmount1   numeric(19,4) default 0,      -- bank card
    CardAmount2   numeric(19,4) default 0,      -- coupons
    CardAmount3   numeric(19,4) default 0,      -- stored-value member card
    ChangeAmount  numeric(19,4) default 0,
    CardNo        text,                         -- coupon numbers, comma separated
    IsCloseOff    integer default 0,
    Memo          varchar(60)
);
-- Takings and the bill browser select by operator and time window.
create index if not exists ix_posbill_billdate on PosBill (BillDate);
create index if not exists ix_posbill_operator_billdate on PosBill (OperatorId, BillDate);

create table if not exists PosDetail (
    BillNo    varchar(30) not null,
    OrderId   integer     not null,
    GoodsId   integer,
    Quantity  numeric(19,4) default 0,
    Price     numeric(19,4) default 0,
    Discount  numeric(19,4) default 100,
    Amount    numeric(19,4) default 0,
    SPrice1   numeric(19,4) default 0,
    Memo      varchar(20),                      -- '促销', '特价', '会员价', '赠送'
    primary key (BillNo, OrderId)
);

-- Stock per store and goods; changed by the terminal through UpdateStock
-- only. No foreign keys: stock of goods or stores removed later is kept.
create table if not exists D_Stock (
    StoreId   integer not null,
    GoodsId   integer not null,
    Quantity  numeric(19,4) default 0,
    primary key (StoreId, GoodsId)
);
create index if not exists ix_d_stock_goodsid on D_Stock (GoodsId);

-- Bills as the back office sees them, with the names behind the ids.
create or replace view vPosBillMaster as
select a.*,
       o.Code        as OperatorCode,
       o.Name        as OperatorName,
       s.Code        as StoreCode,
       s.Name        as StoreName,
       m.MachineCode as MachineCode,
       m.MachineName as MachineName,
       c.ClassName   as ClassName,
       e.Code        as ExeManCode,
       e.Name        as ExeManName
from PosBill a
left join PosOperator o on o.OperatorId = a.OperatorId
left join B_Store     s on s.StoreId    = a.StoreId
left join PosMachine  m on m.MachineId  = a.MachineId
left join PosClassNo  c on c.ClassId    = a.ClassId
left join B_Employ    e on e.EmployId   = a.ExeManId;

-- Procedures -------------------------------------------------------------
-- The terminal calls them with untyped parameters ("select * from
-- SelectGoodsA($1)", "select UpdateStock($1, $2, $3)"), so each name must
-- have exactly one signature for the call to resolve. Arguments carry a
-- p_ prefix: a bare name such as goodsid would clash with the result
-- column of that name and, inside the body, be read as the table column.

-- Goods rows for a store's terminals. Prices are kept per account set, not
-- per store, so every store gets all goods.
create or replace function PosGoods(p_storeid integer)
returns setof B_Goods
language sql stable as $$
    select * from B_Goods order by GoodsId
$$;

-- Goods by main bar code.
create or replace function SelectGoodsA(p_barcode text)
returns table (GoodsId integer, Code varchar, BarCode varchar,
               Name varchar, Unit1 varchar, SPrice1 numeric)
language sql stable as $$
    select g.GoodsId, g.Code, g.BarCode, g.Name, g.Unit1, g.SPrice1
    from B_Goods g where g.BarCode = p_barcode
    order by g.GoodsId
$$;

-- Goods by goods code.
create or replace function SelectGoodsB(p_code text)
returns table (GoodsId integer, Code varchar, BarCode varchar,
               Name varchar, Unit1 varchar, SPrice1 numeric)
language sql stable as $$
    select g.GoodsId, g.Code, g.BarCode, g.Name, g.Unit1, g.SPrice1
    from B_Goods g where g.Code = p_code
    order by g.GoodsId
$$;

-- Additional bar code rows.
create or replace function SelectBarCode(p_barcode text)
returns setof B_BarCode
language sql stable as $$
    select * from B_BarCode b where b.BarCode = p_barcode
$$;

-- Goods by id.
create or replace function SelectGoodsD(p_goodsid integer)
returns table (GoodsId integer, Code varchar, BarCode varchar,
               Name varchar, Unit1 varchar, SPrice1 numeric)
language sql stable as $$
    select g.GoodsId, g.Code, g.BarCode, g.Name, g.Unit1, g.SPrice1
    from B_Goods g where g.GoodsId = p_goodsid
$$;

-- Pricing row of a goods as it applies in a store (the same in every store).
create or replace function SelectGoodsC(p_storeid integer, p_goodsid integer)
returns table (GoodsId integer, SPrice1 numeric, SPrice2 numeric,
               SPrice3 numeric, SPrice4 numeric,
               SPBeginDate timestamp(0), SPEndDate timestamp(0),
               SPQuantity numeric, SPMakeQty numeric, SPPrice numeric,
               SPBillQty numeric, InSiderPrice numeric, LowPrice numeric,
               IsLowPrice integer)
language sql stable as $$
    select g.GoodsId, g.SPrice1, g.SPrice2, g.SPrice3, g.SPrice4,
           g.SPBeginDate, g.SPEndDate, g.SPQuantity, g.SPMakeQty, g.SPPrice,
           g.SPBillQty, g.InsiderPrice, g.LowPrice, g.IsLowPrice
    from B_Goods g where g.GoodsId = p_goodsid
$$;

-- Adds qty (negative for a sale) to the stock of a goods in a store,
-- creating the stock row on the first movement. One statement, so
-- terminals booking the same goods at once do not lose updates.
create or replace function UpdateStock(p_goodsid integer, p_storeid integer, p_qty numeric)
returns void
language sql volatile as $$
    insert into D_Stock as s (StoreId, GoodsId, Quantity)
    values (p_storeid, p_goodsid, p_qty)
    on conflict (StoreId, GoodsId)
    do update set Quantity = coalesce(s.Quantity, 0) + excluded.Quantity
$$;
