#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace billprint {

class IniFile;

// A printer model whose whole-print values are known (Config.ini section
// "PrinterWeKnow"): offsets in tenths of a millimetre, where its paper
// guide sits, which way bills go in, and a picture of it.
struct PrinterModel
{
    QString name;
    QString x;
    QString y;
    QString board;      // position of the paper guide, free text
    QString direction;  // "纵向" or "横向"
    QString image;      // picture, relative to the data folder
};

// The user's own adaptation of a model to the printer at hand (Config.ini
// section "printeruse").
struct PrinterAdaptation
{
    QString name;         // the name the adaptation is stored under
    QString printerName;  // the installed printer it is for
    QString x;
    QString y;
    QString direction;
    QString board;
};

// Reads the known models and the user's adaptation from Config.ini.
class PrinterModelCatalog
{
public:
    // Stands as the only model when Config.ini names none.
    static inline const QString NoModels = QStringLiteral("没有预选打印机配置");

    explicit PrinterModelCatalog(IniFile &config) : m_config(config) {}

    // The names of "PrinterWeKnow"/"printers", split at commas.
    QStringList modelNames() const;
    PrinterModel model(const QString &name) const;

    // The stored adaptation; none when "printeruse"/"printers" is empty.
    std::optional<PrinterAdaptation> adaptation() const;
    // Stores the adaptation as the only one. False when Config.ini could
    // not be written.
    bool storeAdaptation(const PrinterAdaptation &adaptation) const;

private:
    IniFile &m_config;
};

// HVPrint of a direction text: 1 for "横向", 0 for "纵向"; none otherwise.
std::optional<int> directionValue(const QString &direction);

} // namespace billprint
