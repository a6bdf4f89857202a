#pragma once

#include <QString>

namespace billprint {

class Database;

// Names of the system options kept in `configtable`.
namespace SettingKey {
inline const QString LoginRequired = QStringLiteral("进入系统需验证");
inline const QString PrinterDialogFirst = QStringLiteral("打印前弹出打印机设置");
inline const QString DefaultDrawerOn = QStringLiteral("启用默认出票人");
inline const QString BackgroundOn = QStringLiteral("启用系统背景");
inline const QString DefaultPrinter = QStringLiteral("DefaultPrinter");
inline const QString MsExcelFirst = QStringLiteral("MS EXCEL FIRST");
inline const QString DataVersion = QStringLiteral("version");
inline const QString PartyListSplit = QStringLiteral("单位下拉框区分收、发件人");
} // namespace SettingKey

// The system settings table `configtable` and the per-template options in
// `DMTable`. Every value is a bound parameter.
class SystemSettings
{
public:
    explicit SystemSettings(const Database &db) : m_db(db) {}

    // Names are matched trimmed and without regard to letter case, by the
    // read and the write alike.
    // The value stored under `name`; empty when there is no row or the
    // table cannot be read.
    QString getConfigByname(const QString &name) const;
    // Updates the row of `name`, or adds it (trimmed) when there is none.
    // Returns false with `error` set when the database refuses.
    bool setConfigByname(const QString &name, const QString &value, QString *error = nullptr) const;

    // Boolean settings: "yes" and "1" are on, anything else is off.
    bool isOn(const QString &name) const;
    bool setOn(const QString &name, bool on, QString *error = nullptr) const;
    static bool isOnText(const QString &value);

    // Stores a per-template option; the name matches without regard to
    // letter case. Shows the failure to the user and returns false.
    bool setCheckConfigByName(int checkTypeId, const QString &name, const QString &value) const;
    QString getCheckConfigByName(int checkTypeId, const QString &name) const;

    // Number of rows in `table`; 0 with a message when it cannot be counted.
    int CountTableAllRows(const QString &table) const;

private:
    const Database &m_db;
};

// Schema helpers for readers that meet a database lacking a column.
namespace TDBTable {
bool ColumnExists(const QString &table, const QString &column, const Database &db);
// Adds `column` to `table`. Types: "text"/"string"/"varchar" (size, default
// 50), "numeric"/"number"/"long", "integer"/"int", or any SQL type text.
// `error` (optional) receives the reason of a failure.
bool AddColumn(const QString &table, const QString &column, const Database &db,
               const QString &size, const QString &type, QString *error = nullptr);
// The SQL type AddColumn uses for `size` and `type`; empty when the type is
// not a plain type name.
QString ColumnSqlType(const QString &size, const QString &type);
} // namespace TDBTable

} // namespace billprint
