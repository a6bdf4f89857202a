// Config.ini on any bytes: read from disk as the program reads it (UTF-8
// or the earlier program's GBK), then one key changed and flushed. Never a
// crash, a leak or a hang; a written key reads back and the rest of the
// file keeps its text.
#include "app/ini_file.h"
#include "fuzz_support.h"

using namespace billprint;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::writeInput(QStringLiteral("Config.ini"), data, size);
    IniFile ini(path);
    const QString asRead = ini.toText();

    // Everything found can be asked for.
    const QStringList sections = ini.sections();
    for (const QString &section : sections)
        for (const QString &key : ini.keys(section))
            FUZZ_CHECK(ini.hasKey(section, key), "a listed key is found");

    // Parsing the text it writes gives the same text.
    IniFile again;
    again.parse(asRead);
    FUZZ_CHECK(again.toText() == asRead, "the file's text survives a read");

    // Change one key as the program does (written through to the disk) and
    // read the file anew.
    const QString section = sections.isEmpty() ? QStringLiteral("Info") : sections.first();
    const QStringList keys = ini.keys(section);
    const QString key = keys.isEmpty() ? QStringLiteral("nm") : keys.last();
    const QString value = QStringLiteral("禾朔 fuzz");
    ini.writeString(section, key, value);
    IniFile reread(path);
    FUZZ_CHECK(reread.readString(section, key) == value, "a written key reads back");
    return 0;
}
