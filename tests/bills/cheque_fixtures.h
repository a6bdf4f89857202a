#pragma once

// Shared set-up of the cheque window tests: a fresh data root with the
// delivered templates and their pictures, a window frame whose hooks the
// test controls (address book picks, value prompt, menu commands), and
// helpers to look at the window's fields.

#include "app/app_context.h"
#include "app/database.h"
#include "bills/bill_record.h"
#include "bills/ui/bill_window_host.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/tfm_check_zp.h"
#include "recording_output.h"
#include "templates/delivered_pictures.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSqlQuery>
#include <QSqlRecord>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

namespace billprint::test {

inline void click(QWidget *w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

inline void type(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &key);
    }
}

inline void pressReturn(QWidget *w)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &key);
}

// Clicks the capitals and types `text` into the amount input that opens
// there, leaving it open: a tool bar button takes no focus, so a user may
// go straight from typing to printing or saving.
inline QLineEdit *typeAmount(TfmBillBase &w, const QString &text)
{
    click(w.field(QStringLiteral("zdJEDX")));
    auto *input = qobject_cast<QLineEdit *>(w.field(QStringLiteral("inputJEXX")));
    input->selectAll();
    type(input, text);
    return input;
}

inline const QString kTransferCheque = QStringLiteral("通用转账支票");  // template 1, the default
inline const QString kCashCheque = QStringLiteral("通用现金支票");      // template 2

class ChequeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureDeliveredPictures(ctx().dataRoot().imageFolder());
        ctx().printerNames = {QStringLiteral("测试打印机")};
    }

    AppContext &ctx() { return root.context(); }
    const Database &db() { return ctx().db(); }

    // The frame around the window: every dialog answered by the test.
    BillWindowHost host()
    {
        BillWindowHost h;
        h.runCommand = [this](const QString &command) { commands << command; };
        h.workArea = [] { return QSize(1400, 900); };
        h.pickPerson = [this](const QString &kind, const QString &caption, QWidget *) {
            pickRequests << kind + QLatin1Char('/') + caption;
            std::optional<TPerson> answer;
            if (!picks.empty()) {
                answer = picks.front();
                picks.pop_front();
            }
            return answer;
        };
        h.savePerson = [this](const std::optional<TPerson> &party, QWidget *) {
            savedParties.push_back(party);
            if (party && storeSavedParties) {
                TPerson stored = *party;
                stored.save(db());
                return std::optional<TPerson>(stored);
            }
            return std::optional<TPerson>();
        };
        h.askValue = [this](const QString &, const QString &, const QString &, QWidget *) { return valueAnswer; };
        h.openBillWindow = [this](const QString &family) -> TfmBillBase * {
            return openBillWindow ? openBillWindow(family) : nullptr;
        };
        return h;
    }

    std::unique_ptr<TfmCheckZP> openCheque()
    {
        auto window = std::make_unique<TfmCheckZP>(ctx(), host());
        window->setPrintOutput(&output);
        return window;
    }

    static QString text(TfmBillBase &w, const QString &name) { return w.fieldText(name); }

    TPerson addUnit(const QString &name, const QString &kind, const QString &bank, const QString &account,
                    const QString &code = QString())
    {
        TPerson p;
        p.setFullName(name);
        p.setUnitKind(kind);
        p.setBank(bank);
        p.setAccount(account);
        p.setInputCode(code);
        EXPECT_TRUE(p.save(db()));
        return p;
    }

    int rowCount(const QString &table = QStringLiteral("DataZPTable"))
    {
        return db().scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }

    BillRecord row(int serial)
    {
        const std::optional<BillRecord> r = BillRecordStore(db(), QStringLiteral("DataZPTable")).load(serial);
        EXPECT_TRUE(r.has_value()) << serial;
        return r.value_or(BillRecord());
    }

    // A cheque number recorded in advance, as the history window records it.
    int recordNumber(const QString &number, const QString &templateName, const QString &bank, const QString &account)
    {
        BillRecord r;
        r.set(BillColumn::Number, number);
        r.set(BillColumn::Status, BillStatus::Unused);
        r.set(BillColumn::TemplateName, templateName);
        r.set(BillColumn::DrawerBank, bank);
        r.set(BillColumn::DrawerAccount, account);
        r.set(BillColumn::Amount, QStringLiteral("0"));
        EXPECT_EQ(BillRecordStore(db(), QStringLiteral("DataZPTable")).save(r), BillSaveOutcome::Appended);
        return r.serial;
    }

    TempDataRoot root;
    AlertRecorder alerts;
    RecordingOutput output;
    QStringList commands;
    QStringList pickRequests;
    std::deque<std::optional<TPerson>> picks;
    std::vector<std::optional<TPerson>> savedParties;
    bool storeSavedParties = true;
    QString valueAnswer;
    std::function<TfmBillBase *(const QString &)> openBillWindow;
};

} // namespace billprint::test
