#include "app/data_root.h"
#include "app/lookups.h"
#include "template_fixtures.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_package.h"
#include "templates/ui/tfrm_bill_import_export.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QSqlRecord>
#include <functional>

using namespace billprint;
using namespace billprint::test;

namespace {

QByteArray jpegBytes()
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// Runs statements on a package file as a stranger could have written it.
void tamper(const QString &path, const QStringList &statements, const QVariantList &values = {})
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        raw.setDatabaseName(path);
        ASSERT_TRUE(raw.open());
        for (const QString &sql : statements) {
            QSqlQuery q(raw);
            q.prepare(sql);
            for (const QVariant &v : values)
                q.addBindValue(v);
            EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A digest of a file that may be large.
QByteArray fileDigest(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

// A cheque template with two fields, a catalogue, dictionary rows and a picture.
struct Source
{
    TemplateDb store;
    QString imageFolder = DataRoot(store.folder()).imageFolder();
    TCheckType cheque;

    Source()
    {
        cheque = store.add(5, QStringLiteral("支票"), QStringLiteral("工行'甲"), 9);
        cheque.ImgFile = QStringLiteral("zp5.jpg");
        cheque.XMove = 12;
        cheque.CheckBoxs = QStringLiteral("加急,背书");
        cheque.save(store.db());
        QDir().mkpath(imageFolder);
        QFile pic(imageFolder + cheque.ImgFile);
        pic.open(QIODevice::WriteOnly);
        pic.write(jpegBytes());
        pic.close();
        for (const char *name : {"AMOUNT", "PAYEE"}) {
            CkControl f;
            f.CheckTypeID = 5;
            f.CtlName = QLatin1String(name);
            f.CtlCName = QStringLiteral("金额");
            f.CtlX = 100, f.CtlY = 200, f.CtlW = 300, f.CtlH = 40, f.SrcW = 76, f.FitParam = "2.5";
            f.CtlFontColor = "255", f.Align = "1", f.InitValue = "50%_x", f.CtlType = "TEXT", f.CtlLH = 45;
            f.SrcX = 3, f.SrcY = 4, f.SrcH = 22, f.NeedShow = 1, f.NeedPrint = 1, f.CtlFontName = "黑体";
            f.CtlFontSize = 12, f.Bold = 1, f.BreakNum = "10", f.BreakFontSize = 8, f.ShowOrd = 2;
            CkControlStore(store.db()).save(f);
            NameDict n;
            n.CheckTypeName = QStringLiteral("支票");
            n.CtlName = QLatin1String(name);
            n.CtlLabel = QStringLiteral("标签");
            n.PrintItem = 1;
            NameDictStore(store.db()).save(n);
        }
        store.db().exec("insert into DMTable (CheckTypeId, DMName, DMValue) values (5,'用途','货款'), (5,'cfg','x')");
    }
    QString exportTo(const QString &path)
    {
        QString error;
        EXPECT_TRUE(TemplatePackage::write(store.db(), imageFolder, {5}, path, &error)) << error.toStdString();
        return path;
    }
};

QStringList rows(const Database &db, const QString &sql)
{
    QStringList out;
    QSqlQuery q = db.prepare(sql);
    EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        out << cells.join('|');
    }
    return out;
}

const char *kTemplateColumns = "TypeName,TypeFirstName,TypeDescribe,Visiable,IsDefault,IsCommon,ShowOrd,CheckBoxs,"
                               "TWidth,THeight,PWidth,PHeight,XMove,YMove,HVPrint,GroupCompany,GroupTypeArea";
const char *kFieldColumns = "CtlName,CtlCName,CtlType,CtlX,CtlY,CtlW,CtlH,CtlLH,SrcX,SrcY,SrcW,SrcH,NeedShow,"
                            "NeedPrint,CtlFontName,CtlFontSize,CtlFontColor,Bold,Italic,UnderLine,BreakNum,"
                            "BreakFontSize,FitParam,Align,InitValue,ShowOrd";

} // namespace

TEST(PackageTransfer, ExportThenImportIntoFreshDataReproducesTheTemplate)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("支票-工行.tpk"));
    const QByteArray packageBefore = fileBytes(path);

    TemplateDb target;
    QString error;
    const auto package = TemplatePackage::read(path, &error);
    ASSERT_TRUE(package) << error.toStdString();
    const QString targetImages = DataRoot(target.folder()).imageFolder();
    const QList<int> ids = PackageImporter(target.db(), targetImages).import(*package, {}, ExistingName::MakeUnique, &error);
    ASSERT_EQ(ids, QList<int>{1}) << error.toStdString();

    const QString tpl = QStringLiteral("select %1 from CKTypeTable where CheckTypeID=%2").arg(kTemplateColumns);
    EXPECT_EQ(rows(target.db(), tpl.arg(1)), rows(source.store.db(), tpl.arg(5)));
    const QString fields = QStringLiteral("select %1 from CkControl where CheckTypeID=%2 order by CtlName").arg(kFieldColumns);
    EXPECT_EQ(rows(target.db(), fields.arg(1)), rows(source.store.db(), fields.arg(5)));
    EXPECT_EQ(rows(target.db(), "select CheckTypeName,CtlName,CtlLabel,CtlType,PrintItem,ShowOrd,Groups,CtlData from NameDict order by CtlName"),
              rows(source.store.db(), "select CheckTypeName,CtlName,CtlLabel,CtlType,PrintItem,ShowOrd,Groups,CtlData from NameDict order by CtlName"));
    EXPECT_EQ(rows(target.db(), "select CheckTypeId,DMName,DMValue from DMTable order by ID"),
              (QStringList{"1|用途|货款", "1|cfg|x"}));
    EXPECT_EQ(target.db().scalar("select ImgFile from CKTypeTable").toString(), "zp1.jpg");
    EXPECT_EQ(fileBytes(targetImages + "zp1.jpg"), fileBytes(source.imageFolder + "zp5.jpg"));
    EXPECT_EQ(fileBytes(path), packageBefore);

    // The same package again: the name is taken, so the copy is numbered.
    EXPECT_EQ(PackageImporter(target.db(), targetImages).import(*package, {}, ExistingName::MakeUnique, &error),
              QList<int>{2});
    EXPECT_EQ(target.db().scalar("select TypeName from CKTypeTable where CheckTypeID=2").toString(), "支票（工行'甲2）");
}

TEST(PackageTransfer, HostilePackagesAreRefusedAndChangeNothing)
{
    Source source;
    QTemporaryDir dir;
    const QString good = source.exportTo(dir.filePath("good.tpk"));
    const QByteArray goodBytes = fileBytes(good);
    struct Case
    {
        const char *name;
        std::function<void(const QString &)> spoil;
        const char *reason;  // what the message says after the common start
    };
    const std::vector<Case> cases = {
        {"30 MB non-picture", [](const QString &p) {
             tamper(p, {"update _CKTypeTable set Img_Bytes=?"}, {QByteArray(30 * 1024 * 1024, 'x')}); },
         "底图超过 20 MB"},
        {"text over 64 KB", [](const QString &p) {
             tamper(p, {"update _ckControl set InitValue=?"}, {QString(70000, 'a')}); },
         "表 _ckControl 列 initvalue 的内容超过 64 KB"},
        {"trigger", [](const QString &p) {
             tamper(p, {"create trigger t after insert on _Config begin delete from _Config; end"}); },
         "包中含有不允许的对象 trigger t"},
        {"view", [](const QString &p) { tamper(p, {"create view v as select * from _Config"}); },
         "包中含有不允许的对象 view v"},
        {"fts4 virtual table", [](const QString &p) {
             tamper(p, {"create virtual table notes using fts4(body)", "insert into notes values ('备注')"}); },
         "包中含有虚拟表 notes"},
        {"generated column", [](const QString &p) {
             tamper(p, {"alter table _ckControl add column Shout TEXT GENERATED ALWAYS AS (upper(CtlName)) VIRTUAL"}); },
         "表 _ckControl 含有计算列或隐藏列 Shout"},
        {"expression index", [](const QString &p) {
             tamper(p, {"create index ix_shout on _ckControl (upper(CtlName))"}); },
         "包中含有表达式索引 ix_shout"},
        {"missing column", [](const QString &p) { tamper(p, {"alter table _ckControl rename column CtlName to X"}); },
         "表 _ckControl 缺少列 ctlname"},
        {"1001 templates", [](const QString &p) {
             tamper(p, {"with recursive n(i) as (select 1 union all select i+1 from n where i<1000) "
                        "insert into _CKTypeTable (CheckTypeID, TypeName, ImgFile) select 100+i, 'a（'||i||'）', '' from n"}); },
         "模板超过 1000 个"},
        {"2001 fields in one template", [](const QString &p) {
             tamper(p, {"with recursive n(i) as (select 1 union all select i+1 from n where i<1999) "
                        "insert into _ckControl (CheckTypeID, CtlName) select 5, 'F'||i from n"}); },
         "模板 5 的项目超过 2000 个"},
        {"not SQLite", [](const QString &p) { QFile f(p); f.open(QIODevice::WriteOnly); f.write("PK\3\4 zip"); },
         "不是票据包文件"},
        {"truncated", [&](const QString &p) { QFile f(p); f.open(QIODevice::WriteOnly); f.write(goodBytes.left(goodBytes.size() / 2)); },
         ""},
    };
    const QString images = source.imageFolder;
    const QStringList picturesBefore = QDir(images).entryList(QDir::Files);
    const QStringList templatesBefore = rows(source.store.db(), "select CheckTypeID, TypeName from CKTypeTable");
    for (const auto &[name, spoil, reason] : cases) {
        const QString path = dir.filePath(QString::fromUtf8(name) + ".tpk");
        QFile::copy(good, path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        spoil(path);
        const QByteArray spoiled = fileDigest(path);
        QString error;
        const auto package = TemplatePackage::read(path, &error);
        EXPECT_FALSE(package) << name;
        EXPECT_TRUE(error.startsWith(QStringLiteral("票据包无法导入：") + QString::fromUtf8(reason)))
            << name << ": " << error.toStdString();
        EXPECT_EQ(fileDigest(path), spoiled) << name;
        EXPECT_EQ(QDir(images).entryList(QDir::Files), picturesBefore) << name;
        EXPECT_EQ(rows(source.store.db(), "select CheckTypeID, TypeName from CKTypeTable"), templatesBefore) << name;
    }
}

// The package of an attacker: a thousand templates of one id sharing a
// million fields. Refused on counting, before a row is fetched.
TEST(PackageTransfer, AThousandTemplatesSharingAMillionFieldsAreRefusedAtOnce)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("million.tpk"));
    tamper(path, {"with recursive n(i) as (select 1 union all select i+1 from n where i<999) "
                  "insert into _CKTypeTable (CheckTypeID, TypeName, ImgFile) select 5, 'a（'||i||'）', '' from n",
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<1000000) "
                  "insert into _ckControl (CheckTypeID, CtlName) select 5, 'F'||i from n"});
    QElapsedTimer timer;
    timer.start();
    QString error;
    EXPECT_FALSE(TemplatePackage::read(path, &error));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(error, "票据包无法导入：项目超过 32000 个");
}

// Too large a file is refused on its size, before SQLite sees it.
TEST(PackageTransfer, AFileOver200MbIsRefusedUnopened)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("huge.tpk"));
    QFile(path).resize(201LL * 1024 * 1024);  // a sound package, padded
    QElapsedTimer timer;
    timer.start();
    QString error;
    EXPECT_FALSE(TemplatePackage::read(path, &error));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(error, "票据包无法导入：文件超过 200 MB");
}

// Eight templates of two thousand fields each: the largest a package may
// carry per template, imported in one go and quickly (each field is found
// through the field name index, not by reading the template's fields; its
// speed is measured by BM_ImportPackage/2000/8).
TEST(PackageTransfer, SixteenThousandFieldsAreImported)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("large.tpk"));
    tamper(path, {"delete from _ckControl",
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<7) "
                  "insert into _CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, ImgFile) "
                  "select 5+i, '支票（批量'||i||'）', '支票', '批量'||i, '' from n",
                  "with recursive n(i) as (select 0 union all select i+1 from n where i<15999) "
                  "insert into _ckControl (CheckTypeID, CtlName, CtlCName, CtlX, CtlY, SrcW) "
                  "select 5 + i/2000, 'defcheck'||(i%2000), '勾选'||i, i%2000, 300, 76 from n"});
    TemplateDb target;
    QString error;
    const auto package = TemplatePackage::read(path, &error);
    ASSERT_TRUE(package) << error.toStdString();
    const QList<int> ids = PackageImporter(target.db(), DataRoot(target.folder()).imageFolder())
                               .import(*package, {}, ExistingName::MakeUnique, &error);
    ASSERT_EQ(ids, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8})) << error.toStdString();
    EXPECT_EQ(target.count("select count(*) from CkControl"), 16000);
    EXPECT_EQ(target.count("select count(distinct CheckTypeID) from CkControl"), 8);
    EXPECT_EQ(rows(target.db(), "select CheckTypeID, CtlName, CtlCName, CtlX, CtlW, CtlH from CkControl "
                                "where CtlName='DEFCHECK1999' order by CheckTypeID limit 2"),
              (QStringList{"1|DEFCHECK1999|勾选1999|1999|200|42", "2|DEFCHECK1999|勾选3999|1999|200|42"}));
}

// Two hundred templates of one family, whose catalogue has two thousand
// names: each name is looked up once per family, not scanned for per
// template (that took minutes), and the target's own names win.
TEST(PackageTransfer, AFamilyCatalogueOfTwoThousandNamesIsImportedOnce)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("family.tpk"));
    tamper(path, {"with recursive n(i) as (select 1 union all select i+1 from n where i<199) "
                  "insert into _CKTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, ImgFile) "
                  "select 5+i, '支票（分行'||i||'）', '支票', '分行'||i, '' from n",
                  "with recursive n(i) as (select 1 union all select i+1 from n where i<1997) "
                  "insert into _NameDict (CheckTypeName, CtlName, CtlLabel) select '支票', 'n'||i, '名称'||i from n",
                  "insert into _NameDict (CheckTypeName, CtlName, CtlLabel) values ('支票', 'amount', '重复的')"});
    TemplateDb target;
    NameDict own;
    own.CheckTypeName = QStringLiteral("支票");
    own.CtlName = QStringLiteral("payee");
    own.CtlLabel = QStringLiteral("本地的");
    NameDictStore(target.db()).save(own);
    QString error;
    const auto package = TemplatePackage::read(path, &error);
    ASSERT_TRUE(package) << error.toStdString();
    EXPECT_EQ(PackageImporter(target.db(), DataRoot(target.folder()).imageFolder())
                  .import(*package, {}, ExistingName::MakeUnique, &error).size(), 200) << error.toStdString();
    EXPECT_EQ(target.count("select count(*) from NameDict where CheckTypeName='支票'"), 1999);
    EXPECT_EQ(rows(target.db(), "select CtlName, CtlLabel from NameDict where CtlName in ('AMOUNT','PAYEE','N1997') "
                                "order by CtlName"),
              (QStringList{"AMOUNT|标签", "N1997|名称1997", "PAYEE|本地的"}));
}

// A bad template is refused on its own: the package still reads, the
// template carries its problem, and the all-or-nothing import (the
// headless command's) refuses without changing anything.
TEST(PackageTransfer, ABadTemplateIsRefusedAloneAndTheStrictImportChangesNothing)
{
    Source source;
    QTemporaryDir dir;
    const QString good = source.exportTo(dir.filePath("good.tpk"));
    const struct
    {
        const char *name;
        const char *statement;
        QVariantList values;
        const char *problem;
    } cases[] = {
        {"parent folder", "update _CKTypeTable set ImgFile='../../evil.jpg'", {}, "底图名称不安全：../../evil.jpg"},
        {"absolute path", "update _CKTypeTable set ImgFile='/tmp/x.jpg'", {}, "底图名称不安全：/tmp/x.jpg"},
        {"backslash", "update _CKTypeTable set ImgFile='..\\x.jpg'", {}, "底图名称不安全：..\\x.jpg"},
        {"drive letter", "update _CKTypeTable set ImgFile='C:x.jpg'", {}, "底图名称不安全：C:x.jpg"},
        {"small non-picture", "update _CKTypeTable set Img_Bytes=?", {QByteArray("not a picture")},
         "底图不是可读的图片"},
        {"id 0", "update _CKTypeTable set CheckTypeID=0", {}, "模板编号无效：0"},
    };
    const QString images = source.imageFolder;
    const QStringList picturesBefore = QDir(images).entryList(QDir::Files);
    const QStringList templatesBefore = rows(source.store.db(), "select CheckTypeID, TypeName from CKTypeTable");
    for (const auto &tc : cases) {
        const QString path = dir.filePath(QString::fromUtf8(tc.name) + ".tpk");
        QFile::copy(good, path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        tamper(path, {QString::fromUtf8(tc.statement)}, tc.values);
        QString error;
        const auto package = TemplatePackage::read(path, &error);
        ASSERT_TRUE(package) << tc.name << ": " << error.toStdString();
        ASSERT_EQ(package->templates().size(), 1u) << tc.name;
        EXPECT_EQ(package->templates().front().problem, QString::fromUtf8(tc.problem)) << tc.name;
        EXPECT_TRUE(PackageImporter(source.store.db(), images).import(*package, {}, ExistingName::MakeUnique, &error)
                        .isEmpty()) << tc.name;
        EXPECT_EQ(error, QStringLiteral("导入失败，单据：支票（工行'甲），") + QString::fromUtf8(tc.problem)) << tc.name;
        EXPECT_EQ(QDir(images).entryList(QDir::Files), picturesBefore) << tc.name;
        EXPECT_EQ(rows(source.store.db(), "select CheckTypeID, TypeName from CKTypeTable"), templatesBefore) << tc.name;
    }
}

// Updating the family's default from a package keeps the family's default:
// the new template takes over the marks and the place of the one replaced.
TEST(PackageTransfer, AReplacedTemplateHandsItsDefaultAndCommonMarksOn)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("支票-工行.tpk"));
    TemplateDb target;
    const QString images = DataRoot(target.folder()).imageFolder();
    target.add(1, QStringLiteral("支票"), QStringLiteral("工行'甲"), 40, TemplateFlag::Default);
    target.add(2, QStringLiteral("支票"), QStringLiteral("建行"), 7);
    QString error;
    const auto package = TemplatePackage::read(path, &error);
    ASSERT_TRUE(package) << error.toStdString();
    ASSERT_EQ(PackageImporter(target.db(), images).import(*package, {}, ExistingName::Replace, &error), QList<int>{3})
        << error.toStdString();
    EXPECT_EQ(target.count("select count(*) from CKTypeTable where CheckTypeID=1"), 0);
    EXPECT_EQ(rows(target.db(), "select IsDefault, IsCommon, ShowOrd from CKTypeTable where CheckTypeID=3"),
              QStringList{"默认|是|40"});
    EXPECT_EQ(Lookups(target.db()).loadDefaultCheckTypeId(QStringLiteral("支票")), 3);

    // One the user took off the common list stays off it.
    target.db().exec("update CKTypeTable set IsDefault='0', IsCommon='否', ShowOrd=5 where CheckTypeID=3");
    // The replaced template had the highest id, so the new one gets it again.
    ASSERT_EQ(PackageImporter(target.db(), images).import(*package, {}, ExistingName::Replace, &error), QList<int>{3});
    EXPECT_EQ(rows(target.db(), "select IsDefault, IsCommon, ShowOrd from CKTypeTable where CheckTypeID=3"),
              QStringList{"0|否|5"});
}

TEST(PackageTransfer, AFailingImportLeavesDatabaseAndPicturesAsTheyWere)
{
    Source source;
    QTemporaryDir dir;
    const QString path = source.exportTo(dir.filePath("p.tpk"));
    QString error;
    const auto package = TemplatePackage::read(path, &error);
    ASSERT_TRUE(package);
    // A picture folder that cannot be written makes the import fail after
    // its rows were stored.
    const QString blocked = dir.filePath("blocked");
    QFile(blocked).open(QIODevice::WriteOnly);
    const int before = source.store.count("select count(*) from CkControl");
    EXPECT_TRUE(PackageImporter(source.store.db(), blocked + "/").import(*package, {}, ExistingName::MakeUnique, &error).isEmpty());
    EXPECT_TRUE(error.startsWith("导入失败，单据：")) << error.toStdString();
    EXPECT_EQ(source.store.count("select count(*) from CKTypeTable"), 1);
    EXPECT_EQ(source.store.count("select count(*) from CkControl"), before);
}

TEST(PackageTransfer, HeadlessExportAndImport)
{
    Source source;
    TemplateDb target;
    QTemporaryDir dir;
    const QString path = dir.filePath("out.tpk");
    ProgramResult exported = runProgram({"--data", source.store.folder(), "package", "export", "--template", "5", path});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, "5\n");
    ProgramResult imported = runProgram({"--data", target.folder(), "package", "import", path, "--template", "支票（工行'甲）"});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, "1\n");
    ProgramResult unknown = runProgram({"--data", target.folder(), "package", "import", path, "--template", "无此模板"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.out, "");
    tamper(path, {"create virtual table notes using fts4(body)"});
    ProgramResult hostile = runProgram({"--data", target.folder(), "package", "import", path});
    EXPECT_EQ(hostile.exitCode, 2);
    EXPECT_EQ(hostile.out, "");
    EXPECT_TRUE(hostile.err.contains("票据包无法导入：包中含有虚拟表 notes")) << hostile.err.toStdString();
    EXPECT_EQ(target.count("select count(*) from CKTypeTable"), 1);
}

// One bad template in a package costs only itself: the others are
// imported, the bad ones are named, and a template without a picture
// comes in with a warning.
TEST(PackageWindow, ImportsTheGoodTemplatesAndNamesTheRefusedOnes)
{
    TemplateDb source;
    const QString sourceImages = DataRoot(source.folder()).imageFolder();
    QDir().mkpath(sourceImages);
    const struct
    {
        int id;
        const char *last;
        bool picture;
    } templates[] = {{7, "甲公司", true}, {8, "乙公司", false}, {9, "丙公司", true}, {10, "丁公司", true},
                     {11, "戊公司", true}};
    for (const auto &t : templates) {
        TCheckType row = source.add(t.id, QStringLiteral("快递单"), QString::fromUtf8(t.last));
        if (!t.picture)
            continue;
        row.ImgFile = QStringLiteral("kdd%1.jpg").arg(t.id);
        row.save(source.db());
        QFile pic(sourceImages + row.ImgFile);
        pic.open(QIODevice::WriteOnly);
        pic.write(jpegBytes());
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("快递单等5个模板.tpk");
    QString error;
    ASSERT_TRUE(TemplatePackage::write(source.db(), sourceImages, {7, 8, 9, 10, 11}, path, &error))
        << error.toStdString();
    tamper(path, {"update _CKTypeTable set Img_Bytes=x'00112233' where CheckTypeID=9",
                  "update _CKTypeTable set CheckTypeID=0 where CheckTypeID=10",
                  "update _CKTypeTable set TypeName='' where CheckTypeID=11"});

    TemplateDb target;
    AlertRecorder alerts;
    TfrmBillImportExport window(target.context(), true);
    window.choosePackage(path);
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == "->>")
            b->click();
    ASSERT_EQ(window.importChosen()->count(), 5);
    window.startImport();
    EXPECT_TRUE(alerts.sawMessage("导入图片失败~\n快递单（乙公司）"));
    EXPECT_TRUE(alerts.sawMessage("导入失败，单据：快递单（丙公司）（底图不是可读的图片）"));
    EXPECT_TRUE(alerts.sawMessage("导入失败，单据：快递单（丁公司）（模板编号无效：0）"));
    EXPECT_TRUE(alerts.sawMessage("导入失败，单据：（无名称，包中编号11）（模板没有名称）"));
    EXPECT_EQ(alerts.messages().last(), "导入结束，成功导入单据2个，失败3个!");
    EXPECT_EQ(rows(target.db(), "select CheckTypeID, TypeName, ImgFile from CKTypeTable order by CheckTypeID"),
              (QStringList{"1|快递单（乙公司）|", "2|快递单（甲公司）|kdd2.jpg"}));
    EXPECT_TRUE(target.context().config().readString("ERROR", "LASTERROR").startsWith("导入失败，单据："));
}
