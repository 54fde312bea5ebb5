-- Tables of the terminal's local file POS.mdb (SQLite / SQLCipher).
--
-- Column names are those of the server tables, so the row copy between the
-- two sides matches them by name. Integers are INTEGER; amounts,
-- quantities and percents REAL; date-times TEXT 'YYYY-MM-DD HH:MM:SS',
-- which sorts and compares as time does. Every statement is idempotent:
-- the terminal applies this file to a new or an existing file alike.
-- Master-data tables are emptied and refilled by the download, so they
-- carry no constraints beyond those the server guarantees as well.

-- Master data (copy of the server) ---------------------------------------

create table if not exists B_Goods (
    GoodsId       INTEGER PRIMARY KEY,
    Code          TEXT,
    BarCode       TEXT,
    PKBarCode     TEXT,
    UnitRate      REAL DEFAULT 1,
    PKPrice       REAL DEFAULT 0,
    FindCode      TEXT,
    Name          TEXT,
    Unit1         TEXT,
    SPrice1       REAL DEFAULT 0,
    SPrice2       REAL DEFAULT 0,
    SPrice3       REAL DEFAULT 0,
    SPrice4       REAL DEFAULT 0,
    InsiderPrice  REAL DEFAULT 0,
    LowPrice      REAL DEFAULT 0,
    IsLowPrice    INTEGER DEFAULT 0,
    SPPrice       REAL DEFAULT 0,
    SPBeginDate   TEXT,
    SPEndDate     TEXT,
    SPQuantity    REAL DEFAULT 0,
    SPMakeQty     REAL DEFAULT 0,               -- raised locally by offline promotional sales
    SPBillQty     REAL DEFAULT 0
);
create index if not exists ix_b_goods_barcode   on B_Goods (BarCode);
create index if not exists ix_b_goods_code      on B_Goods (Code);
create index if not exists ix_b_goods_pkbarcode on B_Goods (PKBarCode);
-- Search codes are pinyin initials, typed in either case.
create index if not exists ix_b_goods_findcode_upper on B_Goods (upper(FindCode));

create table if not exists B_BarCode (
    BarCode  TEXT,
    GoodsId  INTEGER
);
create index if not exists ix_b_barcode_barcode on B_BarCode (BarCode);

create table if not exists B_Store (
    StoreId  INTEGER PRIMARY KEY,
    Code     TEXT,
    Name     TEXT,
    IsPos    INTEGER DEFAULT 0
);
create index if not exists ix_b_store_code on B_Store (Code);

-- Salespeople only (IsExeMan = 1).
create table if not exists B_Employ (
    EmployId  INTEGER PRIMARY KEY,
    Code      TEXT,
    Name      TEXT,
    IsExeMan  INTEGER DEFAULT 0
);
create index if not exists ix_b_employ_code on B_Employ (Code);

create table if not exists PosOperator (
    OperatorId  INTEGER PRIMARY KEY,
    Code        TEXT,
    Name        TEXT,
    Password    TEXT,                           -- changed locally by the password command
    SysManager  INTEGER DEFAULT 0
);
create unique index if not exists ux_posoperator_code on PosOperator (Code);

create table if not exists PosOperatorRight (
    OperatorId  INTEGER,
    RightId     INTEGER
);
create index if not exists ix_posoperatorright_operator on PosOperatorRight (OperatorId, RightId);

create table if not exists PosClassNo (
    ClassId    INTEGER PRIMARY KEY,
    ClassCode  TEXT,
    ClassName  TEXT
);

create table if not exists PosMachine (
    MachineId    INTEGER PRIMARY KEY,
    MachineCode  TEXT,
    MachineName  TEXT,
    IsRegister   INTEGER DEFAULT 0
);
create index if not exists ix_posmachine_machinecode on PosMachine (MachineCode);

create table if not exists B_VIPCards (
    CardNo        TEXT PRIMARY KEY,
    Password      TEXT,
    HolderName    TEXT,
    CardType      TEXT,
    DiscountType  TEXT,
    Discount      REAL DEFAULT 100,
    PriceLevel    INTEGER DEFAULT 0,
    HandOutDate   TEXT,
    ValidDate     TEXT,
    Amount        REAL DEFAULT 0,
    TotalAmount   REAL DEFAULT 0,
    UsedCount     REAL DEFAULT 0,
    CardState     TEXT DEFAULT '正常'
);

create table if not exists B_AutoDiscount (
    DownAmount  INTEGER,
    UpAmount    INTEGER,
    Discount    REAL DEFAULT 100
);

create table if not exists B_GoodsTicket (
    TicketNo  TEXT PRIMARY KEY,
    Amount    REAL DEFAULT 0,
    IsEnd     INTEGER DEFAULT 0
);

-- Bills written offline, waiting for upload -------------------------------
-- PosBill also shapes the bill record in memory: its columns are exactly
-- what a save can write to the server.

create table if not exists PosBill (
    BillNo        TEXT PRIMARY KEY,
    BillDate      TEXT,
    StoreId       INTEGER,
    OperatorId    INTEGER,
    ExeManId      INTEGER,
    ClassId       INTEGER,
    MachineId     INTEGER,
    InsiderCode   TEXT,
    Discount      REAL DEFAULT 100,
    Amount        REAL DEFAULT 0,
    RealAmount    REAL DEFAULT 0,
    CashAmount    REAL DEFAULT 0,
    CardAmount1   REAL DEFAULT 0,
    CardAmount2   REAL DEFAULT 0,
    CardAmount3   REAL DEFAULT 0,
    ChangeAmount  REAL DEFAULT 0,
    CardNo        TEXT,
    IsCloseOff    INTEGER DEFAULT 0,
    Memo          TEXT
);
create index if not exists ix_posbill_operator_billdate on PosBill (OperatorId, BillDate);

-- No goods display columns: the line record adds them from B_Goods.
create table if not exists PosDetail (
    BillNo    TEXT NOT NULL,
    OrderId   INTEGER NOT NULL,
    GoodsId   INTEGER,
    Quantity  REAL DEFAULT 0,
    Price     REAL DEFAULT 0,
    Discount  REAL DEFAULT 100,
    Amount    REAL DEFAULT 0,
    SPrice1   REAL DEFAULT 0,
    Memo      TEXT,
    PRIMARY KEY (BillNo, OrderId)
);

-- Held bills; BillNo holds the hold number ('0001', ...) ------------------

create table if not exists hPosBill (
    BillNo        TEXT PRIMARY KEY,
    BillDate      TEXT,
    StoreId       INTEGER,
    OperatorId    INTEGER,
    ExeManId      INTEGER,
    ClassId       INTEGER,
    MachineId     INTEGER,
    InsiderCode   TEXT,
    Discount      REAL DEFAULT 100,
    Amount        REAL DEFAULT 0,
    RealAmount    REAL DEFAULT 0,
    CashAmount    REAL DEFAULT 0,
    CardAmount1   REAL DEFAULT 0,
    CardAmount2   REAL DEFAULT 0,
    CardAmount3   REAL DEFAULT 0,
    ChangeAmount  REAL DEFAULT 0,
    CardNo        TEXT,
    IsCloseOff    INTEGER DEFAULT 0,
    Memo          TEXT
);

-- Keeps the goods display columns, including the "[促销]"/"[赠送]" tags on
-- Name, so a recalled bill shows its lines as they were held.
create table if not exists hPosDetail (
    BillNo    TEXT NOT NULL,
    OrderId   INTEGER NOT NULL,
    GoodsId   INTEGER,
    Quantity  REAL DEFAULT 0,
    Price     REAL DEFAULT 0,
    Discount  REAL DEFAULT 100,
    Amount    REAL DEFAULT 0,
    SPrice1   REAL DEFAULT 0,
    Memo      TEXT,
    Code      TEXT,
    BarCode   TEXT,
    Name      TEXT,
    Unit1     TEXT,
    PRIMARY KEY (BillNo, OrderId)
);

-- Bill counter: a single row, created on first use -------------------------

create table if not exists MaxBillNo (
    BillDate  TEXT,
    MaxNo     INTEGER DEFAULT 1
);

-- Key mapping: one row per command code and line-editing key --------------

create table if not exists PosHelp (
    Function      TEXT,
    SysKey        TEXT,
    FirClientKey  TEXT,
    SecClientKey  TEXT,
    sample        TEXT,
    OrderNo       INTEGER
);
-- SysKey identifies the row when the help window writes edited keys back.
create unique index if not exists ux_poshelp_syskey on PosHelp (SysKey);
