#pragma once

// Shared set-up of the offset and printer tests: a database with only the
// templates a test writes, and the program-wide bill printer put back to
// "system default, print system's printers, desktop dialog" around every
// test.

#include "app/database.h"
#include "printing/ui/bill_printer.h"
#include "test_support.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace billprint::test {

class OffsetsTest : public ::testing::Test
{
protected:
    OffsetsTest()
    {
        EXPECT_TRUE(db().exec(QStringLiteral("delete from CKTypeTable")));
        BillPrinter::clearSelection();
        BillPrinter::setPrinterSource({});
        setPrinterDialogRunner({});
    }
    ~OffsetsTest() override
    {
        BillPrinter::clearSelection();
        BillPrinter::setPrinterSource({});
        setPrinterDialogRunner({});
    }

    AppContext &ctx() { return m_root.context(); }
    const Database &db() { return m_root.context().db(); }
    QString folder() const { return m_root.path(); }

    void addTemplate(int id, const QString &name, bool enabled = true, int xMove = 0, int yMove = 0,
                     const QVariant &hvPrint = 0, const QVariant &pWidth = 2100, const QVariant &pHeight = 990)
    {
        ASSERT_TRUE(db().exec(
            QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeName, Visiable, XMove, YMove, HVPrint, "
                           "TWidth, THeight, PWidth, PHeight) values (?,?,?,?,?,?,?,?,?,?)"),
            {id, name, enabled ? QStringLiteral("启用") : QStringLiteral("停用隐藏"), xMove, yMove, hvPrint, 800,
             400, pWidth, pHeight}));
    }

    int column(int id, const QString &name)
    {
        return db().scalar(QStringLiteral("select ") + name + QStringLiteral(" from CKTypeTable where CheckTypeID=?"),
                           {id})
            .toInt();
    }

    // Pretends these printers are installed.
    void installPrinters(const QStringList &names)
    {
        BillPrinter::setPrinterSource([names] { return names; });
        ctx().printerNames = names;
    }

    AlertRecorder alerts;

private:
    TempDataRoot m_root;
};

// Runs `action`, which opens a modal window, and hands that window to
// `inspect` while it is open; then closes it.
inline void whileModalOpen(const std::function<void()> &action, const std::function<void(QWidget *)> &inspect)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            seen = true;
            inspect(modal);
            modal->close();
        }
    });
    action();
    QApplication::processEvents();  // a timer left over must not meet the next test's window
    EXPECT_TRUE(seen) << "no modal window opened";
}

} // namespace billprint::test
