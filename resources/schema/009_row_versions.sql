-- Rows that clerks at several desks edit carry a version: every save
-- raises it by one and writes only while the row still has the version
-- its window read. A save that finds another version asks before it
-- overwrites what another desk saved meanwhile.

ALTER TABLE ckPersonalInfoTable ADD COLUMN RowVersion INTEGER DEFAULT 0;
ALTER TABLE CKTypeTable ADD COLUMN RowVersion INTEGER DEFAULT 0;
