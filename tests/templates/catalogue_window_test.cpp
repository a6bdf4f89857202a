#include "app/data_root.h"
#include "template_fixtures.h"
#include "templates/template_package.h"
#include "templates/ui/tfrm_bill_import_export.h"
#include "templates/ui/tfrm_check_type_mng.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QListWidget>
#include <QTabBar>
#include <QTableView>

using namespace billprint;
using namespace billprint::test;

namespace {

struct Windows
{
    TempDataRoot root;
    AppContext &ctx() { return root.context(); }
    void reset()
    {
        for (const char *table : {"CKTypeTable", "CkControl", "DMTable"})
            ctx().db().exec(QStringLiteral("delete from ") + QLatin1String(table));
    }
    void add(int id, const QString &first, const QString &last, const QString &visiable = TemplateFlag::Enabled)
    {
        TCheckType t;
        t.CheckTypeID = id;
        t.setFullName(first, last);
        t.TypeFirstName = first;
        t.TypeDescribe = last;
        t.Visiable = visiable;
        t.IsCommon = TemplateFlag::Common;
        t.IsDefault = TemplateFlag::NotDefault;
        t.save(ctx().db());
    }
};

} // namespace

TEST(CatalogueWindow, ListsByScopeAndDeletesAfterBothQuestions)
{
    Windows w;
    w.reset();
    w.add(1, "支票", "甲");
    w.add(2, "支票", "乙_%");
    w.add(3, "支票", "丙", TemplateFlag::Hidden);
    AlertRecorder alerts;
    TfrmCheckTypeMng window(w.ctx(), 0);
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
    EXPECT_EQ(window.windowTitle(), "所有模板种类模板管理(查询2个)");
    window.scopes()->setCurrentIndex(3);
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);
    window.scopes()->setCurrentIndex(0);

    window.grid()->selectRow(0);
    const int id = window.grid()->model()->index(0, 0).data().toInt();
    alerts.answerNext(AlertAnswer::Yes);
    alerts.answerNext(AlertAnswer::Yes);
    window.deleteSelected();
    EXPECT_TRUE(alerts.sawMessage("共删除 1 个模板！"));
    EXPECT_EQ(w.ctx().db().scalar("select count(*) from CKTypeTable where CheckTypeID=?", {id}).toInt(), 0);
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);
}

TEST(PackageWindow, RefusesAHostilePackageAndImportsAGoodOne)
{
    Windows source;
    source.reset();
    source.add(7, "快递单", "甲公司");
    QTemporaryDir dir;
    QString error;
    const QString good = dir.filePath("快递单-甲公司.tpk");
    ASSERT_TRUE(TemplatePackage::write(source.ctx().db(), source.ctx().dataRoot().imageFolder(), {7}, good, &error));
    EXPECT_EQ(TfrmBillImportExport::proposedExportName({"快递单（甲公司）"}), "快递单-甲公司.tpk");

    Windows target;
    target.reset();
    AlertRecorder alerts;
    TfrmBillImportExport window(target.ctx(), true);
    const QString bad = dir.filePath("bad.tpk");
    QFile f(bad);
    f.open(QIODevice::WriteOnly);
    f.write("not a package");
    f.close();
    window.choosePackage(bad);
    EXPECT_TRUE(alerts.sawMessage(":),数据包访问异常！票据包无法导入："));
    window.choosePackage(good);
    EXPECT_EQ(window.importChosen()->count(), 1);
    window.startImport();
    EXPECT_TRUE(alerts.sawMessage("导入结束，成功导入单据1个!"));
    window.startImport();  // the name is taken now: answering No imports nothing
    EXPECT_TRUE(alerts.sawMessage("导入结束，失败1个!"));
    EXPECT_EQ(target.ctx().db().scalar("select count(*) from CKTypeTable").toInt(), 1);
}
