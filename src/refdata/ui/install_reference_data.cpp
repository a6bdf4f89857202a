#include "refdata/ui/install_reference_data.h"

#include "app/app_context.h"
#include "app/lookups.h"
#include "app/ui/main_frame.h"
#include "refdata/ui/tfm_dm_config.h"
#include "refdata/ui/tfrm_com.h"
#include "refdata/ui/tfrm_ss_set.h"

#include <QPointer>
#include <memory>

namespace billprint {

namespace {

// Shows a window that lives as long as the main window, making it on
// first use.
template <typename Window>
std::function<void()> keptWindow(MainFrame &mainWindow)
{
    auto window = std::make_shared<QPointer<Window>>();
    return [&mainWindow, window] {
        if (!*window)
            *window = new Window(mainWindow.context(), &mainWindow);
        (*window)->exec();
    };
}

} // namespace

void installReferenceData(MainFrame &mainWindow)
{
    mainWindow.setCommandHandler(QString::fromUtf8(RefDataCommand::Dictionary), [&mainWindow] {
        Tfm_DMConfig window(mainWindow.context(), mainWindow.context().currentCheckTypeId, &mainWindow);
        window.exec();
    });
    mainWindow.setCommandHandler(QString::fromUtf8(RefDataCommand::Currencies), keptWindow<TfrmCom>(mainWindow));
    mainWindow.setCommandHandler(QString::fromUtf8(RefDataCommand::PlaceCodes), keptWindow<TfrmSsSet>(mainWindow));

    // A lookup that meets a database of an earlier version runs the
    // main window's upgrade command.
    QPointer<MainFrame> main(&mainWindow);
    setSchemaUpgradeHandler([main](const QString &) {
        if (main)
            main->runCommand(QStringLiteral("  升级到9.28"));
    });
}

} // namespace billprint
