#pragma once

// Shared set-up of the history tests: a fresh data root, rows written into
// the four history tables as the bill windows store them, and a frame for
// the history window whose hooks the test answers and records.

#include "app/app_context.h"
#include "app/database.h"
#include "bills/bill_record.h"
#include "history/history_family.h"
#include "history/ui/history_window_host.h"
#include "test_support.h"

#include <QLocale>
#include <deque>
#include <gtest/gtest.h>

namespace billprint::test {

class HistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Dates in messages use the short form the program shows in China.
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    AppContext &ctx() { return root.context(); }
    const Database &db() { return ctx().db(); }

    // Appends a row; `values` maps column names to texts ("" left out).
    int addRow(const QString &table, const QList<QPair<QString, QString>> &values)
    {
        BillRecord r;
        for (const auto &[column, value] : values)
            if (!value.isNull())
                r.set(column, value);
        EXPECT_EQ(BillRecordStore(db(), table).save(r), BillSaveOutcome::Appended);
        return r.serial;
    }

    int addCheque(const QString &number, const QString &payee, const QString &amount, const QString &date,
                  const QString &status = BillStatus::Used, const QString &account = QString())
    {
        return addRow(QStringLiteral("DataZPTable"),
                      {{BillColumn::Number, number},
                       {BillColumn::Payee, payee},
                       {BillColumn::Amount, amount},
                       {BillColumn::Date, date},
                       {BillColumn::Status, status},
                       {BillColumn::DrawerAccount, account},
                       {BillColumn::TemplateName, QStringLiteral("通用转账支票")}});
    }

    HistoryWindowHost host()
    {
        HistoryWindowHost h;
        h.openWindows = [this] { return openWindows; };
        h.closeAllBillWindows = [this] {
            ++closeAllCalls;
            openWindows.clear();
        };
        h.openBillWindow = [this](const QString &family) -> TfmBillBase * {
            openedFamilies << family;
            return nullptr;
        };
        h.pickPerson = [this](const QString &kind, const QString &caption, QWidget *) {
            pickRequests << kind + QLatin1Char('/') + caption;
            std::optional<TPerson> answer;
            if (!picks.empty()) {
                answer = picks.front();
                picks.pop_front();
            }
            return answer;
        };
        h.askValue = [this](const QString &prompt, const QString &defaultValue, QWidget *) {
            prompts << prompt + QLatin1Char('|') + defaultValue;
            return valueAnswer;
        };
        h.openUrl = [this](const QString &url) { urls << url; };
        return h;
    }

    TempDataRoot root;
    AlertRecorder alerts;
    QStringList openWindows;
    int closeAllCalls = 0;
    QStringList openedFamilies;
    QStringList pickRequests;
    std::deque<std::optional<TPerson>> picks;
    QStringList prompts;
    QString valueAnswer;
    QStringList urls;
};

} // namespace billprint::test
