// The templates the database is delivered with: every family has a usable
// default template, every field has its row, the boxes lie on the paper and
// the picture, print items do not collide and values fit their boxes; the
// committed seed script and pictures are what the geometry files give.
#include "app/database.h"
#include "templates/delivered_form_model.h"
#include "templates/delivered_form_painter.h"
#include "templates/delivered_form_script.h"
#include "templates/delivered_pictures.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRect>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace billprint {
namespace {

using test::TempDataRoot;

const QStringList kFamilies = {QStringLiteral("支票"), QStringLiteral("进账单"), QStringLiteral("缴款单"),
                               QStringLiteral("快递单")};

// One CkControl row joined with its template and catalogue entry.
struct FieldRow
{
    int templateId = 0;
    QString name;
    QString type;
    bool printItem = false;
    bool needShow = false;
    bool needPrint = false;
    QRect print;
    QRect screen;
    int lineHeight = 0;
    int fontSize = 0;
    int breakFontSize = 0;
    QString breakNum;
    QString fit;
    QSize paper;
    QSize picture;

    QString where() const { return QStringLiteral("template %1 field %2").arg(templateId).arg(name); }
    bool printed() const { return printItem && needPrint && needShow; }
};

std::vector<FieldRow> fieldRows(Database &db)
{
    std::vector<FieldRow> rows;
    QSqlQuery q = db.prepare(QStringLiteral(
        "SELECT c.CheckTypeID, c.CtlName, c.CtlType, n.PrintItem, c.NeedShow, c.NeedPrint,"
        " c.CtlX, c.CtlY, c.CtlW, c.CtlH, c.SrcX, c.SrcY, c.SrcW, c.SrcH, c.CtlLH,"
        " c.CtlFontSize, c.BreakFontSize, c.BreakNum, c.FitParam,"
        " t.PWidth, t.PHeight, t.TWidth, t.THeight"
        " FROM CkControl c JOIN CKTypeTable t ON t.CheckTypeID = c.CheckTypeID"
        " JOIN NameDict n ON n.CheckTypeName = t.TypeFirstName AND upper(n.CtlName) = upper(c.CtlName)"
        " ORDER BY c.CheckTypeID, n.ShowOrd"));
    EXPECT_TRUE(q.exec());
    while (q.next()) {
        FieldRow r;
        r.templateId = q.value(0).toInt();
        r.name = q.value(1).toString();
        r.type = q.value(2).toString();
        r.printItem = q.value(3).toInt() == 1;
        r.needShow = q.value(4).toInt() == 1;
        r.needPrint = q.value(5).toInt() == 1;
        // Where the ink lands: the renderer adds a lead-in of one em.
        r.print = QRect(q.value(6).toInt() + deliveredPrintLeadIn(q.value(15).toInt()), q.value(7).toInt(),
                        q.value(8).toInt(), q.value(9).toInt());
        r.screen = QRect(q.value(10).toInt(), q.value(11).toInt(), q.value(12).toInt(), q.value(13).toInt());
        r.lineHeight = q.value(14).toInt();
        r.fontSize = q.value(15).toInt();
        r.breakFontSize = q.value(16).toInt();
        r.breakNum = q.value(17).toString();
        r.fit = q.value(18).toString();
        r.paper = QSize(q.value(19).toInt(), q.value(20).toInt());
        r.picture = QSize(q.value(21).toInt(), q.value(22).toInt());
        rows.push_back(r);
    }
    return rows;
}

// Width of one double-width character of `points` in 0.1 mm.
double em(int points)
{
    return pointsToTenthMm(points);
}

class DeliveredTemplatesTest : public ::testing::Test
{
protected:
    TempDataRoot root;
    Database &db() { return root.context().db(); }
};

TEST_F(DeliveredTemplatesTest, EachFamilyHasOneEnabledDefaultTemplateWithItsPicture)
{
    static const QMap<QString, QString> codes = {{QStringLiteral("支票"), QStringLiteral("zp")},
                                                 {QStringLiteral("进账单"), QStringLiteral("jzd")},
                                                 {QStringLiteral("缴款单"), QStringLiteral("jkd")},
                                                 {QStringLiteral("快递单"), QStringLiteral("kdd")}};
    for (const QString &family : kFamilies) {
        SCOPED_TRACE(family.toStdString());
        QSqlQuery q = db().prepare(QStringLiteral(
            "SELECT CheckTypeID, TypeName, TypeDescribe, ImgFile, IsCommon FROM CKTypeTable"
            " WHERE TypeFirstName = ? AND IsDefault = '默认' AND Visiable = '启用'"));
        q.addBindValue(family);
        ASSERT_TRUE(q.exec());
        ASSERT_TRUE(q.next()) << "no enabled default template";
        const int id = q.value(0).toInt();
        EXPECT_EQ(q.value(1).toString(),
                  family + QChar(0xFF08) + q.value(2).toString() + QChar(0xFF09));
        EXPECT_EQ(q.value(3).toString(), codes.value(family) + QString::number(id) + QStringLiteral(".jpg"));
        EXPECT_EQ(q.value(4).toString(), QStringLiteral("是"));
        EXPECT_FALSE(q.next()) << "two default templates";
        EXPECT_GT(db().scalar(QStringLiteral("SELECT count(*) FROM NameDict WHERE CheckTypeName = ?"),
                              {family})
                      .toInt(),
                  10);
    }
    // Template switching needs a second template of the cheque and the waybill.
    for (const QString &family : {QStringLiteral("支票"), QStringLiteral("快递单")})
        EXPECT_GE(db().scalar(QStringLiteral("SELECT count(*) FROM CKTypeTable WHERE TypeFirstName = ?"
                                             " AND Visiable = '启用'"),
                              {family})
                      .toInt(),
                  2)
            << family.toStdString();
}

TEST_F(DeliveredTemplatesTest, EveryCatalogueFieldHasOneRowOnEveryTemplateAndNoRowIsStray)
{
    // Catalogue fields of the template's family without a row.
    EXPECT_EQ(db().scalar(QStringLiteral(
                              "SELECT count(*) FROM CKTypeTable t JOIN NameDict n ON n.CheckTypeName = t.TypeFirstName"
                              " WHERE NOT EXISTS (SELECT 1 FROM CkControl c WHERE c.CheckTypeID = t.CheckTypeID"
                              " AND upper(c.CtlName) = upper(n.CtlName))"))
                  .toInt(),
              0);
    // Rows that the cache clearing would delete: no template, or a name
    // outside the family's catalogue.
    EXPECT_EQ(db().scalar(QStringLiteral(
                              "SELECT count(*) FROM CkControl c LEFT JOIN CKTypeTable t ON t.CheckTypeID = c.CheckTypeID"
                              " LEFT JOIN NameDict n ON n.CheckTypeName = t.TypeFirstName AND n.CtlName = c.CtlName"
                              " WHERE n.Id IS NULL"))
                  .toInt(),
              0);
    // Names are stored upper-cased, tick boxes are check boxes.
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM NameDict WHERE CtlName <> upper(CtlName)"
                                         " OR (CtlName LIKE 'DEFCHECK%' AND CtlType <> 'CHECKBOX')"))
                  .toInt(),
              0);
    // Each template's check box captions have their DEFCHECK rows.
    QSqlQuery q = db().prepare(QStringLiteral("SELECT CheckTypeID, CheckBoxs FROM CKTypeTable"));
    ASSERT_TRUE(q.exec());
    while (q.next()) {
        const QStringList captions = q.value(1).toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < captions.size(); ++i)
            EXPECT_EQ(db().scalar(QStringLiteral("SELECT NeedShow FROM CkControl WHERE CheckTypeID = ?"
                                                 " AND CtlName = ?"),
                                  {q.value(0), QStringLiteral("DEFCHECK%1").arg(i)})
                          .toInt(),
                      1)
                << "template " << q.value(0).toInt() << " caption " << captions.at(i).toStdString();
    }
}

TEST_F(DeliveredTemplatesTest, PrintBoxesLieOnThePaperAndInputBoxesOnThePicture)
{
    const auto rows = fieldRows(db());
    ASSERT_GT(rows.size(), 300u);
    for (const FieldRow &r : rows) {
        EXPECT_TRUE(r.print.width() > 0 && r.print.height() > 0
                    && QRect(QPoint(0, 0), r.paper).contains(r.print))
            << r.where().toStdString();
        EXPECT_TRUE(r.screen.width() > 0 && r.screen.height() > 0
                    && QRect(QPoint(0, 0), r.picture).contains(r.screen))
            << r.where().toStdString();
    }
}

TEST_F(DeliveredTemplatesTest, ScreenAndPrintBoxesAgreeThroughThePictureScale)
{
    for (const FieldRow &r : fieldRows(db())) {
        const double sx = double(r.picture.width()) / r.paper.width();
        const double sy = double(r.picture.height()) / r.paper.height();
        // One picture scale for both directions, the program's 38 px per cm.
        EXPECT_NEAR(sx, kDeliveredPictureScale, 0.001) << r.where().toStdString();
        EXPECT_NEAR(sy, kDeliveredPictureScale, 0.001) << r.where().toStdString();
        EXPECT_LE(std::abs(r.screen.x() - r.print.x() * sx), 1.0) << r.where().toStdString();
        EXPECT_LE(std::abs(r.screen.y() - r.print.y() * sy), 1.0) << r.where().toStdString();
        EXPECT_LE(std::abs(r.screen.width() - r.print.width() * sx), 1.0) << r.where().toStdString();
        EXPECT_LE(std::abs(r.screen.height() - r.print.height() * sy), 1.0) << r.where().toStdString();
    }
}

TEST_F(DeliveredTemplatesTest, PrintItemsOfATemplateDoNotOverlapAndShownInputsDoNotCover)
{
    const auto rows = fieldRows(db());
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = i + 1; j < rows.size() && rows[j].templateId == rows[i].templateId; ++j) {
            const FieldRow &a = rows[i];
            const FieldRow &b = rows[j];
            if (a.printed() && b.printed())
                EXPECT_FALSE(a.print.intersects(b.print))
                    << a.where().toStdString() << " prints over " << b.name.toStdString();
            // Input boxes side by side, each reachable by the mouse; the
            // party frames sit on captions, not over inputs.
            if (a.needShow && b.needShow)
                EXPECT_FALSE(a.screen.intersects(b.screen))
                    << a.where().toStdString() << " covers " << b.name.toStdString();
        }
    }
}

TEST_F(DeliveredTemplatesTest, PrintedValuesFitTheirBoxes)
{
    for (const FieldRow &r : fieldRows(db())) {
        if (!r.printed())
            continue;
        SCOPED_TRACE(r.where().toStdString());
        EXPECT_GE(r.fontSize, 6);
        EXPECT_GE(r.breakFontSize, 6);
        // A one-line value's letters stand inside the box.
        EXPECT_LE(em(r.fontSize), r.print.height() + 0.5);
        if (!r.fit.isEmpty()) {
            // Equal pitch: the print designer treats 25 and below as off.
            EXPECT_GT(r.fit.toInt(), 25);
            EXPECT_GE(r.fit.toInt(), em(r.fontSize) - 0.5) << "characters would touch";
            continue;
        }
        if (r.breakNum.isEmpty())
            continue;
        const int n = r.breakNum.toInt();
        ASSERT_GT(n, 0);
        // A text of up to n double-width characters prints as one piece in
        // the normal size; longer text breaks into pieces that may run half
        // a character over n, printed in the break size, CtlLH apart.
        EXPECT_LE(n * em(r.fontSize), r.print.width() + 0.5);
        EXPECT_LE((n + 0.5) * em(r.breakFontSize), r.print.width() + 0.5);
        EXPECT_GE(r.lineHeight, em(r.breakFontSize) - 0.5) << "broken lines would overlap";
        EXPECT_LE(r.lineHeight + em(r.breakFontSize), r.print.height() + 0.5) << "no room for two lines";
    }
}

TEST_F(DeliveredTemplatesTest, DigitBoxesStandOneCellApart)
{
    static const QStringList digits = {"ZDYY", "ZDQW", "ZDBW", "ZDSW", "ZDWY", "ZDQY",
                                       "ZDBY", "ZDSY", "ZDY",  "ZDJ",  "ZDF"};
    QSqlQuery q = db().prepare(QStringLiteral(
        "SELECT CheckTypeID FROM CKTypeTable WHERE TypeFirstName IN ('支票', '进账单', '缴款单')"));
    ASSERT_TRUE(q.exec());
    int templates = 0;
    while (q.next()) {
        ++templates;
        const int id = q.value(0).toInt();
        QList<int> xs;
        for (const QString &name : digits)
            xs << db().scalar(QStringLiteral("SELECT CtlX FROM CkControl WHERE CheckTypeID = ? AND CtlName = ?"),
                              {id, name})
                      .toInt();
        const int pitch = xs[6] - xs[5];  // the cell width the print run asks for (千 to 百)
        EXPECT_GT(pitch, 35) << "template " << id;
        for (int i = 1; i < xs.size(); ++i)
            EXPECT_EQ(xs[i] - xs[i - 1], pitch) << "template " << id << " box " << digits[i].toStdString();
    }
    EXPECT_EQ(templates, 4);
}

TEST_F(DeliveredTemplatesTest, PicturesAreCopiedOnceAndMatchTheirTemplates)
{
    const QString images = root.context().dataRoot().imageFolder();
    // A picture the user put there (a scan of the real form) stays.
    QDir().mkpath(images);
    QImage own(10, 10, QImage::Format_RGB32);
    own.fill(Qt::red);
    ASSERT_TRUE(own.save(QDir(images).filePath(QStringLiteral("zp1.jpg"))));

    const int delivered =
        int(QDir(QStringLiteral(":/images")).entryList({QStringLiteral("*.jpg")}, QDir::Files).size());
    ASSERT_GE(delivered, 6);
    EXPECT_EQ(ensureDeliveredPictures(images), delivered - 1);
    EXPECT_EQ(ensureDeliveredPictures(images), 0);
    EXPECT_EQ(QImage(QDir(images).filePath(QStringLiteral("zp1.jpg"))).size(), QSize(10, 10));
    ASSERT_TRUE(QFile::remove(QDir(images).filePath(QStringLiteral("zp1.jpg"))));
    EXPECT_EQ(ensureDeliveredPictures(images), 1);

    QSqlQuery q = db().prepare(QStringLiteral("SELECT ImgFile, TWidth, THeight FROM CKTypeTable"));
    ASSERT_TRUE(q.exec());
    while (q.next()) {
        const QString path = QDir(images).filePath(q.value(0).toString());
        const QImage picture(path);
        ASSERT_FALSE(picture.isNull()) << path.toStdString();
        EXPECT_EQ(picture.size(), QSize(q.value(1).toInt(), q.value(2).toInt())) << path.toStdString();
        // A copied picture can be replaced by the user.
        EXPECT_TRUE(QFileInfo(path).isWritable()) << path.toStdString();
    }
}

// The committed script and pictures are what the committed geometry gives:
// nobody edited one without running the generator.
TEST(DeliveredFormsGenerator, CommittedScriptAndPicturesMatchTheGeometry)
{
    Database::migrationScripts(); // registers the compiled-in resources
    DeliveredFormSet set;
    QString error;
    ASSERT_TRUE(loadDeliveredForms(QStringLiteral(":/forms"), &set, &error)) << error.toStdString();
    ASSERT_EQ(set.templates.size(), 6);

    QTemporaryDir out;
    ASSERT_TRUE(writeDeliveredForms(set, out.filePath(QStringLiteral("004.sql")),
                                    out.filePath(QStringLiteral("images")), &error))
        << error.toStdString();
    QFile committed(QStringLiteral(":/schema/004_delivered_templates.sql"));
    QFile fresh(out.filePath(QStringLiteral("004.sql")));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
    EXPECT_TRUE(committed.readAll() == fresh.readAll())
        << "run billprint_formgen: resources/schema/004_delivered_templates.sql is stale";

    const QStringList generated =
        QDir(out.filePath(QStringLiteral("images"))).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    EXPECT_EQ(generated, QDir(QStringLiteral(":/images")).entryList({QStringLiteral("*.jpg")}, QDir::Files,
                                                                  QDir::Name));
    for (const QString &name : generated)
        EXPECT_EQ(QImage(out.filePath(QStringLiteral("images/") + name)).size(),
                  QImage(QStringLiteral(":/images/") + name).size())
            << name.toStdString();
}

// A small geometry folder for the generator's own checks.
class GeometryFolder
{
public:
    GeometryFolder()
    {
        write(QStringLiteral("t_fields.json"), R"({"family": "支票", "code": "zp", "fields": [
            {"name": "zdA", "label": "甲", "print": true, "group": "组", "sample": "O'Brien; -- 样例"},
            {"name": "zdB", "label": "乙", "print": true, "group": "组", "sample": "x"}]})");
    }
    void write(const QString &name, const QByteArray &text)
    {
        QFile f(m_dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    void writeTemplate(const QByteArray &fields)
    {
        write(QStringLiteral("t1.json"),
              R"({"id": 7, "family": "支票", "variant": "甲银行", "paper": [1000, 500], "default": true,
                  "drawing": [], "fields": {)" + fields + "}}");
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

TEST(DeliveredFormsGenerator, RefusesGeometryThatWouldDeliverABrokenTemplate)
{
    const struct
    {
        QByteArray fields;
        QString message;
    } cases[] = {
        {R"("zdA": {"box": [10, 10, 100, 40]})", QStringLiteral("no box for zdB")},
        {R"("zdA": {"box": [10, 10, 100, 40]}, "zdB": {"box": [950, 10, 100, 40]})",
         QStringLiteral("off the paper")},
        {R"("zdA": {"box": [10, 10, 100, 40]}, "zdB": {"box": [10, 60, 100, 40]}, "zdC": {"box": [1, 1, 5, 5]})",
         QStringLiteral("zdC is not in the catalogue")},
        {R"("zdA": {"box": [10, 10, 100, 40]}, "zdB": {"box": [10, 60, 100, 40], "colour": "1"})",
         QStringLiteral("unknown attribute \"colour\"")},
    };
    for (const auto &c : cases) {
        GeometryFolder folder;
        folder.writeTemplate(c.fields);
        DeliveredFormSet set;
        QString error;
        EXPECT_FALSE(loadDeliveredForms(folder.path(), &set, &error)) << c.message.toStdString();
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
    }
}

TEST(DeliveredFormsGenerator, ScriptKeepsQuotesAndSemicolonsInsideValues)
{
    GeometryFolder folder;
    folder.writeTemplate(R"("zdA": {"box": [10, 10, 100, 40]}, "zdB": {"box": [10, 60, 100, 40], "init": "it's"})");
    DeliveredFormSet set;
    QString error;
    ASSERT_TRUE(loadDeliveredForms(folder.path(), &set, &error)) << error.toStdString();
    EXPECT_EQ(set.templates.first().picture, QSize(380, 190));

    TempDataRoot root;
    Database &db = root.context().db();
    // Make room for the small set: the delivered rows use the same id space.
    ASSERT_TRUE(db.exec(QStringLiteral("DELETE FROM CkControl")));
    ASSERT_TRUE(db.exec(QStringLiteral("DELETE FROM CKTypeTable")));
    ASSERT_TRUE(db.exec(QStringLiteral("DELETE FROM NameDict")));
    for (const QString &statement : splitSqlScript(deliveredTemplatesScript(set)))
        ASSERT_TRUE(db.exec(statement, {}, &error)) << error.toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT CtlData FROM NameDict WHERE CtlName = 'ZDA'")).toString(),
              QStringLiteral("O'Brien; -- 样例"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT InitValue FROM CkControl WHERE CheckTypeID = 7 AND CtlName = 'ZDB'"))
                  .toString(),
              QStringLiteral("it's"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT TypeName FROM CKTypeTable")).toString(),
              QStringLiteral("支票（甲银行）"));
}

} // namespace
} // namespace billprint
