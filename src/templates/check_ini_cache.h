// The per-template layout cache: one small INI file per bill type in
// Temp/CheckIni/<id>.ini, holding the screen box, visibility and initial
// value of every field and the template's remembered options, so that a
// bill window switching templates reads a local file instead of the
// template tables.
//
// File layout (field names in keys are upper case; every lookup ignores
// letter case, so a window may ask with the names as it declares them):
//   [view]        ConfigItems = the family's field names, each followed by ","
//   [viewx]       NAME.x  = SrcX       [viewy]  NAME.y  = SrcY
//   [vieww]       NAME.w  = SrcW       [viewh]  NAME.h  = SrcH
//   [viewv]       NAME.v  = NeedShow   [viewdv] NAME.dv = InitValue
//   [CheckConfig] option name = option value (DMTable rows "cfg...")
//
// A cache is trusted while CKTypeTable.IniFile names it. Clearing that
// column (cache clearing, template clone and import) forces a rebuild on
// next use; the designers and the bill windows' "remember options"
// command rebuild it directly after they change a template.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace billprint {

class AppContext;
class Database;
class IniFile;

// Where and how one field sits on the entry window, as the cache says.
// A field without keys gets these defaults: hidden, 45 x 18 at (30, 25).
struct FieldPlacement
{
    int x = 30;
    int y = 25;
    int width = 45;
    int height = 18;
    bool visible = false;
    QString initValue;

    bool operator==(const FieldPlacement &o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height && visible == o.visible
            && initValue == o.initValue;
    }
};

class CheckIniCache
{
public:
    // `folder` is the Temp/CheckIni folder (created when missing).
    CheckIniCache(const Database &db, QString folder);
    explicit CheckIniCache(AppContext &context);

    // The open cache of a bill type, built first when CKTypeTable.IniFile
    // is empty, names another file, or the file it names is gone. The
    // caller owns the handle. Null only for an id <= 0; when the cache
    // cannot be built the file is opened as it is (possibly empty, so
    // every field then gets the defaults).
    std::unique_ptr<IniFile> OpenCheckInif(int checkTypeId) const;

    // (Re)writes the cache file of a bill type from the template tables
    // and records it in CKTypeTable.IniFile. False with `error` set when
    // the template cannot be read or the file cannot be written; IniFile
    // is then cleared, since the file may still hold the template as it
    // was, so the next OpenCheckInif tries again.
    bool buildCheckIniFile(int checkTypeId, QString *error = nullptr) const;

    // True when OpenCheckInif would use the file as it is.
    bool isCurrent(int checkTypeId) const;

    QString cacheFilePath(int checkTypeId) const;
    static QString cacheFileName(int checkTypeId);  // "<id>.ini"

    // Reading an open cache.
    static FieldPlacement readFieldPlacement(const IniFile &ini, const QString &fieldName);
    static QStringList configItems(const IniFile &ini);  // section "view"
    // A remembered option ("CheckConfig"); empty when not stored.
    static QString checkConfig(const IniFile *ini, const QString &optionName);
    // Remembered switches come in two kinds: most are on only when "1" is
    // stored (onUnlessZero false); a few are on unless "0" is stored.
    static bool checkConfigFlag(const IniFile *ini, const QString &optionName, bool onUnlessZero);

private:
    std::unique_ptr<IniFile> build(int checkTypeId, QString *error) const;

    const Database &m_db;
    QString m_folder;
};

} // namespace billprint
