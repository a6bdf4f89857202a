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
    QString packageFile;         // a template package (.tpk) to import, as the desktop opens it
    QString subcommand;          // "convert", ... or empty for the desktop
    QStringList subcommandArgs;  // words after the subcommand
    QString error;               // a bad command line
};

StartupOptions parseCommandLine(const QStringList &arguments);
QString usageText();

class MainFrame;
class Tfm_Main;

// Hooks every part of the program into the main window's commands.
void installAllParts(Tfm_Main &mainWindow);

// Opens what the command line named for the desktop: a template package
// in the package import window, its templates listed.
void openFilesGiven(MainFrame &mainWindow, const StartupOptions &options);

// Runs the desktop program: opens the data root, shows the main window and
// the splash, and runs until the main window closes. Returns the exit code.
int runDesktop(const StartupOptions &options);

} // namespace billprint
