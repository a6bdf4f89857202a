// Writing a template package: the chosen templates with their fields,
// family catalogue, dictionary rows and pictures, built in a temporary
// file and put in place at once.
#include "templates/template_package.h"

#include "app/database.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/package_connection.h"
#include "templates/template_error.h"
#include "templates/template_picture_store.h"

#include <QFile>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace billprint {

namespace {

// The package schema. Columns mirror the program's tables; the picture
// travels as bytes.
const char *const kSchema[] = {
    "CREATE TABLE _CKTypeTable (CheckTypeID INTEGER, TypeName TEXT, TypeFirstName TEXT, TypeDescribe TEXT,"
    " XMove INTEGER, YMove INTEGER, THeight INTEGER, TWidth INTEGER, GroupCompany TEXT, GroupTypeArea TEXT,"
    " PHeight INTEGER, PWidth INTEGER, HVPrint INTEGER, ImgFile TEXT, Visiable TEXT, CheckBoxs TEXT,"
    " IsCommon TEXT, ShowOrd INTEGER, IsDefault TEXT, IsSysCommon INTEGER, Img_Bytes BLOB, Ini_Text TEXT)",
    "CREATE TABLE _ckControl (CheckTypeID INTEGER, CtlName TEXT, CtlCName TEXT, CtlType TEXT, CtlX INTEGER,"
    " CtlY INTEGER, CtlW INTEGER, CtlH INTEGER, CtlLH INTEGER, SrcX INTEGER, SrcY INTEGER, SrcH INTEGER,"
    " SrcW INTEGER, NeedPrint INTEGER, NeedShow INTEGER, CtlFontName TEXT, CtlFontSize INTEGER,"
    " BreakFontSize INTEGER, CtlFontColor TEXT, Bold INTEGER, Italic INTEGER, UnderLine INTEGER,"
    " fitParam TEXT, BreakNum TEXT, Align TEXT, InitValue TEXT, ShowOrd INTEGER)",
    "CREATE TABLE _Config (Id INTEGER PRIMARY KEY AUTOINCREMENT, DMName TEXT, DMValue TEXT, CheckTypeId INTEGER)",
    "CREATE TABLE _NameDict (CheckTypeName TEXT, CtlName TEXT, CtlLabel TEXT, CtlType TEXT, PrintItem INTEGER,"
    " ShowOrd INTEGER, Groups TEXT, CtlData TEXT)",
};

bool writeTemplate(const Database &db, const QString &imageFolder, int id, PackageConnection &c,
                   QStringList *families, QString *error)
{
    const std::optional<TCheckType> t = TCheckType::findById(db, id, error);
    if (!t) {
        if (error->isEmpty())
            *error = QStringLiteral("找不到模板，ID=%1").arg(id);
        return false;
    }
    QByteArray picture;
    if (TemplatePackage::isSafePictureName(t->ImgFile)) {
        // A picture another desk of a shared database set may not be here yet.
        if (!TemplatePictureStore(db, imageFolder).ensureLocal(t->ImgFile, error))
            return false;
        QFile f(imageFolder + t->ImgFile);
        if (f.open(QIODevice::ReadOnly))
            picture = f.readAll();
    }
    // Exported templates arrive as common, non-default templates.
    if (!c.exec(QStringLiteral("insert into _CKTypeTable (CheckTypeID,TypeName,TypeFirstName,TypeDescribe,XMove,YMove,"
                               "THeight,TWidth,GroupCompany,GroupTypeArea,PHeight,PWidth,HVPrint,ImgFile,Visiable,"
                               "CheckBoxs,IsCommon,ShowOrd,IsDefault,IsSysCommon,Img_Bytes,Ini_Text) "
                               "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                error,
                {t->CheckTypeID, t->TypeName, t->getFirstName(), t->TypeDescribe, t->XMove, t->YMove, t->THeight,
                 t->TWidth, t->GroupCompany, t->GroupTypeArea, t->PHeight, t->PWidth, t->HVPrint, t->ImgFile,
                 t->Visiable, t->CheckBoxs, TemplateFlag::Common, 9, TemplateFlag::NotDefault, t->IsSysCommon,
                 picture, QStringLiteral(" ")}))
        return false;
    for (const CkControl &f : CkControlStore(db).loadAll(id)) {
        if (!c.exec(QStringLiteral("insert into _ckControl (CheckTypeID,CtlName,CtlCName,CtlType,CtlX,CtlY,CtlW,CtlH,"
                                   "CtlLH,SrcX,SrcY,SrcH,SrcW,NeedPrint,NeedShow,CtlFontName,CtlFontSize,BreakFontSize,"
                                   "CtlFontColor,Bold,Italic,UnderLine,fitParam,BreakNum,Align,InitValue,ShowOrd) "
                                   "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                    error,
                    {id, f.CtlName, f.CtlCName, f.CtlType, f.CtlX, f.CtlY, f.CtlW, f.CtlH, f.CtlLH, f.SrcX, f.SrcY,
                     f.SrcH, f.SrcW, f.NeedPrint, f.NeedShow, f.CtlFontName, f.CtlFontSize, f.BreakFontSize,
                     f.CtlFontColor, f.Bold, f.Italic, f.UnderLine, f.FitParam, f.BreakNum, f.Align, f.InitValue,
                     f.ShowOrd}))
            return false;
    }
    QSqlQuery dm(db.connection());
    if (!db.run(dm, QStringLiteral("select DMName, DMValue from DMTable where CheckTypeId=? order by ID"), {id}, error))
        return false;
    while (dm.next())
        if (!c.exec(QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values (?,?,?)"), error,
                    {dm.value(0), dm.value(1), id}))
            return false;
    const QString family = t->getFirstName();
    if (families->contains(family))
        return true;
    families->append(family);
    for (const NameDict &n : NameDictStore(db).listFamily(family))
        if (!c.exec(QStringLiteral("insert into _NameDict (CheckTypeName,CtlName,CtlLabel,CtlType,PrintItem,ShowOrd,"
                                   "Groups,CtlData) values (?,?,?,?,?,?,?,?)"),
                    error, {n.CheckTypeName, n.CtlName, n.CtlLabel, n.CtlType, n.PrintItem, n.ShowOrd, n.Groups,
                            n.CtlData}))
            return false;
    return true;
}

} // namespace

bool TemplatePackage::write(const Database &db, const QString &imageFolder, const QList<int> &ids,
                            const QString &outPath, QString *error)
{
    if (ids.isEmpty()) {
        *error = QStringLiteral("还没有选择要导出的票据格式！");
        return false;
    }
    QTemporaryDir work;
    const QString temp = work.filePath(QStringLiteral("package.tpk"));
    try {
        PackageConnection c;
        if (!c.openForWriting(temp, error))
            return false;
        for (const char *sql : kSchema)
            if (!c.exec(QLatin1String(sql), error))
                return false;
        if (!c.exec(QStringLiteral("insert into _Config (DMName,DMValue,CheckTypeId) values ('version',?,0)"), error,
                    {QStringLiteral(BILLPRINT_VERSION)}))
            return false;
        QStringList families;
        if (!c.exec(QStringLiteral("BEGIN"), error))
            return false;
        for (int id : ids)
            if (!writeTemplate(db, imageFolder, id, c, &families, error))
                return false;
        if (!c.exec(QStringLiteral("COMMIT"), error))
            return false;
    } catch (const TemplateError &e) {
        *error = e.message();
        return false;
    }
    QFile built(temp);
    QSaveFile out(outPath);
    if (!built.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    const QByteArray bytes = built.readAll();
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace billprint
