#include "bills/ui/waybill_address_parser.h"

#include "addressbook/ui/tfrm_match_addr.h"
#include "bills/ui/tfm_check_kdd.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace billprint {

namespace {

const QString kParserCommand = QStringLiteral("地址串识别(&W)");

} // namespace

void connectWaybillHandOver(TfrmMatchAddr &parser, TfmCheckKDD &waybill)
{
    parser.setReceiver([&parser, &waybill](const TPersonKDD &party, TfrmMatchAddr::HandOver which) {
        if (which == TfrmMatchAddr::HandOver::Sender) {
            waybill.setSender(party);
            return true;
        }
        waybill.setReceiver(party);
        // An empty remark leaves the goods and remark as they were.
        const QString remark = parser.remarkBox()->text();
        if (!remark.isEmpty() && parser.fillGoods())
            waybill.setFieldText(QStringLiteral("zdWPNR"), remark);
        if (!remark.isEmpty() && parser.fillRemark())
            waybill.setFieldText(QStringLiteral("zdBz"), remark);
        return true;
    });
}

void openWaybillAddressParser(TfmCheckKDD &waybill)
{
    TfrmMatchAddr parser(waybill.context(), TfrmMatchAddr::Mode::Waybill, &waybill);
    connectWaybillHandOver(parser, waybill);
    parser.exec();
}

void quickWaybillAddressParse(TfmCheckKDD &waybill, bool receiver)
{
    TfrmMatchAddr parser(waybill.context(), TfrmMatchAddr::Mode::Waybill, &waybill);
    connectWaybillHandOver(parser, waybill);
    parser.btPasteClick();
    parser.handOver(receiver ? TfrmMatchAddr::HandOver::Receiver : TfrmMatchAddr::HandOver::Sender);
}

void addAddressParserMenu(TfmCheckKDD &waybill)
{
    QAction *command = waybill.command(kParserCommand);
    if (!command)
        return;
    auto *menu = new QMenu(&waybill);
    QAction *asReceiver = menu->addAction(QStringLiteral("识别剪切板为收件人"));
    QAction *asSender = menu->addAction(QStringLiteral("识别剪切板为发件人"));
    asReceiver->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    asSender->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    // Shortcuts of a menu work only while it is shown; the window owns them too.
    waybill.addAction(asReceiver);
    waybill.addAction(asSender);
    QObject::connect(asReceiver, &QAction::triggered, &waybill, [&waybill] { quickWaybillAddressParse(waybill, true); });
    QObject::connect(asSender, &QAction::triggered, &waybill, [&waybill] { quickWaybillAddressParse(waybill, false); });
    command->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(waybill.toolBar()->widgetForAction(command)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

} // namespace billprint
