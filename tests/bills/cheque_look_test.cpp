// What the clerk sees: the cheque window painted with realistic values, the
// fields over their boxes of the form picture. With BILLPRINT_SHOT_DIR set
// the picture is kept there as cheque.png for a look by eye.

#include "cheque_fixtures.h"

#include "addressbook/default_drawer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLabel>

namespace billprint::test {
namespace {

using ChequeLookTest = ChequeTest;

TEST_F(ChequeLookTest, FieldsSitOnTheirBoxesOfTheFormPicture)
{
    holdDefaultDrawer(ctx(), addUnit(QStringLiteral("北京恒远贸易有限公司"), UnitKind::Own,
                                     QStringLiteral("中国工商银行北京朝阳支行"), QStringLiteral("0200001009200012345")));
    auto w = openCheque();
    w->setInComp(QStringLiteral("上海华东电子科技有限公司"));
    w->setYongTu(QStringLiteral("货款"));
    w->setFieldText(QStringLiteral("zdZFMM"), QStringLiteral("3527194680235164"));
    w->setFieldText(QStringLiteral("zdRemark"), QStringLiteral("3月份材料款 合同号HD2026-031"));
    w->setFieldText(QStringLiteral("zdPJBH"), QStringLiteral("02468135"));
    w->option(QStringLiteral("cfgDateChinese"))->click();
    w->datePicker()->setDate(QDate(2026, 3, 5));
    w->setJEXX(QStringLiteral("1286500"));
    w->show();
    QApplication::processEvents();

    const QImage shot = w->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // Every shown field lies inside the picture, on the panel over it.
    const QRect picture = w->pictureLabel()->geometry();
    for (const QString &name : {QStringLiteral("zdNian"), QStringLiteral("zdInComp"), QStringLiteral("zdJEDX"),
                                QStringLiteral("zdQY"), QStringLiteral("zdF"), QStringLiteral("zdYT"),
                                QStringLiteral("cgInComp"), QStringLiteral("cgJEXX"), QStringLiteral("zdOutBankAcct")}) {
        QWidget *f = w->field(name);
        ASSERT_TRUE(f && f->isVisible()) << name.toStdString();
        EXPECT_TRUE(picture.contains(f->geometry())) << name.toStdString();
    }
    // The digit boxes run left to right in one row, one character each.
    EXPECT_LT(w->field(QStringLiteral("zdYY"))->x(), w->field(QStringLiteral("zdF"))->x());
    EXPECT_EQ(w->field(QStringLiteral("zdYY"))->y(), w->field(QStringLiteral("zdF"))->y());
    EXPECT_EQ(w->fieldText(QStringLiteral("zdBW")), QStringLiteral("1"));
    EXPECT_EQ(w->fieldText(QStringLiteral("zdQW")), QStringLiteral("￥"));

    const QString folder = qEnvironmentVariable("BILLPRINT_SHOT_DIR");
    if (!folder.isEmpty())
        shot.save(QDir(folder).filePath(QStringLiteral("cheque.png")));
}

} // namespace
} // namespace billprint::test
