-- Indexes for the duplicate test of the spreadsheet import: each imported
-- row looks for a stored row with the same name, contact or telephone, and
-- an import of thousands of rows must not read the whole table each time.
-- The test compares exactly, so the indexes do too.

CREATE INDEX IF NOT EXISTS ix_person_name ON ckPersonalInfoTable ("全称");
CREATE INDEX IF NOT EXISTS ix_person_contact ON ckPersonalInfoTable ("联系人");
CREATE INDEX IF NOT EXISTS ix_person_phone ON ckPersonalInfoTable ("电话");

CREATE INDEX IF NOT EXISTS ix_receiver_name ON ReceiverList ("全称");
CREATE INDEX IF NOT EXISTS ix_receiver_contact ON ReceiverList ("联系人");
CREATE INDEX IF NOT EXISTS ix_receiver_phone ON ReceiverList ("电话");
