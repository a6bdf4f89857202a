-- Indexes for the history windows: a clerk filters issued bills by
-- number, party, date and amount and expects the list at once, even with
-- a hundred thousand bills stored.
--
-- Text filters compare without regard to letter case, so the indexes on
-- them do too. The amount index is on the stored text read as a number,
-- written exactly as the history statements write it.

CREATE INDEX IF NOT EXISTS ix_datazp_date ON DataZPTable ("出票日期");
CREATE INDEX IF NOT EXISTS ix_datazp_number ON DataZPTable ("票据编号" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datazp_payee ON DataZPTable ("收款人全称" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datazp_account ON DataZPTable ("出票人账号" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datazp_status ON DataZPTable ("票据状态");
CREATE INDEX IF NOT EXISTS ix_datazp_amount ON DataZPTable (cast("金额" as real));

CREATE INDEX IF NOT EXISTS ix_datajzd_date ON DataJZDTable ("出票日期");
CREATE INDEX IF NOT EXISTS ix_datajzd_number ON DataJZDTable ("票据编号" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datajzd_drawer ON DataJZDTable ("出票人全称" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datajzd_payee ON DataJZDTable ("收款人全称" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datajzd_amount ON DataJZDTable (cast("金额" as real));

CREATE INDEX IF NOT EXISTS ix_datajkd_date ON DataJKDTable ("出票日期");
CREATE INDEX IF NOT EXISTS ix_datajkd_number ON DataJKDTable ("票据编号" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datajkd_payee ON DataJKDTable ("收款人全称" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datajkd_amount ON DataJKDTable (cast("金额" as real));

CREATE INDEX IF NOT EXISTS ix_datakdd_date ON DataKDDTable ("寄件日期");
CREATE INDEX IF NOT EXISTS ix_datakdd_number ON DataKDDTable ("快递单号" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datakdd_sender ON DataKDDTable ("寄件单位" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datakdd_sender_contact ON DataKDDTable ("寄件联系人" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datakdd_receiver ON DataKDDTable ("收件单位" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datakdd_receiver_contact ON DataKDDTable ("收件联系人" COLLATE NOCASE);
CREATE INDEX IF NOT EXISTS ix_datakdd_template ON DataKDDTable ("模板种类" COLLATE NOCASE);
