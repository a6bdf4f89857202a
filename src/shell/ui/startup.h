#pragma once

#include <QString>
#include <QStringList>

namespace billprint {

// What the command line asked for.
struct StartupOptions
{
    QString dataFolder;          // --data DIR
    QString databaseUrl;         // --database URL
    bool quitAfterStartup = false;
    bool showHelp = false;
    bool showVersion = false;
    QString subcommand;          // "convert", ... or empty for the desktop
    QStringList subcommandArgs;  // words after the subcommand
    QString error;               // a bad command line
};

StartupOptions parseCommandLine(const QStringList &arguments);
QString usageText();

class Tfm_Main;

// Hooks every part of the program into the main window's commands.
void installAllParts(Tfm_Main &mainWindow);

// Runs the desktop program: opens the data root, shows the main window and
// the splash, and runs until the main window closes. Returns the exit code.
int runDesktop(const StartupOptions &options);

} // namespace billprint
