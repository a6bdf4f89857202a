#include "templates/package_command.h"

#include "app/command_context.h"
#include "app/command_line.h"
#include "templates/named_template.h"
#include "templates/template_package.h"

namespace billprint {

namespace {

CommandLine packageCommandLine()
{
    CommandLine line(QStringLiteral("package"), {QStringLiteral("export --template ID|NAME[,ID|NAME...] OUT.tpk [--data DIR]"),
                                                 QStringLiteral("import FILE.tpk [--template ID|NAME]... [--data DIR]")},
                     QStringLiteral("Moves templates (fields, family catalogue, dictionary rows, picture) between\n"
                                    "installations. Import takes every template of the package when none is\n"
                                    "named, in one transaction, and numbers the last name of a template whose\n"
                                    "name is taken. Prints the (new) template ids, one a line. The folder must\n"
                                    "hold a database already.\n"
                                    "Exit 0: done; 2: refused, nothing changed."));
    line.word(QStringLiteral("export|import"), QStringLiteral("what to do"))
        .word(QStringLiteral("FILE"), QStringLiteral("the package to write or read"))
        .option(QStringLiteral("template"), QStringLiteral("ID|NAME"),
                QStringLiteral("a template by id or name (of this data for export, of the\n"
                               "package for import); several by commas or repeating"));
    return line;
}

QString checkRequest(const CommandLine &line)
{
    const QStringList words = line.words();
    const QString action = words.value(0);
    if (action != QLatin1String("export") && action != QLatin1String("import"))
        return QStringLiteral("expected export or import");
    if (words.size() < 2)
        return QStringLiteral("no package file given");
    if (action == QLatin1String("export") && !line.isSet(QStringLiteral("template")))
        return QStringLiteral("export needs --template ID|NAME[,ID|NAME...]");
    return QString();
}

// The ids of the templates named in `texts`: each a template or a list of
// them separated by commas.
bool namedIds(const Database &db, const QStringList &texts, QList<int> *ids, QString *error)
{
    for (const QString &text : texts) {
        if (const std::optional<TCheckType> whole = findNamedTemplate(db, text, QString(), error)) {
            ids->append(whole->CheckTypeID);
            continue;
        }
        for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const std::optional<TCheckType> one = findNamedTemplate(db, part, QString(), error);
            if (!one)
                return false;
            ids->append(one->CheckTypeID);
        }
    }
    return !ids->isEmpty();
}

// The shown names of the package templates named in `texts` by their id
// in the package or their name.
QStringList namedInPackage(const TemplatePackage &package, const QStringList &texts)
{
    QStringList names;
    for (const QString &text : texts) {
        QString name = text;
        bool isId = false;
        const int id = text.trimmed().toInt(&isId);
        for (const PackageTemplate &t : package.templates())
            if (isId && t.packageId == id)
                name = t.shownName();
        names << name;
    }
    return names;
}

} // namespace

int runPackageCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    CommandLine line = packageCommandLine();
    CommandContext command(line, dataFolder, err);
    if (const std::optional<int> done = command.start(args, out))
        return *done;
    if (const QString refusal = checkRequest(line); !refusal.isEmpty())
        return command.fail(refusal);
    Database *db = command.openExistingDatabase();
    if (!db)
        return kNothingDone;

    const QString file = line.words().at(1);
    const QString imageFolder = command.dataRoot().imageFolder();
    QString error;
    QList<int> ids;
    if (line.words().at(0) == QLatin1String("export")) {
        if (!namedIds(*db, line.values(QStringLiteral("template")), &ids, &error)
            || !TemplatePackage::write(*db, imageFolder, ids, file, &error))
            return command.fail(error);
    } else {
        const std::unique_ptr<TemplatePackage> package = TemplatePackage::read(file, &error);
        if (!package)
            return command.fail(error);
        ids = PackageImporter(*db, imageFolder)
                  .import(*package, namedInPackage(*package, line.values(QStringLiteral("template"))),
                          ExistingName::MakeUnique, &error);
        if (ids.isEmpty())
            return command.fail(error);
    }
    for (int id : ids)
        out << id << "\n";
    return 0;
}

} // namespace billprint
