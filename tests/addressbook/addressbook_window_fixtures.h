// Shared pieces of the address book window tests: a small book of units
// as a clerk would keep it, and helpers to drive the modal windows.
#pragma once

#include "addressbook/person.h"
#include "addressbook/ui/person_grid_model.h"
#include "addressbook/ui/tfm_person_manage.h"
#include "app/ui/grid_helpers.h"
#include "test_support.h"

#include <QApplication>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace billprint::test {

using Fields = std::initializer_list<std::pair<const char *, const char *>>;

inline int addUnit(const Database &db, Fields fields)
{
    TPerson p;
    for (const auto &[column, value] : fields)
        p.setText(QString::fromUtf8(column), QString::fromUtf8(value));
    QString error;
    EXPECT_TRUE(p.save(db, &error)) << error.toStdString();
    return p.id();
}

// Seven units: own and counterparties, groups, provinces, a default
// drawer, and a name and an account with apostrophes.
struct SampleBook
{
    int hengda, huaxia, pujiang, xihu, obrien, qianhai, shunde;

    explicit SampleBook(const Database &db)
    {
        hengda = addUnit(db, {{"全称", "广州市恒达贸易有限公司"}, {"助记码", "hdmy"}, {"联系人", "陈志明"},
                              {"开户银行", "中国工商银行广州天河支行"}, {"开户行账号", "3602000109000123456"},
                              {"省", "广东省"}, {"市", "广州市"}, {"地址", "广州市天河区体育西路103号"},
                              {"分组", "华南客户"}, {"单位类型", "往来单位"}, {"电话", "020-38881234"}});
        huaxia = addUnit(db, {{"全称", "北京华夏科技有限公司"}, {"助记码", "hxkj"}, {"联系人", "王建国"},
                              {"开户银行", "中国建设银行北京朝阳支行"}, {"开户行账号", "11001028600056001234"},
                              {"省", "北京市"}, {"市", "北京市"}, {"地址", "北京市朝阳区建国路88号"},
                              {"单位类型", "我方单位"}});
        pujiang = addUnit(db, {{"全称", "上海浦江物流有限公司"}, {"助记码", "pjwl"}, {"联系人", "李娜"},
                               {"开户银行", "招商银行上海分行"}, {"开户行账号", "121908765410201"},
                               {"省", "上海市"}, {"市", "上海市"}, {"地址", "上海市浦东新区张江路200号"},
                               {"分组", "华东客户"}, {"单位类型", "往来单位"}, {"手机", "13912345678"}});
        xihu = addUnit(db, {{"全称", "杭州西湖茶业有限公司"}, {"助记码", "xhcy"}, {"联系人", "赵敏"},
                            {"开户银行", "中国农业银行杭州西湖支行"}, {"开户行账号", "19015101040012345"},
                            {"省", "浙江省"}, {"市", "杭州市"}, {"地址", "杭州市西湖区龙井路1号"},
                            {"分组", "华东客户"}, {"单位类型", "往来单位"}});
        obrien = addUnit(db, {{"全称", "O'Brien (中国) 咨询有限公司"}, {"助记码", "obrien"}, {"联系人", "周杰"},
                              {"开户银行", "汇丰银行深圳分行"}, {"开户行账号", "HK'001-234"}, {"省", "广东省"},
                              {"市", "深圳市"}, {"地址", "深圳市南山区科技园南区"}, {"单位类型", "往来单位"}});
        qianhai = addUnit(db, {{"全称", "深圳市前海金融服务有限公司"}, {"助记码", "qhjr"}, {"联系人", "孙丽"},
                               {"开户银行", "平安银行深圳分行"}, {"开户行账号", "15000012345678"}, {"省", "广东省"},
                               {"市", "深圳市"}, {"地址", "深圳市前海深港合作区前湾一路1号"},
                               {"分组", "默认出票人"}, {"单位类型", "我方单位"}});
        shunde = addUnit(db, {{"全称", "佛山顺德美居家具厂"}, {"联系人", "何伟"},
                              {"地址", "广东省佛山市顺德区乐从镇家具大道8号"}, {"单位类型", "往来单位"}});
    }
};

// The full names the grid lists, in its order (all rows, not only those
// read so far).
inline QStringList listedNames(const Tfm_PersonManage &window)
{
    fetchAllRows(window.model());
    QStringList names;
    for (int row = 0; row < window.model()->rowCount(); ++row)
        names << window.model()->textAt(row, QStringLiteral("全称"));
    return names;
}

inline int rowOf(const Tfm_PersonManage &window, const QString &name)
{
    fetchAllRows(window.model());
    for (int row = 0; row < window.model()->rowCount(); ++row)
        if (window.model()->textAt(row, QStringLiteral("全称")) == name)
            return row;
    return -1;
}

inline void makeCurrent(Tfm_PersonManage &window, const QString &name)
{
    const int row = rowOf(window, name);
    ASSERT_GE(row, 0) << name.toStdString();
    window.grid()->setCurrentIndex(window.model()->index(row, 1));
}

// Runs `work` on the modal window of type W once it is up; a window of
// another kind is closed and reported.
template <typename W>
void onModal(std::function<void(W &)> work)
{
    QTimer::singleShot(0, [work] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *window = qobject_cast<W *>(modal);
        if (!window) {
            ADD_FAILURE() << "expected a modal " << W::staticMetaObject.className() << ", found "
                          << (modal ? modal->metaObject()->className() : "none");
            if (modal)
                modal->close();
            return;
        }
        work(*window);
    });
}

} // namespace billprint::test
