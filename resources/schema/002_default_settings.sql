-- The delivered system options: the background picture is on, the other
-- options start off. An option already stored (the data of an earlier
-- version brought up to date) keeps its value.
WITH seed(name, value) AS (VALUES
    ('启用系统背景', 'yes'),
    ('进入系统需验证', 'no'),
    ('打印前弹出打印机设置', 'no'),
    ('启用默认出票人', 'no')
)
INSERT INTO configtable (cname, cvalue)
SELECT name, value FROM seed
WHERE NOT EXISTS (SELECT 1 FROM configtable c WHERE c.cname = seed.name COLLATE NOCASE);
