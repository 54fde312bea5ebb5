-- Demo master data of a small supermarket, loaded into an account-set
-- database after accountset.sql:
--   psql -d posdemo -v ON_ERROR_STOP=1 -f accountset_data.sql
-- Running it again replaces the demo master data; bills are left alone.
-- Promotion windows are set relative to the day of loading.

begin;

truncate S_AccountInfo, PosOptions, B_Goods, B_BarCode, B_Store, B_Employ,
         PosOperator, PosOperatorRight, PosClassNo, PosMachine, B_VIPCards,
         B_AutoDiscount, B_GoodsTicket, D_Stock;

-- Appends the EAN/GTIN check digit to a string of digits.
create function pg_temp.with_check_digit(payload text) returns text
language sql immutable as $$
    select payload || ((10 - sum(substr(payload, length(payload) - i + 1, 1)::int
                                 * case when i % 2 = 1 then 3 else 1 end) % 10) % 10)::text
    from generate_series(1, length(payload)) as i
$$;

-- Account set and options ------------------------------------------------

-- SeleStore 0: terminals sell from the store marked IsPos.
insert into S_AccountInfo (AccountId, AccountName, SeleStore) values
    (1, '惠民生活超市', 0);

insert into PosOptions (OptionName, OptionValue) values
    ('Header1',     '欢迎光临'),
    ('Header2',     '@惠民生活超市'),
    ('Footer1',     '谢谢惠顾，欢迎再来'),
    ('FooterNum',   '4'),
    ('Digit',       '2'),
    ('PointRate',   '1'),
    ('PrintBillNo', '是');

-- Stores, staff, shifts, terminals ---------------------------------------

insert into B_Store (StoreId, Code, Name, IsPos) values
    (1, '01', '惠民超市卖场', 1),
    (2, '02', '惠民超市仓库', 0);

insert into B_Employ (EmployId, Code, Name, IsExeMan) values
    (1, '01', '刘洋', 1),
    (2, '02', '陈静', 1),
    (3, '03', '赵磊', 1),
    (4, '08', '孙伟', 0);

insert into PosOperator (OperatorId, Code, Name, Password, SysManager) values
    (1, '1001', '张丽', '1001', 0),
    (2, '1002', '李娜', '1002', 0),
    (3, '9999', '王强', '9999', 1);

insert into PosOperatorRight (OperatorId, RightId)
select 3, r from generate_series(1, 16) as r
union all
select 2, r from unnest(array[3, 4]) as r;

insert into PosClassNo (ClassId, ClassCode, ClassName) values
    (1, '01', '早班'),
    (2, '02', '中班'),
    (3, '03', '晚班');

insert into PosMachine (MachineId, MachineCode, MachineName, IsRegister) values
    (1, '01', '一号收银机', 0),
    (2, '02', '二号收银机', 0),
    (3, '03', '三号收银机', 1);

-- Goods ------------------------------------------------------------------
-- 52 products in 6 variants. Product p of variant v gets GoodsId
-- (v-1)*52 + p, code 100000 + GoodsId and bar code 6923450 + GoodsId with
-- its check digit; the search code is the pinyin initials of the name.

insert into B_Goods (GoodsId, Code, BarCode, FindCode, Name, Unit1, SPrice1,
                     PKBarCode, UnitRate, PKPrice)
select g.id,
       (100000 + g.id)::text,
       g.barcode,
       v.fc || p.fc,
       v.vname || p.name,
       p.unit,
       g.price,
       case when g.pack then pg_temp.with_check_digit('1' || left(g.barcode, 12)) end,
       case when g.pack then p.pkrate else 1 end,
       case when g.pack then round(g.price * p.pkrate * 0.95, 1) else 0 end
from unnest(
        array['东北大米5kg', '长粒香米10kg', '糯米1kg', '小米500g', '高筋面粉2.5kg', '挂面1kg',
              '花生油5L', '大豆油5L', '菜籽油5L', '芝麻香油400ml', '生抽酱油500ml', '老陈醋500ml',
              '精制食盐400g', '白砂糖500g', '鸡精200g',
              '纯净水550ml', '矿泉水1.5L', '可乐330ml', '柠檬汽水330ml', '橙汁1L', '绿茶500ml',
              '冰红茶500ml', '纯牛奶250ml', '酸奶200g', '豆奶250ml', '啤酒500ml', '功能饮料250ml',
              '速溶咖啡15条',
              '原味薯片70g', '苏打饼干400g', '夹心饼干200g', '巧克力80g', '牛肉干100g', '瓜子200g',
              '花生米250g', '方便面五连包', '火腿肠10支装', '果冻500g', '口香糖40粒', '蛋黄派12枚',
              '抽纸3层100抽', '卷纸10卷', '洗衣粉1.5kg', '洗衣液2kg', '洗洁精1.1kg', '洗发水400ml',
              '沐浴露750ml', '牙膏120g', '牙刷', '香皂125g', '毛巾', '垃圾袋'],
        array['DBDM', 'CLXM', 'NM', 'XM', 'GJMF', 'GM',
              'HSY', 'DDY', 'CZY', 'ZMXY', 'SCJY', 'LCC',
              'JZSY', 'BST', 'JJ',
              'CJS', 'KQS', 'KL', 'NMQS', 'CZ', 'LC',
              'BHC', 'CNN', 'SN', 'DN', 'PJ', 'GNYL',
              'SRKF',
              'YWSP', 'SDBG', 'JXBG', 'QKL', 'NRG', 'GZ',
              'HSM', 'FBM', 'HTC', 'GD', 'KXT', 'DHP',
              'CZ', 'JZ', 'XYF', 'XYY', 'XJJ', 'XFS',
              'MYL', 'YG', 'YS', 'XZ', 'MJ', 'LJD'],
        array['袋', '袋', '袋', '袋', '袋', '包',
              '桶', '桶', '桶', '瓶', '瓶', '瓶',
              '袋', '袋', '袋',
              '瓶', '瓶', '罐', '罐', '盒', '瓶',
              '瓶', '盒', '杯', '盒', '听', '罐',
              '盒',
              '袋', '袋', '包', '块', '袋', '袋',
              '袋', '包', '包', '袋', '瓶', '盒',
              '提', '提', '袋', '瓶', '瓶', '瓶',
              '瓶', '支', '支', '块', '条', '卷'],
        array[39.90, 69.90, 8.50, 6.80, 16.90, 7.50,
              109.00, 59.90, 79.90, 19.80, 9.90, 7.80,
              2.50, 5.90, 8.90,
              1.50, 3.00, 2.50, 2.50, 9.90, 3.00,
              3.00, 3.50, 4.50, 2.80, 4.50, 6.00,
              25.90,
              6.50, 9.80, 5.50, 12.90, 22.80, 7.90,
              8.50, 12.50, 11.90, 9.90, 10.50, 13.80,
              15.90, 25.90, 19.90, 32.90, 11.90, 36.90,
              39.90, 12.80, 6.90, 4.50, 15.00, 5.90],
        -- units per multipack; 0: sold singly only
        array[0, 0, 0, 0, 0, 0,
              0, 0, 0, 0, 0, 0,
              0, 0, 0,
              24, 12, 24, 24, 6, 12,
              12, 24, 0, 24, 12, 24,
              0,
              0, 0, 0, 0, 0, 0,
              0, 6, 0, 0, 0, 0,
              0, 0, 0, 0, 0, 0,
              0, 0, 0, 0, 0, 0]
     ) with ordinality as p(name, fc, unit, price, pkrate, p)
cross join unnest(
        array['', '优选', '精品', '实惠装', '家庭装', '特惠'],
        array['', 'YX', 'JP', 'SHZ', 'JTZ', 'TH'],
        array[1.00, 1.15, 1.30, 0.90, 1.80, 0.85]
     ) with ordinality as v(vname, fc, mult, v)
cross join lateral (
    select (v.v - 1) * 52 + p.p as id,
           pg_temp.with_check_digit('6923450' || lpad(((v.v - 1) * 52 + p.p)::text, 5, '0')) as barcode,
           case when v.v = 1 then p.price
                when p.price * v.mult >= 10 then ceil(p.price * v.mult) - 0.10
                else round(p.price * v.mult, 1) end as price,
           p.pkrate > 0 and v.v <= 2 as pack
) as g;

-- Weighed goods sold by price-embedded labels: "24", the 5-digit goods
-- code, the amount as 3 + 2 digits, a check digit. No bar code of their own.
insert into B_Goods (GoodsId, Code, BarCode, FindCode, Name, Unit1, SPrice1) values
    (901, '10001', null, 'SZJD', '散装鸡蛋', '公斤', 12.80),
    (902, '10002', null, 'ZWHR', '猪五花肉', '公斤', 28.60);

-- Member price levels on all goods.
update B_Goods set
    SPrice2      = round(SPrice1 * 0.98, 2),
    SPrice3      = round(SPrice1 * 0.95, 2),
    SPrice4      = round(SPrice1 * 0.92, 2),
    InsiderPrice = round(SPrice1 * 0.90, 2);

-- Special prices.
update B_Goods set IsLowPrice = 1, LowPrice = round(SPrice1 * 0.88, 1)
where GoodsId % 20 = 11;

-- Promotions running from a week ago to the end of the day 30 days ahead.
update B_Goods set
    SPPrice     = round(SPrice1 * 0.85, 1),
    SPBeginDate = current_date - 7,
    SPEndDate   = current_date + 30 + time '23:59:59'
where GoodsId % 15 = 4;

-- Promotions worth trying at the counter.
-- 可乐330ml: at most 3 per bill at the promotion price.
update B_Goods set SPPrice = 1.90, SPBillQty = 3,
       SPBeginDate = current_date - 7, SPEndDate = current_date + 30 + time '23:59:59'
where GoodsId = 18;
-- 花生油5L: 50 bottles on promotion, 47 already sold.
update B_Goods set SPPrice = 89.90, SPQuantity = 50, SPMakeQty = 47,
       SPBeginDate = current_date - 3, SPEndDate = current_date + 14 + time '23:59:59'
where GoodsId = 7;
-- 东北大米5kg: no dates, the first 20 bags only.
update B_Goods set SPPrice = 35.90, SPQuantity = 20, SPMakeQty = 0,
       SPBeginDate = null, SPEndDate = null
where GoodsId = 1;
-- 巧克力80g: promotion and special price at once; the promotion wins.
update B_Goods set SPPrice = 9.90,
       SPBeginDate = current_date - 1, SPEndDate = current_date + 10 + time '23:59:59',
       IsLowPrice = 1, LowPrice = 11.50
where GoodsId = 32;
-- 原味薯片70g: promotion ended yesterday; the special price applies.
update B_Goods set SPPrice = 4.90,
       SPBeginDate = current_date - 10, SPEndDate = current_date - 1 + time '23:59:59',
       IsLowPrice = 1, LowPrice = 5.80
where GoodsId = 29;
-- 洗发水400ml: special price only.
update B_Goods set IsLowPrice = 1, LowPrice = 29.90 where GoodsId = 46;

-- Extra bar codes (old packaging, second supplier).
insert into B_BarCode (BarCode, GoodsId)
select pg_temp.with_check_digit('6971880' || lpad(GoodsId::text, 5, '0')), GoodsId
from B_Goods where GoodsId % 10 = 3 and GoodsId < 900
union all
select pg_temp.with_check_digit('6975550' || lpad(GoodsId::text, 5, '0')), GoodsId
from B_Goods where GoodsId in (3, 18);

-- Stock: everything in the shop, every other item in the warehouse.
insert into D_Stock (StoreId, GoodsId, Quantity)
select 1, GoodsId,
       case when GoodsId > 900 then 35.5 else 20 + (GoodsId * 37) % 180 end
from B_Goods
union all
select 2, GoodsId, 100 + (GoodsId * 13) % 400
from B_Goods where GoodsId % 2 = 0 and GoodsId < 900;

-- Members ----------------------------------------------------------------

insert into B_VIPCards (CardNo, Password, HolderName, CardType, DiscountType,
                        Discount, PriceLevel, HandOutDate, ValidDate,
                        Amount, TotalAmount, UsedCount, CardState) values
    ('8800000001', '123456', '周敏', '储值卡', '固定折扣',     100, 0, '2023-05-01', '2027-12-31', 500.00, 1280.50, 1280.50, '正常'),
    ('8800000007', '888888', '吴刚', '储值卡', '会员价消费',   100, 3, '2023-08-15', '2027-12-31',  20.00,  356.00,  356.00, '正常'),
    ('8800000002', '',       '郑华', '会员卡', '会员价消费',   100, 2, '2022-11-20', '2026-11-20',   0,     860.00,  860.00, '正常'),
    ('8800000003', '',       '何芳', '员工卡', '会员价消费',   100, 9, '2021-03-01', '2030-12-31',   0,    4200.00,  300.00, '正常'),
    ('8800000004', '',       '冯军', '会员卡', '累计消费折扣', 100, 0, '2022-06-18', '2026-06-18',   0,    2500.00, 2500.00, '正常'),
    ('8800000005', '',       '陈晓', '会员卡', '固定折扣',      95, 0, '2023-01-10', '2026-01-10',   0,     630.00,  630.00, '正常'),
    ('8800000008', '',       '林涛', '会员卡', '固定折扣',       0, 0, '2020-02-02', '2024-02-02',   0,      88.00,   88.00, '正常'),
    ('8800000006', '',       '杨洁', '会员卡', '固定折扣',      95, 0, '2020-09-09', '2025-09-09',   0,    1500.00, 1500.00, '无效'),
    ('8800000009', '666666', '赵磊', '储值卡', '固定折扣',      95, 0, '2021-04-04', '2027-12-31', 300.00,  700.00,  700.00, '无效');

insert into B_AutoDiscount (DownAmount, UpAmount, Discount) values
    (0,    1000,     98),
    (1000, 5000,     95),
    (5000, 99999999, 90);

-- Coupons ----------------------------------------------------------------

insert into B_GoodsTicket (TicketNo, Amount, IsEnd) values
    ('7700001',  50, 0),
    ('7700002',  50, 0),
    ('7700003', 100, 0),
    ('7700004', 100, 0),
    ('7700005', 100, 1);

commit;
