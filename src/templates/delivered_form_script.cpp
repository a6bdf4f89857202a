#include "templates/delivered_form_script.h"

#include "templates/delivered_form_painter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace billprint {

namespace {

QString literal(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString literal(int value)
{
    return QString::number(value);
}

QString insert(const QString &table, const QStringList &columns, const QStringList &values)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);\n")
        .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
}

QString catalogueRows(const DeliveredCatalogue &cat)
{
    static const QStringList columns = {
        QStringLiteral("CheckTypeName"), QStringLiteral("CtlName"), QStringLiteral("CtlLabel"),
        QStringLiteral("CtlType"), QStringLiteral("PrintItem"), QStringLiteral("ShowOrd"),
        QStringLiteral("Groups"), QStringLiteral("CtlData")};
    QString out = QStringLiteral("\n-- Field catalogue of the family %1.\n").arg(cat.family);
    for (const DeliveredCatalogueField &f : cat.fields)
        out += insert(QStringLiteral("NameDict"), columns,
                      {literal(cat.family), literal(f.name.toUpper()), literal(f.label), literal(f.type),
                       literal(f.print ? 1 : 0), literal(f.order), literal(f.group), literal(f.sample)});
    return out;
}

QString templateRow(const DeliveredTemplate &t, const DeliveredCatalogue &cat)
{
    static const QStringList columns = {
        QStringLiteral("CheckTypeID"), QStringLiteral("TypeName"), QStringLiteral("TypeFirstName"),
        QStringLiteral("TypeDescribe"), QStringLiteral("ImgFile"), QStringLiteral("IniFile"),
        QStringLiteral("Visiable"), QStringLiteral("IsDefault"), QStringLiteral("IsCommon"),
        QStringLiteral("ShowOrd"), QStringLiteral("CheckBoxs"), QStringLiteral("TWidth"),
        QStringLiteral("THeight"), QStringLiteral("PWidth"), QStringLiteral("PHeight"),
        QStringLiteral("XMove"), QStringLiteral("YMove"), QStringLiteral("HVPrint"),
        QStringLiteral("GroupCompany"), QStringLiteral("GroupTypeArea"), QStringLiteral("IsSysCommon"),
        QStringLiteral("PreImgURL")};
    return insert(QStringLiteral("CKTypeTable"), columns,
                  {literal(t.id), literal(t.fullName()), literal(t.family), literal(t.variant),
                   literal(t.pictureName(cat.code)), literal(QString()), literal(QStringLiteral("启用")),
                   literal(t.isDefault ? QStringLiteral("默认") : QStringLiteral("0")),
                   literal(t.common ? QStringLiteral("是") : QStringLiteral("否")), literal(t.order),
                   literal(t.checkBoxes.join(QLatin1Char(','))), literal(t.picture.width()),
                   literal(t.picture.height()), literal(t.paper.width()), literal(t.paper.height()),
                   literal(0), literal(0), literal(t.landscape ? 1 : 0), literal(QString()),
                   literal(QString()), literal(1), literal(QString())});
}

QString fieldRows(const DeliveredTemplate &t, const DeliveredCatalogue &cat)
{
    static const QStringList columns = {
        QStringLiteral("CheckTypeID"), QStringLiteral("CtlName"), QStringLiteral("CtlCName"),
        QStringLiteral("CtlType"), QStringLiteral("CtlX"), QStringLiteral("CtlY"),
        QStringLiteral("CtlW"), QStringLiteral("CtlH"), QStringLiteral("CtlLH"),
        QStringLiteral("SrcX"), QStringLiteral("SrcY"), QStringLiteral("SrcW"),
        QStringLiteral("SrcH"), QStringLiteral("NeedShow"), QStringLiteral("NeedPrint"),
        QStringLiteral("CtlFontName"), QStringLiteral("CtlFontSize"), QStringLiteral("CtlFontColor"),
        QStringLiteral("Bold"), QStringLiteral("Italic"), QStringLiteral("UnderLine"),
        QStringLiteral("BreakNum"), QStringLiteral("BreakFontSize"), QStringLiteral("FitParam"),
        QStringLiteral("Align"), QStringLiteral("InitValue"), QStringLiteral("ShowOrd")};
    QString out;
    // Catalogue order, so the rows read in print order.
    for (const DeliveredCatalogueField &c : cat.fields) {
        const DeliveredField &f = *t.find(c.name);
        // The field designer sets both flags together; a field that is not
        // a print item of the family is never printed.
        const int needPrint = f.show && c.print ? 1 : 0;
        out += insert(QStringLiteral("CkControl"), columns,
                      {literal(t.id), literal(c.name.toUpper()), literal(c.label), literal(c.type),
                       literal(f.box.x() - deliveredPrintLeadIn(f.size)), literal(f.box.y()), literal(f.box.width()),
                       literal(f.box.height()), literal(f.lineHeight), literal(f.screen.x()),
                       literal(f.screen.y()), literal(f.screen.width()), literal(f.screen.height()),
                       literal(f.show ? 1 : 0), literal(needPrint), literal(f.font), literal(f.size),
                       literal(f.color), literal(f.bold ? 1 : 0), literal(f.italic ? 1 : 0),
                       literal(f.underline ? 1 : 0), literal(f.breakNum), literal(f.breakSize),
                       literal(f.fit), literal(f.align), literal(f.init), literal(c.order)});
    }
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace

int deliveredPrintLeadIn(int fontSizePoints)
{
    // One em: points * 25.4 mm / 72, in tenths of a millimetre.
    return qRound(fontSizePoints * 254.0 / 72.0);
}

QString deliveredTemplatesScript(const DeliveredFormSet &set)
{
    QString out = QStringLiteral(
        "-- The delivered bill templates: the field catalogue of each family,\n"
        "-- the templates and the print and screen box of every field.\n"
        "-- Generated by billprint_formgen from resources/forms; edit the\n"
        "-- geometry files there and run the generator again.\n"
        "-- skipped by the data upgrade: the data of an earlier version keeps its\n"
        "-- own templates and gains the fields they lack from the upgrade.\n");
    for (const DeliveredCatalogue &cat : set.catalogues)
        out += catalogueRows(cat);
    out += QStringLiteral("\n-- Templates.\n");
    for (const DeliveredTemplate &t : set.templates)
        out += templateRow(t, *set.catalogue(t.family));
    QString options;
    for (const DeliveredTemplate &t : set.templates)
        for (const auto &[name, value] : t.options)
            options += insert(QStringLiteral("DMTable"),
                              {QStringLiteral("CheckTypeId"), QStringLiteral("DMName"), QStringLiteral("DMValue")},
                              {literal(t.id), literal(name), literal(value)});
    if (!options.isEmpty())
        out += QStringLiteral("\n-- Options the templates start with.\n") + options;
    for (const DeliveredTemplate &t : set.templates) {
        out += QStringLiteral("\n-- Fields of %1 (id %2).\n").arg(t.fullName()).arg(t.id);
        out += fieldRows(t, *set.catalogue(t.family));
    }
    return out;
}

bool writeDeliveredForms(const DeliveredFormSet &set, const QString &sqlPath,
                         const QString &imageFolder, QString *error)
{
    for (const QString &folder : {QFileInfo(sqlPath).absolutePath(), imageFolder}) {
        if (!QDir().mkpath(folder)) {
            if (error)
                *error = QStringLiteral("cannot create %1").arg(folder);
            return false;
        }
    }
    if (!writeFile(sqlPath, deliveredTemplatesScript(set).toUtf8(), error))
        return false;
    for (const DeliveredTemplate &t : set.templates) {
        const QString path = QDir(imageFolder).filePath(t.pictureName(set.catalogue(t.family)->code));
        if (!writeFile(path, encodeFormPicture(paintDeliveredPicture(t)), error))
            return false;
    }
    return true;
}

} // namespace billprint
