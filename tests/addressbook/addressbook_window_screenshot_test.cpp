// The address book windows drawn off screen: each picture holds more than
// a blank window, and the grids show their rows. With BILLPRINT_SCREENSHOTS
// naming a folder the pictures are also written there for a look by eye, e.g.
//   DISPLAY=:99 QT_QPA_PLATFORM=xcb BILLPRINT_SCREENSHOTS=/tmp ./test_addressbook
#include "addressbook/ui/person_filter_tree.h"
#include "addressbook/ui/tfrm_person_info.h"
#include "addressbook_window_fixtures.h"

#include <QDir>
#include <QPixmap>

using namespace billprint;
using namespace billprint::test;

namespace {

QString shotFolder()
{
    return qEnvironmentVariable("BILLPRINT_SCREENSHOTS");
}

// Draws the window; the picture must show something beyond one colour.
void grabAndCheck(QWidget &window, const QString &name)
{
    QApplication::processEvents();
    const QImage picture = window.grab().toImage();
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    const QRgb corner = picture.pixel(0, 0);
    bool drawn = false;
    for (int y = 0; y < picture.height() && !drawn; y += 7)
        for (int x = 0; x < picture.width() && !drawn; x += 7)
            drawn = picture.pixel(x, y) != corner;
    EXPECT_TRUE(drawn) << name.toStdString();
    if (!shotFolder().isEmpty()) {
        const QString path = QDir(shotFolder()).filePath(name);
        EXPECT_TRUE(picture.save(path)) << path.toStdString();
    }
}

void addMoreUnits(const Database &db)
{
    const char *const cities[][3] = {
        {"江苏省", "南京市", "南京金陵电子科技有限公司"}, {"江苏省", "苏州市", "苏州工业园区精密机械有限公司"},
        {"四川省", "成都市", "成都蜀锦文化传播有限公司"}, {"湖北省", "武汉市", "武汉长江航运有限公司"},
        {"福建省", "厦门市", "厦门鹭岛食品有限公司"},     {"山东省", "青岛市", "青岛海风啤酒销售有限公司"},
        {"天津市", "天津市", "天津渤海化工有限公司"},     {"重庆市", "重庆市", "重庆山城火锅连锁有限公司"},
    };
    int n = 0;
    for (const auto &c : cities) {
        TPerson p;
        p.setProvince(QString::fromUtf8(c[0]));
        p.setCity(QString::fromUtf8(c[1]));
        p.setFullName(QString::fromUtf8(c[2]));
        p.setContact(QStringLiteral("张经理"));
        p.setBank(QStringLiteral("中国银行") + QString::fromUtf8(c[1]) + QStringLiteral("分行"));
        p.setAccount(QStringLiteral("4563 5100 %1 2021").arg(1000 + n * 37));
        p.setPhone(QStringLiteral("0%1-8888%2").arg(21 + n).arg(1000 + n));
        p.setAddress(QString::fromUtf8(c[1]) + QStringLiteral("高新区创业路%1号").arg(10 + n));
        p.setGroup(n % 2 ? QStringLiteral("供应商") : QStringLiteral("华东客户"));
        p.setUnitKind(UnitKind::Counterparty);
        p.setCountry(QStringLiteral("中国"));
        p.save(db);
        ++n;
    }
}

} // namespace

TEST(AddressBookScreenshots, BothWindows)
{
    TempDataRoot root;
    AlertRecorder alerts;
    SampleBook book(root.context().db());
    addMoreUnits(root.context().db());

    Tfm_PersonManage window(root.context());
    window.show();
    window.resize(1180, 640);
    window.grid()->selectRow(2);
    EXPECT_GE(window.grid()->model()->rowCount(), 8);  // the eight units added above, at least
    grabAndCheck(window, "addressbook_manage.png");

    window.btAdvancedClick();
    emit window.tree()->itemClicked(window.tree()->childNode("[按其他分组]", "华东客户"), 0);
    window.btAdvancedClick();
    const int groupRows = window.grid()->model()->rowCount();
    EXPECT_GT(groupRows, 0);
    EXPECT_LT(groupRows, 8);  // only the group's units
    grabAndCheck(window, "addressbook_group.png");
    window.close();

    Tfm_PersonManage picker(root.context());
    picker.setPickMode("选取收款人");
    picker.presetUnitKind(UnitKind::Counterparty);
    picker.show();
    EXPECT_GT(picker.grid()->model()->rowCount(), 0);
    grabAndCheck(picker, "addressbook_pick.png");
    picker.close();

    Tfrm_PersonInfo editor(root.context());
    editor.loadPerson(book.hengda);
    editor.setFieldText("镇区", "天河区");
    editor.setFieldText("邮编", "510620");
    editor.setFieldText("手机", "13800138000");
    editor.setFieldText("识别号", "91440101MA5CXXXX1K");
    editor.setFieldText("扩展信息", "月结客户，每月25日对账");
    editor.show();
    grabAndCheck(editor, "addressbook_editor.png");
}
