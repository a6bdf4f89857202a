-- billprint database, initial schema.
-- Table and column names keep the spelling the program uses in its statements.
-- Chinese column names are double-quoted. Names compare without regard to case.

-- System settings: one row per setting name with its text value.
CREATE TABLE IF NOT EXISTS configtable (
    cname  TEXT,
    cvalue TEXT
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_configtable_cname
    ON configtable (cname COLLATE NOCASE);

-- Bill templates: one row per template (a variant of one bill family),
-- with its picture, sizes, flags, list order and whole-print offsets.
CREATE TABLE IF NOT EXISTS CKTypeTable (
    CheckTypeID   INTEGER NOT NULL,
    TypeName      TEXT,
    TypeFirstName VARCHAR(50),
    TypeDescribe  TEXT,
    ImgFile       TEXT,
    IniFile       VARCHAR(50),
    Visiable      TEXT,
    IsDefault     TEXT,
    IsCommon      VARCHAR(10),
    ShowOrd       INTEGER,
    CheckBoxs     TEXT,
    TWidth        INTEGER,
    THeight       INTEGER,
    PWidth        INTEGER,
    PHeight       INTEGER,
    XMove         INTEGER,
    YMove         INTEGER,
    HVPrint       INTEGER,
    GroupCompany  VARCHAR(60),
    GroupTypeArea VARCHAR(60),
    IsSysCommon   INTEGER,
    PreImgURL     TEXT
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_cktypetable_id
    ON CKTypeTable (CheckTypeID);

-- Template fields: one row per template and field, with the screen box
-- (pixels), the print box (tenths of a millimetre), font and print rules.
CREATE TABLE IF NOT EXISTS CkControl (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    CheckTypeID   INTEGER,
    CtlName       TEXT,
    CtlCName      TEXT,
    CtlType       VARCHAR(30),
    CtlX          INTEGER,
    CtlY          INTEGER,
    CtlW          INTEGER,
    CtlH          INTEGER,
    CtlLH         INTEGER,
    SrcX          INTEGER,
    SrcY          INTEGER,
    SrcW          INTEGER,
    SrcH          INTEGER,
    NeedShow      INTEGER,
    NeedPrint     INTEGER,
    CtlFontName   TEXT,
    CtlFontSize   INTEGER,
    CtlFontColor  TEXT,
    Bold          INTEGER,
    Italic        INTEGER,
    UnderLine     INTEGER,
    BreakNum      TEXT,
    BreakFontSize INTEGER,
    FitParam      TEXT,
    Align         VARCHAR(24),
    InitValue     VARCHAR(80),
    ShowOrd       INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_ckcontrol_type_name
    ON CkControl (CheckTypeID, CtlName COLLATE NOCASE);

-- Field catalogue: the fields each bill family has at all, shared by
-- every template of the family (label, kind, print flag, order, group).
CREATE TABLE IF NOT EXISTS NameDict (
    Id            INTEGER PRIMARY KEY AUTOINCREMENT,
    CheckTypeName TEXT,
    CtlName       TEXT,
    CtlLabel      TEXT,
    CtlType       VARCHAR(20),
    PrintItem     INTEGER,
    ShowOrd       INTEGER,
    Groups        TEXT,
    CtlData       VARCHAR(100)
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_namedict_family_name
    ON NameDict (CheckTypeName COLLATE NOCASE, CtlName COLLATE NOCASE);

-- Dictionary entries offered by drop-down lists, per template or shared
-- (CheckTypeId 0), plus the per-template "cfg" option rows.
CREATE TABLE IF NOT EXISTS DMTable (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    CheckTypeId INTEGER,
    DMName      VARCHAR(50),
    DMValue     VARCHAR(200)
);

-- Issued cheques: one row per cheque, issued, recorded in advance or void.
CREATE TABLE IF NOT EXISTS DataZPTable (
    "流水号"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "模板种类"   TEXT,
    "其他选项"   TEXT,
    "票据编号"   TEXT,
    "票据状态"   TEXT,
    "备注"       TEXT,
    "币种"       TEXT,
    "金额"       TEXT,
    "出票日期"   DATE,
    "收款人全称" TEXT,
    "出票人全称" TEXT,
    "出票人账号" TEXT,
    "付款行名称" TEXT,
    "支付密码"   TEXT,
    "用途"       TEXT,
    "自定义1"    TEXT,
    "自定义2"    TEXT,
    "自定义3"    TEXT,
    "自定义4"    TEXT,
    "自定义5"    TEXT
);

-- Saved deposit slips: one row per slip.
CREATE TABLE IF NOT EXISTS DataJZDTable (
    "流水号"       INTEGER PRIMARY KEY AUTOINCREMENT,
    "模板种类"     TEXT,
    "其他选项"     TEXT,
    "票据编号"     TEXT,
    "票据状态"     TEXT,
    "备注"         TEXT,
    "币种"         TEXT,
    "金额"         TEXT,
    "出票日期"     DATE,
    "收款人全称"   TEXT,
    "收款人开户行" TEXT,
    "收款人账号"   TEXT,
    "出票人全称"   TEXT,
    "出票人账号"   TEXT,
    "付款行名称"   TEXT,
    "票据张数"     TEXT,
    "票据种类"     TEXT,
    "票据号码"     TEXT,
    "自定义1"      TEXT,
    "自定义2"      TEXT,
    "自定义3"      TEXT,
    "自定义4"      TEXT,
    "自定义5"      TEXT
);

-- Saved cash payment slips: one row per slip.
CREATE TABLE IF NOT EXISTS DataJKDTable (
    "流水号"       INTEGER PRIMARY KEY AUTOINCREMENT,
    "模板种类"     TEXT,
    "其他选项"     TEXT,
    "票据编号"     TEXT,
    "票据状态"     TEXT,
    "备注"         TEXT,
    "币种"         TEXT,
    "金额"         TEXT,
    "出票日期"     DATE,
    "用途"         TEXT,
    "收款人联系人" TEXT,
    "收款人全称"   TEXT,
    "收款人开户行" TEXT,
    "收款人账号"   TEXT,
    "自定义1"      TEXT,
    "自定义2"      TEXT,
    "自定义3"      TEXT,
    "自定义4"      TEXT,
    "自定义5"      TEXT
);

-- Saved express waybills: one row per waybill, sender and receiver with
-- full postal data, goods, fees and the amount in words.
CREATE TABLE IF NOT EXISTS DataKDDTable (
    "流水号"     INTEGER PRIMARY KEY AUTOINCREMENT,
    "寄件单位"   TEXT,
    "寄件地址"   TEXT,
    "寄件国家"   TEXT,
    "始发站"     TEXT,
    "寄件省"     TEXT,
    "寄件市县"   TEXT,
    "寄件镇区"   TEXT,
    "寄件联系人" TEXT,
    "寄件电话"   TEXT,
    "寄方手机"   TEXT,
    "寄方邮编"   TEXT,
    "寄件日期"   DATE,
    "寄件时间"   TEXT,
    "收件单位"   TEXT,
    "收件地址"   TEXT,
    "目的站"     TEXT,
    "收件国家"   TEXT,
    "收件省"     TEXT,
    "收件市县"   TEXT,
    "收件联系人" TEXT,
    "收件电话"   TEXT,
    "收方手机"   TEXT,
    "收方邮编"   TEXT,
    "收件镇区"   TEXT,
    "物品内容"   TEXT,
    "件数"       TEXT,
    "重量"       TEXT,
    "总费用"     TEXT,
    "模板种类"   TEXT,
    "快递帐号"   TEXT,
    "其他选项"   TEXT,
    "快递单号"   TEXT,
    "备注"       TEXT,
    "加急费"     VARCHAR(50),
    "手续费"     VARCHAR(50),
    "代收金额"   VARCHAR(30),
    "包装费"     VARCHAR(50),
    "运费"       VARCHAR(50),
    "其他费"     VARCHAR(50),
    "体积"       VARCHAR(50),
    "送货费"     VARCHAR(50),
    "保价金额"   VARCHAR(50),
    "保价费"     VARCHAR(50),
    "金额大写1"  VARCHAR(50),
    "自定义1"    VARCHAR(50),
    "自定义2"    VARCHAR(50),
    "自定义3"    VARCHAR(50),
    "自定义4"    VARCHAR(50),
    "自定义5"    VARCHAR(50)
);

-- Address book: one row per unit as used on bills (own units and
-- counterparties). A unit with several accounts or contacts has several rows.
CREATE TABLE IF NOT EXISTS ckPersonalInfoTable (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    "全称"       VARCHAR(80),
    "识别号"     VARCHAR(32),
    "助记码"     VARCHAR(24),
    "联系人"     VARCHAR(48),
    "开户银行"   VARCHAR(80),
    "开户行账号" VARCHAR(32),
    "开户行地址" VARCHAR(80),
    "开户行行号" VARCHAR(24),
    "电话"       VARCHAR(32),
    "手机"       VARCHAR(32),
    "邮编"       VARCHAR(32),
    "国家"       VARCHAR(24),
    "地址"       VARCHAR(160),
    "省"         VARCHAR(32),
    "市"         VARCHAR(32),
    "镇区"       VARCHAR(32),
    "分组"       VARCHAR(32),
    "单位类型"   TEXT,
    "扩展信息"   VARCHAR(128),
    "自定义1"    VARCHAR(64),
    "自定义2"    VARCHAR(64),
    "自定义3"    VARCHAR(64),
    "排序"       INTEGER
);

-- Address book group paths (levels joined by a backslash). Kept for
-- compatibility, the program stores no rows in it.
CREATE TABLE IF NOT EXISTS ClassPerson (
    Id           INTEGER PRIMARY KEY,
    FullPathName TEXT
);

-- Batch print list: one row per waybill receiver waiting to be printed.
CREATE TABLE IF NOT EXISTS ReceiverList (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    "全称"       TEXT,
    "联系人"     TEXT,
    "电话"       TEXT,
    "手机"       TEXT,
    "国家"       TEXT,
    "省"         TEXT,
    "市"         TEXT,
    "镇区"       TEXT,
    "地址"       TEXT,
    "邮编"       TEXT,
    "目的站"     TEXT,
    "内件说明"   TEXT,
    "件数"       TEXT,
    "重量"       TEXT,
    "费用"       TEXT,
    "备注"       TEXT,
    "体积"       VARCHAR(50),
    "代收金额"   VARCHAR(30),
    "金额大写1"  VARCHAR(50),
    "手续费"     VARCHAR(50),
    "保价金额"   VARCHAR(50),
    "保价费"     VARCHAR(50),
    "运费"       VARCHAR(50),
    "加急费"     VARCHAR(50),
    "包装费"     VARCHAR(50),
    "送货费"     VARCHAR(50),
    "其他费"     VARCHAR(50),
    "自定义3"    VARCHAR(50),
    "自定义4"    VARCHAR(50),
    "自定义5"    VARCHAR(50),
    "批打分组"   TEXT
);

-- Import column matching: for each target item of an import scenario, the
-- comma-separated source column titles that feed it.
CREATE TABLE IF NOT EXISTS MatchColumn (
    Id         INTEGER PRIMARY KEY AUTOINCREMENT,
    MatchType  VARCHAR(50),
    ItemName   VARCHAR(50),
    SourceName VARCHAR(200),
    ShowOrd    INTEGER DEFAULT 0
);

-- Currencies: name, printed code or symbol, and display order (higher first).
CREATE TABLE IF NOT EXISTS coins (
    "币种" VARCHAR(8),
    "缩写" VARCHAR(3),
    "顺序" INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_coins_name
    ON coins ("币种" COLLATE NOCASE);

-- Province and city pairs ("省市"), and text replacement pairs ("其他字符")
-- used by the address text parser.
CREATE TABLE IF NOT EXISTS DMTable2 (
    "类型"     TEXT,
    "一级代码" TEXT,
    "二级代码" TEXT
);

-- Operators: login name, password digest (empty text for no password),
-- role, last login time and remark.
CREATE TABLE IF NOT EXISTS UserTable (
    ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    UserName  TEXT,
    Passwd    VARCHAR(32) DEFAULT '',
    RoleName  TEXT,
    lastlogin DATE,
    Remark    VARCHAR(200)
);
