// billprint_icongen: writes the program's icon for the desktop in the
// layout of the hicolor icon theme, from the same drawing as the windows'
// icon.
//
//   billprint_icongen OUTDIR   -> OUTDIR/hicolor/NxN/apps/billprint.png
//                                 and OUTDIR/hicolor/scalable/apps/billprint.svg
#include "app/system_pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

using namespace billprint;

int main(int argc, char **argv)
{
    // Glyphs need the font database, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: billprint_icongen OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = out.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder) || !drawProgramIcon(size).save(folder + QStringLiteral("/billprint.png"))) {
            std::fprintf(stderr, "billprint_icongen: cannot write %s\n", folder.toLocal8Bit().constData());
            return 1;
        }
    }
    const QString scalable = out.filePath(QStringLiteral("hicolor/scalable/apps"));
    QDir().mkpath(scalable);
    QFile svg(scalable + QStringLiteral("/billprint.svg"));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(programIconSvg()) < 0) {
        std::fprintf(stderr, "billprint_icongen: cannot write %s\n", svg.fileName().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
