// Test entry point: a headless QApplication so that windows, fonts and
// printing work in every test program. Started with the .xls reading
// argument, a test program is the .xls reading process of its own tests.
#include "batch/xls_worker.h"
#include "test_database.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (const int workerExit = billprint::runXlsWorkerIfAsked(argc, argv); workerExit >= 0)
        return workerExit;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new billprint::test::SharedDatabaseEnvironment);
    return RUN_ALL_TESTS();
}
