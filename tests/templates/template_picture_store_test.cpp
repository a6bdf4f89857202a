// Template pictures of an office sharing one database: desk A sets a
// picture (package import, clone), desk B, whose picture folder lacks it,
// gets it from the database before showing it. Both desks use one
// database here with a picture folder each; sharing is forced on SQLite.

#include "app/data_root.h"
#include "template_fixtures.h"
#include "templates/ck_control.h"
#include "templates/template_catalogue.h"
#include "templates/template_package.h"
#include "templates/template_picture_store.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

using namespace billprint;
using namespace billprint::test;

namespace {

const QString kZp1Hash = QStringLiteral("80f5fd54f8784a7c6c5caf299a31404b3c618cce7805e4c3827630a561644bc1");
const QString kZp2Hash = QStringLiteral("8590dccc854add03aecde48d743a721640d1c7ee2b912b658192c4cb50da6979");

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

ino_t inodeOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_ino;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Two desks on one database: A's data root holds it, B has its own picture folder.
struct Office
{
    TemplatePictureStore::ForcedSharing sharing{true};
    TemplateDb deskA;
    QString imagesA = DataRoot(deskA.folder()).imageFolder();
    QTemporaryDir deskB;
    QString imagesB = DataRoot(deskB.path()).imageFolder();
    TemplatePictureStore storeA{deskA.db(), imagesA};
    TemplatePictureStore storeB{deskA.db(), imagesB};

    // A cheque template at desk A showing `picture` as `file`.
    void addCheque(int id, const QString &file, const QByteArray &picture)
    {
        TCheckType t = deskA.add(id, QStringLiteral("支票"), QStringLiteral("工行%1").arg(id));
        t.ImgFile = file;
        t.save(deskA.db());
        writeFile(imagesA + file, picture);
    }
    QVariant stored(const char *column, const QString &file)
    {
        return deskA.db().scalar(QStringLiteral("select %1 from TemplatePicture where FileName=?").arg(QLatin1String(column)),
                                 {file});
    }
    int storedCount() { return deskA.count("select count(*) from TemplatePicture"); }
};

// A package holding one cheque template whose picture is `picture`.
QString packageWith(const QString &path, const QByteArray &picture)
{
    TemplateDb vendor;
    const QString images = DataRoot(vendor.folder()).imageFolder();
    TCheckType t = vendor.add(7, QStringLiteral("支票"), QStringLiteral("农行"));
    t.ImgFile = QStringLiteral("zp7.jpg");
    t.TWidth = 855, t.THeight = 304;
    t.save(vendor.db());
    writeFile(images + t.ImgFile, picture);
    QString error;
    EXPECT_TRUE(TemplatePackage::write(vendor.db(), images, {7}, path, &error)) << error.toStdString();
    return path;
}

} // namespace

TEST(SharedTemplatePictures, APackageImportedAtOneDeskIsShownAtTheOther)
{
    Office office;
    const QByteArray zp1 = bytesOf(QStringLiteral(":/images/zp1.jpg"));
    ASSERT_EQ(zp1.size(), 84505);
    QTemporaryDir dir;
    QString error;
    const auto package = TemplatePackage::read(packageWith(dir.filePath("农行.tpk"), zp1), &error);
    ASSERT_TRUE(package) << error.toStdString();
    const QList<int> ids = PackageImporter(office.deskA.db(), office.imagesA).import(*package, {}, ExistingName::MakeUnique, &error);
    ASSERT_EQ(ids, QList<int>{1}) << error.toStdString();

    EXPECT_EQ(office.stored("PictureHash", "zp1.jpg").toString(), kZp1Hash);
    EXPECT_EQ(office.stored("PictureSize", "zp1.jpg").toInt(), 84505);
    EXPECT_EQ(office.stored("Picture", "zp1.jpg").toByteArray(), zp1);
    EXPECT_FALSE(office.stored("StoredAt", "zp1.jpg").toString().isEmpty());

    ASSERT_FALSE(QFile::exists(office.imagesB + "zp1.jpg"));
    EXPECT_TRUE(office.storeB.ensureLocal(QStringLiteral("zp1.jpg"), &error)) << error.toStdString();
    EXPECT_EQ(bytesOf(office.imagesB + "zp1.jpg"), zp1);
    EXPECT_EQ(QDir(office.imagesB).entryList(QDir::Files), QStringList{"zp1.jpg"});  // no temporary file left
}

TEST(SharedTemplatePictures, APictureChangedAtOneDeskIsRefreshedAtTheOther)
{
    Office office;
    const QByteArray zp1 = bytesOf(QStringLiteral(":/images/zp1.jpg"));
    const QByteArray zp2 = bytesOf(QStringLiteral(":/images/zp2.jpg"));
    office.addCheque(3, QStringLiteral("zp3.jpg"), zp1);
    QString error;
    ASSERT_TRUE(office.storeA.publish(QStringLiteral("zp3.jpg"), &error)) << error.toStdString();
    ASSERT_TRUE(office.storeB.ensureLocal(QStringLiteral("zp3.jpg"), &error)) << error.toStdString();

    writeFile(office.imagesA + "zp3.jpg", zp2);
    ASSERT_TRUE(office.storeA.publish(QStringLiteral("zp3.jpg"), &error)) << error.toStdString();
    EXPECT_EQ(office.storedCount(), 1);  // replaced by name, not added
    EXPECT_EQ(office.stored("PictureHash", "zp3.jpg").toString(), kZp2Hash);
    EXPECT_EQ(office.stored("PictureSize", "zp3.jpg").toInt(), 93158);

    EXPECT_TRUE(office.storeB.ensureLocal(QStringLiteral("zp3.jpg"), &error)) << error.toStdString();
    EXPECT_EQ(bytesOf(office.imagesB + "zp3.jpg"), zp2);
    // Already the stored version: left alone (a rewrite would be a new file).
    const ino_t copy = inodeOf(office.imagesB + "zp3.jpg");
    EXPECT_TRUE(office.storeB.ensureLocal(QStringLiteral("zp3.jpg"), &error)) << error.toStdString();
    EXPECT_EQ(inodeOf(office.imagesB + "zp3.jpg"), copy);
}

TEST(SharedTemplatePictures, AStoredPictureOverTheLimitIsRefusedAndNothingWritten)
{
    Office office;
    const QByteArray huge(21 * 1024 * 1024, '\xff');
    ASSERT_TRUE(office.deskA.db().exec("insert into TemplatePicture (FileName, Picture, PictureSize, PictureHash, StoredAt)"
                                       " values ('zp9.jpg', ?, ?, 'x', '2024-03-05 10:00:00')",
                                       {huge, huge.size()}));
    writeFile(office.imagesB + "zp9.jpg", "old copy");
    QString error;
    EXPECT_FALSE(office.storeB.ensureLocal(QStringLiteral("zp9.jpg"), &error));
    EXPECT_EQ(error, QStringLiteral("底图 zp9.jpg 有 21.0 MB，超过 20 MB 的上限。未从共享数据库取回。"));
    EXPECT_EQ(bytesOf(office.imagesB + "zp9.jpg"), QByteArray("old copy"));
    EXPECT_EQ(QDir(office.imagesB).entryList(QDir::Files), QStringList{"zp9.jpg"});

    // Nor does a desk store one.
    office.addCheque(4, QStringLiteral("zp4.jpg"), huge);
    error.clear();
    EXPECT_FALSE(office.storeA.publish(QStringLiteral("zp4.jpg"), &error));
    EXPECT_EQ(error, QStringLiteral("底图 zp4.jpg 有 21.0 MB，超过 20 MB 的上限。不能存入共享数据库。"));
    EXPECT_EQ(office.stored("count(*)", "zp4.jpg").toInt(), 0);
}

TEST(SharedTemplatePictures, ADamagedOrUnsafeStoredPictureIsNeverWritten)
{
    Office office;
    ASSERT_TRUE(office.deskA.db().exec("insert into TemplatePicture (FileName, Picture, PictureSize, PictureHash, StoredAt)"
                                       " values ('zp8.jpg', ?, 4, ?, '2024-03-05 10:00:00')",
                                       {QByteArray("abcd"), kZp1Hash}));
    QString error;
    EXPECT_FALSE(office.storeB.ensureLocal(QStringLiteral("zp8.jpg"), &error));
    EXPECT_EQ(error, QStringLiteral("数据库中的底图 zp8.jpg 已损坏（校验值不符），未取回。"));
    EXPECT_FALSE(QFile::exists(office.imagesB + "zp8.jpg"));
    EXPECT_FALSE(office.storeB.ensureLocal(QStringLiteral("../Data/EPData.ini"), &error));
    EXPECT_EQ(error, QStringLiteral("底图名称不安全：../Data/EPData.ini"));
}

TEST(SharedTemplatePictures, APictureNeverStoredLeavesTheFolderAsItWas)
{
    Office office;
    QString error;
    EXPECT_TRUE(office.storeB.ensureLocal(QStringLiteral("zp1.jpg"), &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(office.imagesB + "zp1.jpg"));
    writeFile(office.imagesB + "zp1.jpg", "desk's own scan");
    EXPECT_TRUE(office.storeB.ensureLocal(QStringLiteral("zp1.jpg"), &error));
    EXPECT_EQ(bytesOf(office.imagesB + "zp1.jpg"), QByteArray("desk's own scan"));
}

TEST(SharedTemplatePictures, ADesksOwnDatabaseStoresNoPicture)
{
    TemplatePictureStore::ForcedSharing notShared(false);
    TemplateDb desk;
    const QString images = DataRoot(desk.folder()).imageFolder();
    QTemporaryDir dir;
    QString error;
    const auto package = TemplatePackage::read(packageWith(dir.filePath("农行.tpk"), bytesOf(":/images/zp1.jpg")), &error);
    ASSERT_TRUE(package) << error.toStdString();
    ASSERT_EQ(PackageImporter(desk.db(), images).import(*package, {}, ExistingName::MakeUnique, &error), QList<int>{1});
    EXPECT_EQ(desk.count("select count(*) from TemplatePicture"), 0);
    EXPECT_FALSE(TemplatePictureStore(desk.db(), images).shared());
}

TEST(SharedTemplatePictures, ACloneAtTheOtherDeskFetchesItsSourceAndStoresItsCopy)
{
    Office office;
    const QByteArray zp2 = bytesOf(QStringLiteral(":/images/zp2.jpg"));
    office.addCheque(3, QStringLiteral("zp3.jpg"), zp2);
    CkControl f;
    f.CheckTypeID = 3;
    f.CtlName = QStringLiteral("AMOUNT");
    CkControlStore(office.deskA.db()).save(f);
    QString error;
    ASSERT_TRUE(office.storeA.publish(QStringLiteral("zp3.jpg"), &error));

    QString message;
    const int id = TemplateCatalogue(office.deskA.db(), office.imagesB).cloneTemplate(3, QStringLiteral("建行"), &message);
    ASSERT_EQ(id, 4) << message.toStdString();
    EXPECT_EQ(bytesOf(office.imagesB + "zp3.jpg"), zp2);
    EXPECT_EQ(office.stored("PictureHash", "zp4.jpg").toString(), kZp2Hash);

    // Deleting the copy removes its stored picture with its file.
    EXPECT_TRUE(TemplateCatalogue(office.deskA.db(), office.imagesB).deleteTemplate(4));
    EXPECT_EQ(office.stored("count(*)", "zp4.jpg").toInt(), 0);
    EXPECT_EQ(office.storedCount(), 1);
}

TEST(SharedTemplatePictures, AnExportAtTheOtherDeskCarriesThePicture)
{
    Office office;
    const QByteArray zp1 = bytesOf(QStringLiteral(":/images/zp1.jpg"));
    office.addCheque(3, QStringLiteral("zp3.jpg"), zp1);
    QString error;
    ASSERT_TRUE(office.storeA.publish(QStringLiteral("zp3.jpg"), &error));
    QTemporaryDir dir;
    ASSERT_TRUE(TemplatePackage::write(office.deskA.db(), office.imagesB, {3}, dir.filePath("x.tpk"), &error))
        << error.toStdString();
    const auto package = TemplatePackage::read(dir.filePath("x.tpk"), &error);
    ASSERT_TRUE(package);
    EXPECT_EQ(package->templates().at(0).picture, zp1);
}

TEST(SharedTemplatePictures, PublishAllStoresEveryNamedPictureAndListsTheMissingOnes)
{
    Office office;
    office.addCheque(3, QStringLiteral("zp3.jpg"), bytesOf(":/images/zp1.jpg"));
    office.addCheque(4, QStringLiteral("zp4.jpg"), bytesOf(":/images/zp2.jpg"));
    TCheckType gone = office.deskA.add(5, QStringLiteral("支票"), QStringLiteral("中行"));
    gone.ImgFile = QStringLiteral("zp5.jpg");
    gone.save(office.deskA.db());
    QStringList missing;
    QString error;
    ASSERT_TRUE(office.storeA.publishAll(&missing, &error)) << error.toStdString();
    EXPECT_EQ(missing, QStringList{"zp5.jpg"});
    EXPECT_EQ(office.storedCount(), 2);
    EXPECT_EQ(office.stored("PictureHash", "zp4.jpg").toString(), kZp2Hash);
}
