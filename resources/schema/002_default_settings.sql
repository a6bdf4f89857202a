-- The delivered system options: the background picture is on, the other
-- options start off.
INSERT INTO configtable (cname, cvalue) VALUES ('启用系统背景', 'yes');
INSERT INTO configtable (cname, cvalue) VALUES ('进入系统需验证', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('打印前弹出打印机设置', 'no');
INSERT INTO configtable (cname, cvalue) VALUES ('启用默认出票人', 'no');
