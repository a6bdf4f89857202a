#include "batch/ui/batch_address_parser.h"

#include "addressbook/ui/tfrm_match_addr.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "batch/parsed_receiver.h"

namespace billprint {

void openAddressParserForBatch(AppContext &context, QWidget *parent, const std::function<void()> &rowsStored)
{
    TfrmMatchAddr window(context, TfrmMatchAddr::Mode::Batch, parent);
    window.setReceiver([&context, rowsStored](const TPersonKDD &party, TfrmMatchAddr::HandOver) {
        QString error;
        if (!addParsedReceiver(context.db(), party, &error)) {
            tell(QStringLiteral("添加失败！") + error, QStringLiteral("错误"), AlertIcon::Error);
            return false;
        }
        if (rowsStored)
            rowsStored();
        return true;
    });
    window.exec();
}

} // namespace billprint
