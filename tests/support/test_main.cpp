// Test entry point: a headless QApplication so that windows, fonts and
// printing work in every test program. Started with the .xls reading
// argument, a test program is the .xls reading process of its own tests.
#include "batch/xls_worker.h"
#include "test_database.h"
#include "test_support.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (const int workerExit = billprint::runXlsWorkerIfAsked(argc, argv); workerExit >= 0)
        return workerExit;
    // The test program's own home: what a test writes into the user's
    // folders (settings, data, caches) never touches the real ones, and test
    // programs running side by side never see each other's.
    const QTemporaryDir home;
    if (home.isValid())
        for (const auto &[variable, value] : billprint::test::makeOwnHome(home.path()))
            qputenv(variable.toLatin1().constData(), QFile::encodeName(value));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new billprint::test::SharedDatabaseEnvironment);
    return RUN_ALL_TESTS();
}
