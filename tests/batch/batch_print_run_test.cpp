// Printing the batch list through the waybill window: one document, a page
// per row, a new page between rows only; a stop ends the document after
// the current page; the capitals take digits only; a quote in a name
// prints like any other letter.

#include "../bills/cheque_fixtures.h"
#include "batch/receiver_list.h"
#include "batch/ui/batch_print_run.h"
#include "bills/ui/tfm_check_kdd.h"

namespace billprint::test {
namespace {

class BatchPrintRunTest : public ChequeTest
{
protected:
    std::unique_ptr<TfmCheckKDD> openWaybill()
    {
        auto window = std::make_unique<TfmCheckKDD>(ctx(), host());
        window->setPrintOutput(&output);
        return window;
    }
    int add(const QList<QPair<QString, QString>> &row)
    {
        QString error;
        const int id = ReceiverList(db()).add(row, &error);
        EXPECT_GT(id, 0) << error.toStdString();
        return id;
    }
};

TEST_F(BatchPrintRunTest, ThreeRowsPrintThreePagesInOneDocument)
{
    const QList<int> ids{add({{"全称", "O'Brien"}, {"市", "深圳"}}), add({{"全称", "收件二"}}),
                         add({{"全称", "收件三"}})};
    auto w = openWaybill();
    ReceiverList list(db());
    BatchPrintRun run(*w, list, {});
    EXPECT_EQ(run.print(ids), 3);
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 3);
    EXPECT_EQ(output.textsEqual(QStringLiteral("O'Brien")).size(), 1u);
    EXPECT_EQ(output.textsEqual(QStringLiteral("收件三")).size(), 1u);
    EXPECT_FALSE(w->isLoading());
}

TEST_F(BatchPrintRunTest, StoppingEndsTheDocumentAfterTheCurrentPage)
{
    QList<int> ids;
    for (int i = 0; i < 5; ++i)
        ids << add({{"全称", QStringLiteral("收件%1").arg(i)}});
    auto w = openWaybill();
    ReceiverList list(db());
    BatchPrintRun run(*w, list, {});
    run.setProgress([](int done, int) { return done < 2; });
    EXPECT_EQ(run.print(ids), 2);
    EXPECT_TRUE(run.stopped());
    EXPECT_EQ(output.begins, 1);
    EXPECT_EQ(output.pages, 2);
}

TEST_F(BatchPrintRunTest, AVanishedRowEndsTheRunBeforeItsPageWithoutTellingTwice)
{
    const QList<int> ids{add({{"全称", "广州一号"}}), add({{"全称", "深圳二号"}}), add({{"全称", "珠海三号"}})};
    QString error;
    ASSERT_TRUE(ReceiverList(db()).remove({ids[1]}, &error)) << error.toStdString();
    auto w = openWaybill();
    ReceiverList list(db());
    BatchPrintRun run(*w, list, {});
    AlertRecorder alerts;
    EXPECT_EQ(run.print(ids), 1);
    EXPECT_EQ(run.problem(), QStringLiteral("调用错误，找不到记录，编号=%1").arg(ids[1]));
    EXPECT_TRUE(alerts.alerts().empty());  // the caller tells, once
    // Only the first receiver's page; none with the first receiver again.
    EXPECT_EQ(output.pages, 1);
    EXPECT_EQ(output.ends, 1);
    EXPECT_EQ(output.textsEqual(QStringLiteral("广州一号")).size(), 1u);
    EXPECT_TRUE(output.textsEqual(QStringLiteral("珠海三号")).empty());
    EXPECT_FALSE(w->isLoading());
}

TEST_F(BatchPrintRunTest, AFailedReadPrintsNothingAndIsOneProblem)
{
    QList<int> ids;
    for (int i = 0; i < 250; ++i)
        ids << add({{"全称", QStringLiteral("收件%1").arg(i)}});
    auto w = openWaybill();
    ReceiverList list(db());
    ASSERT_TRUE(db().exec(QStringLiteral("drop table ReceiverList")));
    BatchPrintRun run(*w, list, {});
    AlertRecorder alerts;
    EXPECT_EQ(run.print(ids), 0);
    EXPECT_TRUE(run.problem().startsWith(QStringLiteral("错误，"))) << run.problem().toStdString();
    EXPECT_TRUE(alerts.alerts().empty());
    // The document is dropped: no page, not even an empty one, goes out.
    EXPECT_TRUE(output.texts().empty());
    EXPECT_EQ(output.ends, 0);
    EXPECT_EQ(output.aborts, 1);
}

TEST_F(BatchPrintRunTest, OptionalColumnsAreSentOnlyWhenShownAndCapitalsTakeDigitsOnly)
{
    const int id = add({{"全称", "甲"}, {"备注", "易碎"}, {"金额大写1", "12.50"}});
    auto w = openWaybill();
    ReceiverList list(db());
    w->setFieldText(QStringLiteral("zdJEDX1"), QStringLiteral("7"));
    w->setFieldText(QStringLiteral("zdBz"), QStringLiteral("旧"));
    BatchPrintRun hidden(*w, list, {});
    ASSERT_TRUE(hidden.SendToCheckByID(id));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdBz")), QStringLiteral("旧"));

    BatchPrintRun shown(*w, list, {QStringLiteral("备注"), QStringLiteral("金额大写1")});
    ASSERT_TRUE(shown.SendToCheckByID(id));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdBz")), QStringLiteral("易碎"));
    EXPECT_EQ(w->typedAmountInWords(), QString());

    AlertRecorder alerts;
    EXPECT_FALSE(shown.SendToCheckByID(99));
    EXPECT_TRUE(alerts.sawMessage(QStringLiteral("调用错误，找不到记录，编号=99")));
}

} // namespace
} // namespace billprint::test
