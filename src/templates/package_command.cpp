#include "templates/package_command.h"

#include "app/data_root.h"
#include "app/database.h"
#include "templates/template_package.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <memory>

namespace billprint {

namespace {

int failWith(QTextStream &err, const QString &reason)
{
    err << "billprint package: " << reason << "\n";
    return 2;
}

struct PackageRequest
{
    QString action;
    QString file;
    QStringList templates;
    QString error;
};

PackageRequest parse(const QStringList &args)
{
    PackageRequest r;
    r.action = args.value(0);
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--template")) {
            if (i + 1 >= args.size()) {
                r.error = QStringLiteral("--template needs a value");
                return r;
            }
            r.templates << args.at(++i);
        } else if (arg.startsWith(QLatin1String("--"))) {
            r.error = QStringLiteral("unknown option: ") + arg;
            return r;
        } else if (r.file.isEmpty()) {
            r.file = arg;
        } else {
            r.error = QStringLiteral("one package file only");
            return r;
        }
    }
    if (r.action != QLatin1String("export") && r.action != QLatin1String("import"))
        r.error = QStringLiteral("expected export or import");
    else if (r.file.isEmpty())
        r.error = QStringLiteral("no package file given");
    else if (r.action == QLatin1String("export") && r.templates.isEmpty())
        r.error = QStringLiteral("export needs --template ID[,ID...]");
    return r;
}

bool parseIds(const QStringList &words, QList<int> *ids)
{
    for (const QString &word : words)
        for (const QString &part : word.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int id = part.trimmed().toInt(&ok);
            if (!ok || id <= 0)
                return false;
            ids->append(id);
        }
    return !ids->isEmpty();
}

} // namespace

int runPackageCommand(const QStringList &args, const QString &dataFolder, QTextStream &out, QTextStream &err)
{
    const PackageRequest request = parse(args);
    if (!request.error.isEmpty())
        return failWith(err, request.error);
    const DataRoot root = DataRoot::resolve(dataFolder, QCoreApplication::applicationDirPath());
    if (!QFileInfo(root.databasePath()).isFile())
        return failWith(err, QStringLiteral("no database in ") + root.folder());
    QString error;
    const std::unique_ptr<Database> db = Database::open(root.databasePath(), &error);
    if (!db)
        return failWith(err, error);

    QList<int> ids;
    if (request.action == QLatin1String("export")) {
        if (!parseIds(request.templates, &ids))
            return failWith(err, QStringLiteral("--template takes template ids such as 3,7"));
        if (!TemplatePackage::write(*db, root.imageFolder(), ids, request.file, &error))
            return failWith(err, error);
    } else {
        const std::unique_ptr<TemplatePackage> package = TemplatePackage::read(request.file, &error);
        if (!package)
            return failWith(err, error);
        ids = PackageImporter(*db, root.imageFolder()).import(*package, request.templates, ExistingName::MakeUnique,
                                                              &error);
        if (ids.isEmpty())
            return failWith(err, error);
    }
    for (int id : ids)
        out << id << "\n";
    return 0;
}

} // namespace billprint
