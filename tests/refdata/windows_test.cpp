// The reference-data windows in the main window: the menu commands open
// them, the kept ones are the same window every time, and every window
// keeps its size between runs.
#include "shell/ui/tfm_main.h"
#include "refdata/ui/install_reference_data.h"
#include "refdata/ui/tfm_dm_config.h"
#include "refdata/ui/tfrm_com.h"
#include "refdata/ui/tfrm_ss_set.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace billprint;
using namespace billprint::test;

namespace {

// The modal window a menu command brought up: its class and address,
// taken while it was open (a window made for one opening is gone after).
struct OpenedWindow
{
    QString className;
    const void *address = nullptr;
};

OpenedWindow runModalCommand(Tfm_Main &main, const char *command)
{
    OpenedWindow opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            opened = {modal->metaObject()->className(), modal};
            modal->close();
        }
    });
    main.runCommand(QString::fromUtf8(command));
    return opened;
}

} // namespace

TEST(ReferenceDataCommands, MenuCommandsOpenTheirWindows)
{
    TempDataRoot root;
    root.context().db().exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, Visiable) "
                             "values (103, '快递单（顺丰）', '快递单', '顺丰', '启用')");
    root.context().currentCheckTypeId = 103;
    Tfm_Main main(root.context());
    installReferenceData(main);

    EXPECT_EQ(runModalCommand(main, RefDataCommand::Dictionary).className, "billprint::Tfm_DMConfig");

    const OpenedWindow currencies = runModalCommand(main, RefDataCommand::Currencies);
    EXPECT_EQ(currencies.className, "billprint::TfrmCom");
    EXPECT_EQ(runModalCommand(main, RefDataCommand::Currencies).address, currencies.address);  // kept

    const OpenedWindow places = runModalCommand(main, RefDataCommand::PlaceCodes);
    EXPECT_EQ(places.className, "billprint::TfrmSsSet");
    EXPECT_EQ(runModalCommand(main, RefDataCommand::PlaceCodes).address, places.address);
}

TEST(ReferenceDataCommands, DictionaryOpensOnTheCurrentBillType)
{
    TempDataRoot root;
    root.context().db().exec("insert into CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, Visiable) "
                             "values (103, '快递单（顺丰）', '快递单', '顺丰', '启用')");
    root.context().currentCheckTypeId = 103;
    Tfm_DMConfig window(root.context(), root.context().currentCheckTypeId);
    EXPECT_EQ(window.typeBox()->currentText(), "快递单（顺丰）");
    // Without lists of its own the template shows the shared ones.
    EXPECT_TRUE(window.listNames().contains("始发站"));
}

TEST(ReferenceDataWindows, EveryWindowKeepsItsSizeBetweenRuns)
{
    TempDataRoot root;
    auto roundTrip = [&](auto makeWindow, QSize size) {
        {
            auto window = makeWindow();
            window->show();
            window->resize(size);
            window->close();
        }
        root.context().OpenUserIniFile();  // as at the next start
        auto window = makeWindow();
        window->show();
        EXPECT_EQ(window->size(), size) << window->objectName().toStdString();
        window->close();
    };
    roundTrip([&] { return std::make_unique<Tfm_DMConfig>(root.context(), 0); }, QSize(720, 530));
    roundTrip([&] { return std::make_unique<TfrmCom>(root.context()); }, QSize(377, 222));
    roundTrip([&] { return std::make_unique<TfrmSsSet>(root.context()); }, QSize(511, 455));
}
