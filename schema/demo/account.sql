-- Demo account: a small machine-building company. Plain SQL that every
-- engine runs as it stands (identity columns are left to the database).

INSERT INTO AccInformation (cSysID, cName, cValue, cDefault) VALUES
    ('AA', 'cSysVersion', '工业', '工业'),
    ('AA', 'cAccName', '华东精工机械有限公司', NULL),
    ('AA', 'iYear', '2024', '2024'),
    ('IA', 'cValueStyle', '按仓库核算', '按仓库核算');

-- Two levels: 01 and 02 are parents (bDepEnd = 0), the rest are leaves.
INSERT INTO Department (cDepCode, cDepName, cDepPerson, bDepEnd) VALUES
    ('01', '总经理办公室', '周建国', 0),
    ('0101', '行政科', '黄敏', 1),
    ('0102', '人事科', '吴婷', 1),
    ('02', '采购部', '孙立新', 0),
    ('0201', '原料采购组', '王强', 1),
    ('0202', '设备采购组', '赵磊', 1),
    ('03', '生产部', '杨帆', 1),
    ('04', '销售部', '陈静', 1);

-- 10 has no position flag at all; 06 has no department; 11 keeps the code of a
-- department that no longer exists.
INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, cWhAddress, cWhPhone, cWhPerson,
                       cWhValueStyle, bWhPos, iWhFundQuota, cWhMemo) VALUES
    ('01', '原材料库', '0201', '苏州市工业园区星湖街88号', '0512-62581001', '王强',
     '全月平均法', 1, 50000, '钢材及化工原料'),
    ('02', '成品库', '03', '苏州市工业园区星湖街88号', '0512-62581002', '杨帆',
     '先进先出法', 1, 12, NULL),
    ('03', '半成品库', '03', '苏州市工业园区星湖街90号', '0512-62581003', '刘洋',
     '移动平均法', 0, 3.14159, '车间在制品'),
    ('04', '辅料库', '0201', '苏州市工业园区星湖街90号', '0512-62581004', '王强',
     '全月平均法', 0, 0, NULL),
    ('05', '备品备件库', '0202', '苏州市吴中区东吴南路12号', '0512-65102205', '赵磊',
     '个别计价法', 0, 20000.5, '设备维修备件'),
    ('06', '包装物库', NULL, '苏州市吴中区东吴南路12号', '0512-65102206', '李娜',
     '移动平均法', 0, 8000, NULL),
    ('07', '五金库', '0101', '苏州市姑苏区人民路356号', '0512-65203307', '黄敏',
     '全月平均法', 0, 1500.25, '办公五金'),
    ('08', '劳保用品库', '0102', '苏州市姑苏区人民路356号', '0512-65203308', '吴婷',
     '先进先出法', 0, 3000, NULL),
    ('09', '销售门市库', '04', '上海市闵行区七莘路1888号', '021-64301009', '陈静',
     '计划价法', 0, 100000, '华东门市'),
    ('10', '退货库', '04', '上海市闵行区七莘路1888号', '021-64301010', '陈静',
     '移动平均法', NULL, 0, '客户退回'),
    ('11', '不合格品库', '99', '苏州市工业园区星湖街90号', NULL, '杨帆',
     '全月平均法', 0, NULL, '待处理'),
    ('12', '外租仓库', '0201', NULL, NULL, NULL,
     '全月平均法', 0, 0, NULL);

INSERT INTO Position (cPosCode, cPosName, cWhCode) VALUES
    ('A0101', '原料区A排1号货架', '01'),
    ('A0102', '原料区A排2号货架', '01'),
    ('A0201', '原料区B排1号货架', '01'),
    ('B0101', '成品区1号货位', '02'),
    ('B0102', '成品区2号货位', '02');

-- Three levels under 01: 01 原材料, 0101 钢材, 010101 板材.
INSERT INTO InventoryClass (cInvCCode, cInvCName, iInvCGrade, bInvCEnd) VALUES
    ('01', '原材料', 1, 0),
    ('0101', '钢材', 2, 0),
    ('010101', '板材', 3, 1),
    ('010102', '棒材', 3, 1),
    ('0102', '化工原料', 2, 1),
    ('02', '产成品', 1, 0),
    ('0201', '机床', 2, 1),
    ('03', '劳务', 1, 1);

INSERT INTO Inventory (cInvCode, cInvName, cInvStd, cInvCCode, bService) VALUES
    ('010101', '热轧钢板', 'Q235 8mm', '0101', 0),
    ('010102', '冷轧钢卷', 'SPCC 1.0mm', '0101', 0),
    ('010103', '圆钢', '45# Φ50', '0101', 0),
    ('010201', '环氧树脂', 'E-44', '0102', 0),
    ('010202', '丙酮', '工业级 25kg/桶', '0102', 0),
    ('020101', '数控车床', 'CK6140', '0201', 0),
    ('020102', '立式加工中心', 'VMC850', '0201', 0),
    ('01010101', '镀锌钢板', 'DX51D 1.5mm', '010101', 0),
    ('01010201', '不锈钢棒', '304 Φ20', '010102', 0),
    ('0301', '安装调试费', NULL, '03', 1),
    ('0302', '运输费', NULL, '03', 1);

-- Only 03 is kept in use by stock records (it has no positions).
INSERT INTO StockMove (cWhCode, cInvCode, dDate, iQuantity, cMemo) VALUES
    ('03', '020101', '2024-03-05', 4, '车间领用'),
    ('03', '020102', '2024-03-18', 2, '完工入库');

-- 004 is inactive and admin an administrator: their rights are not listed.
-- Operator 07 shares its code with warehouse 07 and has a ")" in its name.
-- Rights cover whole warehouses, classes of every level and single items,
-- with money shown (1) and not (0).
INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney, cInvCCode, cInvCode) VALUES
    ('001', '张伟', '01', 1, NULL, NULL),
    ('001', '张伟', '02', 0, '0201', NULL),
    ('002', '李娜', '01', 1, '0101', NULL),
    ('002', '李娜', '03', 0, NULL, '010201'),
    ('003', '王强', '04', 1, NULL, NULL),
    ('004', '刘洋', '01', 1, NULL, NULL),
    ('admin', '系统管理员', '02', 1, NULL, NULL),
    ('003', '王强', '02', 1, NULL, '020101'),
    ('005', '陈静', '05', 0, '010101', NULL),
    ('005', '陈静', '07', 1, NULL, '01010201'),
    ('07', '周(小)明', '07', 1, NULL, NULL),
    ('07', '周(小)明', '01', 0, '02', NULL);
