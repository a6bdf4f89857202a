-- Banks refuse a cheque whose date is not in Chinese capitals, so the
-- delivered cheque templates start with the date in capitals
-- (cfgDateChinese, "大写正联日期"; the stub keeps digits). A database made
-- before they did gets the option where the template has no choice stored
-- yet; a choice the user remembered stays. The template's layout cache is
-- rebuilt on next use so the window sees the option.
-- skipped by the data upgrade: templates 1 and 2 of an earlier version are
-- the user's own and keep printing the date the way they were set up.
UPDATE CKTypeTable SET IniFile = ''
 WHERE CheckTypeID IN (1, 2) AND TypeFirstName = '支票'
   AND NOT EXISTS (SELECT 1 FROM DMTable d
                    WHERE d.CheckTypeId = CKTypeTable.CheckTypeID AND upper(d.DMName) = 'CFGDATECHINESE');
INSERT INTO DMTable (CheckTypeId, DMName, DMValue)
SELECT CheckTypeID, 'cfgDateChinese', '1' FROM CKTypeTable
 WHERE CheckTypeID IN (1, 2) AND TypeFirstName = '支票'
   AND NOT EXISTS (SELECT 1 FROM DMTable d
                    WHERE d.CheckTypeId = CKTypeTable.CheckTypeID AND upper(d.DMName) = 'CFGDATECHINESE');
