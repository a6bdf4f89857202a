// History rows of issued bills: appending and rewriting in one step with
// the family's guard, bound values, recorded numbers and stored dates.

#include "app/database.h"
#include "bills/bill_record.h"
#include "bills/cheque_rules.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace billprint::test {
namespace {

class BillStoreTest : public ::testing::Test
{
protected:
    const Database &db() { return root.context().db(); }
    BillRecordStore store() { return BillRecordStore(db(), QStringLiteral("DataZPTable")); }

    TempDataRoot root;
};

TEST_F(BillStoreTest, AppendsThenRewritesOnlyTheColumnsGiven)
{
    BillRecord r;
    r.set(BillColumn::Payee, QStringLiteral("O'Brien & Sons"));
    r.set(BillColumn::Amount, QStringLiteral("12.5"));
    r.set(BillColumn::Date, QDate(2026, 3, 5));
    r.set(BillColumn::custom(4), QStringLiteral("kept"));
    ASSERT_EQ(store().save(r), BillSaveOutcome::Appended);
    ASSERT_GT(r.serial, 0);

    BillRecord edit;
    edit.serial = r.serial;
    edit.set(QStringLiteral("金额"), QStringLiteral("99"));
    ASSERT_EQ(store().save(edit), BillSaveOutcome::Updated);

    const std::optional<BillRecord> back = store().load(r.serial);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text(BillColumn::Payee), QStringLiteral("O'Brien & Sons"));
    EXPECT_EQ(back->text(BillColumn::Amount), QStringLiteral("99"));
    EXPECT_EQ(back->date(BillColumn::Date), QDate(2026, 3, 5));
    EXPECT_EQ(back->text(BillColumn::custom(4)), QStringLiteral("kept"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), 1);
}

TEST_F(BillStoreTest, TheGuardSeesTheStoredRowAndRefusesWithoutWriting)
{
    BillRecord r;
    r.set(BillColumn::Status, BillStatus::Void);
    r.set(BillColumn::Amount, QStringLiteral("1"));
    ASSERT_EQ(store().save(r), BillSaveOutcome::Appended);

    BillRecord edit;
    edit.serial = r.serial;
    edit.set(BillColumn::Status, BillStatus::Used);
    edit.set(BillColumn::Amount, QStringLiteral("2"));
    QString message;
    EXPECT_EQ(store().save(edit, chequeSaveGuard, &message), BillSaveOutcome::Refused);
    EXPECT_EQ(message, QStringLiteral("支票已经作废,保存失败！"));
    EXPECT_EQ(store().load(r.serial)->text(BillColumn::Amount), QStringLiteral("1"));

    // A serial whose row is gone appends, and the guard has nothing to see.
    BillRecord lost;
    lost.serial = 4711;
    lost.set(BillColumn::Amount, QStringLiteral("3"));
    EXPECT_EQ(store().save(lost, chequeSaveGuard), BillSaveOutcome::Appended);
    EXPECT_NE(lost.serial, 4711);
}

TEST_F(BillStoreTest, AnUnknownColumnFailsWholeAndKeepsTheSerial)
{
    BillRecord r;
    r.set(BillColumn::Amount, QStringLiteral("1"));
    r.set(QStringLiteral("no such column\"; drop table DataZPTable; --"), QStringLiteral("x"));
    QString message;
    EXPECT_EQ(store().save(r, {}, &message), BillSaveOutcome::Failed);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(r.serial, -1);
    EXPECT_TRUE(db().tableExists(QStringLiteral("DataZPTable")));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), 0);
}

TEST_F(BillStoreTest, FindsARecordedNumberBeforeAnIssuedOneOfTheSameNumber)
{
    BillRecord issued;
    issued.set(BillColumn::Number, QStringLiteral("0001"));
    issued.set(BillColumn::Status, BillStatus::Used);
    ASSERT_EQ(store().save(issued), BillSaveOutcome::Appended);
    BillRecord recorded;
    recorded.set(BillColumn::Number, QStringLiteral("0001"));
    recorded.set(BillColumn::Status, BillStatus::Unused);
    ASSERT_EQ(store().save(recorded), BillSaveOutcome::Appended);

    EXPECT_EQ(store().findByNumber(QStringLiteral("0001"))->serial, issued.serial);
    EXPECT_EQ(store().findByNumber(QStringLiteral("0001"), BillStatus::Unused)->serial, recorded.serial);
    EXPECT_FALSE(store().findByNumber(QStringLiteral("0002")));
}

TEST(BillDateTest, ReadsTheStoredForms)
{
    EXPECT_EQ(parseBillDate(QStringLiteral("2026-03-05")), QDate(2026, 3, 5));
    EXPECT_EQ(parseBillDate(QStringLiteral("2026-03-05 00:00:00")), QDate(2026, 3, 5));
    EXPECT_EQ(parseBillDate(QStringLiteral("2026/3/5")), QDate(2026, 3, 5));
    EXPECT_FALSE(parseBillDate(QStringLiteral("five")).isValid());
    EXPECT_EQ(billDateText(QDate(2026, 12, 1)), QStringLiteral("2026-12-01"));
}

TEST(ChequeRulesTest, BankOptionsLeaveTheirItemsOut)
{
    EXPECT_TRUE(chequeSkipsPrintItem(QStringLiteral("ZDOUTBANK"), false, true));
    EXPECT_FALSE(chequeSkipsPrintItem(QStringLiteral("zdOutBank"), true, false));
    EXPECT_TRUE(chequeSkipsPrintItem(QStringLiteral("zdoutbankacct"), true, false));
    EXPECT_FALSE(chequeSkipsPrintItem(QStringLiteral("zdInComp"), false, false));
}

} // namespace
} // namespace billprint::test
