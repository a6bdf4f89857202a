#include "history/ui/install_history.h"

#include "app/ui/main_frame.h"
#include "history/ui/history_window_host.h"
#include "history/ui/tfm_search_base.h"

namespace billprint {

std::unique_ptr<TfmSearchBase> createHistoryWindow(AppContext &context, const HistoryFamily &family,
                                                   const HistoryWindowHost &host, QWidget *parent)
{
    if (&family == &HistoryFamily::cheque())
        return std::make_unique<TfmSearch_ZP>(context, host, parent);
    if (&family == &HistoryFamily::depositSlip())
        return std::make_unique<TfmSearch_JZD>(context, host, parent);
    if (&family == &HistoryFamily::cashSlip())
        return std::make_unique<TfmSearch_JKD>(context, host, parent);
    return std::make_unique<TfmSearch_KDD>(context, host, parent);
}

void installHistory(MainFrame &mainWindow)
{
    for (const HistoryFamily *family : HistoryFamily::all()) {
        MainFrame *frame = &mainWindow;
        mainWindow.setCommandHandler(family->bill->historyCommand, [frame, family] {
            std::unique_ptr<TfmSearchBase> window =
                createHistoryWindow(frame->context(), *family, historyWindowHost(*frame), frame);
            window->exec();
        });
    }
}

} // namespace billprint
