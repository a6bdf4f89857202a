// Two desks of an office on one database: a template made at desk A opens
// at desk B over its own picture, fetched from the database into B's
// picture folder. Desk B's data root names A's database (the server, or
// a link to the SQLite file, where sharing is forced).

#include "app/data_root.h"
#include "cheque_fixtures.h"
#include "templates/check_type.h"
#include "templates/template_catalogue.h"
#include "templates/template_picture_store.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace billprint::test {
namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SharedPictureTest : public ChequeTest
{
protected:
    void SetUp() override
    {
        ChequeTest::SetUp();
        deskB.shareDatabaseOf(ctx());
        ensureDeliveredPictures(imagesB());
    }

    QString imagesA() { return ctx().dataRoot().imageFolder(); }
    QString imagesB() { return deskB.context().dataRoot().imageFolder(); }

    // Desk A copies the transfer cheque as 支票（公司转账）, its family's default.
    QString cloneAtDeskA()
    {
        QString message;
        const int id = TemplateCatalogue(db(), imagesA()).cloneTemplate(1, QStringLiteral("公司转账"), &message);
        EXPECT_EQ(id, 7) << message.toStdString();
        EXPECT_TRUE(TCheckType::setDefaultByTypeName(db(), QStringLiteral("支票（公司转账）")));
        return db().scalar("select ImgFile from CKTypeTable where CheckTypeID=7").toString();
    }

    std::unique_ptr<TfmCheckZP> openChequeAtDeskB()
    {
        auto w = std::make_unique<TfmCheckZP>(deskB.context(), host());
        w->setPrintOutput(&output);
        w->show();
        return w;
    }

    TemplatePictureStore::ForcedSharing sharing{true};
    TempDataRoot deskB;
};

TEST_F(SharedPictureTest, ATemplateMadeAtOneDeskOpensAtTheOtherOverItsPicture)
{
    const QString picture = cloneAtDeskA();
    ASSERT_EQ(picture, QStringLiteral("zp7.jpg"));
    ASSERT_FALSE(QFile::exists(imagesB() + picture));

    auto w = openChequeAtDeskB();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->checkTypeId(), 7);
    EXPECT_EQ(bytesOf(imagesB() + picture), bytesOf(imagesA() + "zp1.jpg"));
    EXPECT_EQ(bytesOf(imagesB() + picture).size(), 84505);
    EXPECT_EQ(w->pictureLabel()->pixmap().size(), QSize(855, 304));
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join(QLatin1Char('|')).toStdString();
    w.reset();

    // Desk A gives the template another picture: desk B shows the new one.
    QFile::remove(imagesA() + picture);
    ASSERT_TRUE(QFile::copy(imagesA() + "zp2.jpg", imagesA() + picture));
    QString error;
    ASSERT_TRUE(TemplatePictureStore(db(), imagesA()).publish(picture, &error)) << error.toStdString();
    w = openChequeAtDeskB();
    EXPECT_EQ(bytesOf(imagesB() + picture), bytesOf(imagesA() + "zp2.jpg"));
    EXPECT_EQ(bytesOf(imagesB() + picture).size(), 93158);
}

TEST_F(SharedPictureTest, APictureNeverStoredOpensAsAMissingPictureDoes)
{
    cloneAtDeskA();
    ASSERT_TRUE(db().exec("delete from TemplatePicture"));
    auto w = openChequeAtDeskB();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(w->checkTypeId(), 7);
    EXPECT_TRUE(w->pictureLabel()->pixmap().isNull());
    EXPECT_FALSE(QFile::exists(imagesB() + "zp7.jpg"));
    EXPECT_TRUE(alerts.alerts().empty()) << alerts.messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(SharedPictureTest, AStoredPictureOverTheLimitIsToldAndNotFetched)
{
    cloneAtDeskA();
    ASSERT_TRUE(db().exec("update TemplatePicture set Picture=? where FileName='zp7.jpg'",
                          {QByteArray(25 * 1024 * 1024, '\0')}));
    auto w = openChequeAtDeskB();
    ASSERT_TRUE(w->isVisible());
    EXPECT_EQ(alerts.messages(), QStringList{"底图 zp7.jpg 有 25.0 MB，超过 20 MB 的上限。未从共享数据库取回。"});
    EXPECT_FALSE(QFile::exists(imagesB() + "zp7.jpg"));
    EXPECT_TRUE(w->pictureLabel()->pixmap().isNull());
}

} // namespace
} // namespace billprint::test
