#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

class QSqlQuery;

namespace billprint {

class Database;

// The texts stored in the flag columns of CKTypeTable.
namespace TemplateFlag {
inline const QString Enabled = QStringLiteral("启用");      // Visiable: listed and usable
inline const QString Hidden = QStringLiteral("停用隐藏");   // Visiable: stopped
inline const QString Default = QStringLiteral("默认");      // IsDefault: the family's default
inline const QString NotDefault = QStringLiteral("0");
inline const QString Common = QStringLiteral("是");         // IsCommon: a quick-choice tab
inline const QString NotCommon = QStringLiteral("否");
} // namespace TemplateFlag

// One bill template: a row of CKTypeTable. A plain value; the finders hand
// the caller its own copy.
//
// Identity is the positive CheckTypeID; the user-visible key is the full
// name TypeName = family（variant）. Operations that report "none" or
// false swallow database failures as the rest of the program expects,
// but give the message through `error` to callers that want it;
// operations that change data throw TemplateError.
class TCheckType
{
public:
    int CheckTypeID = 0;
    QString TypeFirstName;   // bill family; empty in old rows, see getFirstName
    QString TypeName;        // full name first（last）
    QString TypeDescribe;    // last name: bank or carrier variant
    QString ImgFile;         // background picture inside Image/
    QString IniFile;         // INI cache file; empty = rebuild before use
    QString Visiable;        // TemplateFlag::Enabled / Hidden
    QString CheckBoxs;       // captions of DEFCHECK0, DEFCHECK1, ...
    QString IsDefault;       // TemplateFlag::Default / NotDefault
    QString IsCommon;        // TemplateFlag::Common / NotCommon
    QString PreImgURL;       // never loaded; every save writes it empty
    QString GroupCompany;
    QString GroupTypeArea;
    int XMove = 0;           // whole-print offset, 0.1 mm
    int YMove = 0;
    int TWidth = 0;          // picture size on the entry window, pixels
    int THeight = 0;
    int PWidth = 0;          // paper size, 0.1 mm
    int PHeight = 0;
    int HVPrint = 0;         // 1 = landscape
    int IsSysCommon = 0;
    int ShowOrd = 0;         // order among the common templates, higher first
    int NewCheckTypeId = 0;  // id given to the last save(newId)
    int RowVersion = 0;      // raised by every designer step (TemplateEditWriter)
    QByteArray ImageBytes;   // picture bytes; only rows read from a package have them

    // Defaults of the columns that older databases lack.
    static constexpr int DefaultPWidth = 2300;
    static constexpr int DefaultPHeight = 1200;
    static constexpr int DefaultIsSysCommon = 1;
    // Order values are renumbered before they leave this range.
    static constexpr int ShowOrdLimit = 65530;

    // --- finders: none for empty or invalid keys, no row or a failure ---
    static std::optional<TCheckType> findById(const Database &db, int id, QString *error = nullptr);
    static std::optional<TCheckType> findByTypeName(const Database &db, const QString &typeName,
                                                    QString *error = nullptr);
    static std::optional<TCheckType> findByFirstAndLastName(const Database &db, const QString &first,
                                                            const QString &last, QString *error = nullptr);
    // The default template of a family. Old rows without a stored first
    // name count by the first name taken from their full name. Of several
    // defaults (a clone of the default is one too) the first in order.
    static std::optional<TCheckType> findDefaultByFirstName(const Database &db, const QString &first,
                                                            QString *error = nullptr);
    // A template of a package file (table _CKTypeTable), with its picture
    // bytes. The package is only read.
    static std::optional<TCheckType> findInPackage(const Database &package, const QString &typeName,
                                                   QString *error = nullptr);

    // Reads this template's row again: 1 loaded, 0 no such row, -1 for an
    // id <= 0 or a failure (the object is then unchanged).
    int reload(const Database &db, QString *error = nullptr);

    // Fills the fields from the query's current row. Columns that older
    // tables lack get their defaults and are listed in `absentColumns`;
    // a row without one of the other columns is refused (false, `error`).
    bool loadFromQuery(const QSqlQuery &query, bool fromPackage, QStringList *absentColumns = nullptr,
                       QString *error = nullptr);

    // Stores the template. With -1 the row is this object's CheckTypeID
    // (added when there is none); with a new id the template is stored as
    // that id and NewCheckTypeId remembers it. Returns 1; throws
    // TemplateError with the database's message on failure.
    int save(const Database &db, int newId = -1);

    // max(CheckTypeID)+1, at least 1. Database errors are thrown.
    static int nextCheckTypeId(const Database &db);
    // The same; any failure throws "获取最大单据模版编号失败~".
    static int newCheckTypeId(const Database &db);
    // An order value above / below every template's, renumbering all
    // templates (defaults first) when it would leave ±ShowOrdLimit.
    static int topShowOrd(const Database &db);
    static int bottomShowOrd(const Database &db);
    // Makes the named template the only default of its family, common,
    // enabled and first in order, all or nothing. False when there is no
    // such template; database failures are thrown.
    static bool setDefaultByTypeName(const Database &db, const QString &typeName);
    // Removes the template with its fields and its own dictionary and
    // option rows, all or nothing. False when there is no such template.
    // The picture file is the caller's to remove.
    static bool deleteTemplate(const Database &db, int id);

    // The bill family: TypeFirstName, else taken from TypeName.
    QString getFirstName() const;
    static QString firstNameOf(const QString &typeFirstName, const QString &typeName);
    void setFullName(const QString &first, const QString &last);
    static QString fullName(const QString &first, const QString &last);

    bool isEnabled() const { return Visiable == TemplateFlag::Enabled; }
    bool isDefault() const { return IsDefault == TemplateFlag::Default; }
    bool isCommon() const { return IsCommon == TemplateFlag::Common; }
    bool isLandscape() const { return HVPrint == 1; }
    // Caption n belongs to the field DEFCHECKn.
    QStringList checkBoxCaptions() const;
    // The picture to show: ImgFile, or the fallback picture when empty.
    QString pictureFile() const;
    static QString fallbackPicture() { return QStringLiteral("dhd_default.jpg"); }
    // Name for the picture of a new template: family code (or the given
    // prefix when the family has none) + id + ".jpg".
    static QString newPictureName(const QString &familyCode, int id, const QString &prefixWithoutCode);

private:
    // Runs a query expected to give at most one row and loads it into
    // `target`: 1 loaded, 0 no row, -1 failure.
    static int loadOne(const Database &db, const QString &sql, const QVariantList &values,
                       bool fromPackage, TCheckType *target, QString *error);
};

} // namespace billprint
