#include "printing/printer_models.h"

#include "app/ini_file.h"

namespace billprint {

namespace {

const QString kKnown = QStringLiteral("PrinterWeKnow");
const QString kUse = QStringLiteral("printeruse");
const QString kPrinters = QStringLiteral("printers");

QString modelKey(const QString &model, const char *field)
{
    return QStringLiteral("default.") + model + QLatin1Char('.') + QLatin1String(field);
}

QString adaptationKey(const QString &name, const char *field)
{
    return name + QLatin1Char('.') + QLatin1String(field);
}

} // namespace

QStringList PrinterModelCatalog::modelNames() const
{
    const QString list = m_config.readString(kKnown, kPrinters);
    if (list.trimmed().isEmpty())
        return {NoModels};
    QStringList names;
    for (const QString &name : list.split(QLatin1Char(','))) {
        if (!name.trimmed().isEmpty())
            names.append(name.trimmed());
    }
    return names.isEmpty() ? QStringList{NoModels} : names;
}

PrinterModel PrinterModelCatalog::model(const QString &name) const
{
    PrinterModel m;
    m.name = name;
    m.x = m_config.readString(kKnown, modelKey(name, "x"));
    m.y = m_config.readString(kKnown, modelKey(name, "y"));
    m.board = m_config.readString(kKnown, modelKey(name, "board"));
    m.direction = m_config.readString(kKnown, modelKey(name, "d"));
    m.image = m_config.readString(kKnown, modelKey(name, "img"));
    return m;
}

std::optional<PrinterAdaptation> PrinterModelCatalog::adaptation() const
{
    const QString name = m_config.readString(kUse, kPrinters).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    PrinterAdaptation a;
    a.name = name;
    a.printerName = m_config.readString(kUse, adaptationKey(name, "PrinterName"));
    a.x = m_config.readString(kUse, adaptationKey(name, "x"));
    a.y = m_config.readString(kUse, adaptationKey(name, "y"));
    a.direction = m_config.readString(kUse, adaptationKey(name, "d"));
    a.board = m_config.readString(kUse, adaptationKey(name, "board"));
    return a;
}

bool PrinterModelCatalog::storeAdaptation(const PrinterAdaptation &a) const
{
    // All six keys reach the file together or not at all.
    m_config.setWriteThrough(false);
    m_config.writeString(kUse, kPrinters, a.name);
    m_config.writeString(kUse, adaptationKey(a.name, "PrinterName"), a.printerName);
    m_config.writeString(kUse, adaptationKey(a.name, "x"), a.x);
    m_config.writeString(kUse, adaptationKey(a.name, "y"), a.y);
    m_config.writeString(kUse, adaptationKey(a.name, "d"), a.direction);
    m_config.writeString(kUse, adaptationKey(a.name, "board"), a.board);
    m_config.setWriteThrough(true);
    return m_config.flush();
}

std::optional<int> directionValue(const QString &direction)
{
    if (direction == QStringLiteral("横向"))
        return 1;
    if (direction == QStringLiteral("纵向"))
        return 0;
    return std::nullopt;
}

} // namespace billprint
