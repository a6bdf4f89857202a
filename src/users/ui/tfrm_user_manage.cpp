#include "users/ui/tfrm_user_manage.h"

#include "app/alert.h"
#include "app/database.h"
#include "app/ui/grid_helpers.h"
#include "users/ui/tfrm_modify_password.h"
#include "users/user_store.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QVBoxLayout>

namespace billprint {

TfrmUserManage::TfrmUserManage(const Database &db, QWidget *parent)
    : QDialog(parent), m_db(db), m_model(new QSqlTableModel(this, db.connection())), m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("frmUserManage"));
    setWindowTitle(QStringLiteral("用户及权限管理"));
    m_model->setTable(QStringLiteral("UserTable"));
    m_model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    m_model->setSort(m_model->fieldIndex(QStringLiteral("UserName")), Qt::AscendingOrder);
    const QList<std::pair<QString, QString>> headers = {{QStringLiteral("UserName"), QStringLiteral("用户名")},
                                                        {QStringLiteral("RoleName"), QStringLiteral("操作角色")},
                                                        {QStringLiteral("lastlogin"), QStringLiteral("最后登录时间")},
                                                        {QStringLiteral("Remark"), QStringLiteral("备注")}};
    for (const auto &[field, title] : headers)
        m_model->setHeaderData(m_model->fieldIndex(field), Qt::Horizontal, title);
    m_grid->setModel(m_model);
    // The ID is the grid's key; the password hash is nobody's business.
    m_grid->hideColumn(m_model->fieldIndex(QStringLiteral("Passwd")));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QHBoxLayout;
    const QList<std::pair<QString, void (TfrmUserManage::*)()>> actions = {
        {QStringLiteral("添加"), &TfrmUserManage::addUser},
        {QStringLiteral("修改"), &TfrmUserManage::editCurrent},
        {QStringLiteral("提交刷新"), nullptr},
        {QStringLiteral("删除选中"), &TfrmUserManage::deleteSelected},
        {QStringLiteral("重置密码"), &TfrmUserManage::resetSelected},
        {QStringLiteral("修改密码"), &TfrmUserManage::modifyPassword},
    };
    for (const auto &[text, slot] : actions) {
        auto *button = new QPushButton(text, this);
        if (slot)
            connect(button, &QPushButton::clicked, this, slot);
        else
            connect(button, &QPushButton::clicked, this, [this] { post(); });
        buttons->addWidget(button);
    }
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    resize(640, 400);
    reload();
}

void TfrmUserManage::reload()
{
    m_model->select();
    m_grid->clearSelection();
}

void TfrmUserManage::addUser()
{
    const int row = m_model->rowCount();
    m_model->insertRow(row);
    m_model->setData(m_model->index(row, m_model->fieldIndex(QStringLiteral("Passwd"))), QString());
    m_model->setData(m_model->index(row, m_model->fieldIndex(QStringLiteral("RoleName"))),
                     UserStore::roleNames().last());
    const QModelIndex name = m_model->index(row, m_model->fieldIndex(QStringLiteral("UserName")));
    m_grid->setCurrentIndex(name);
    m_grid->edit(name);
}

void TfrmUserManage::editCurrent()
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        m_grid->edit(current);
}

bool TfrmUserManage::post()
{
    if (!m_model->submitAll()) {
        tell(QStringLiteral("保存失败，错误=") + m_model->lastError().text(), QStringLiteral("提示"),
             AlertIcon::Error);
        return false;  // what was typed stays in the grid
    }
    reload();
    return true;
}

QList<qint64> TfrmUserManage::selectedIds() const
{
    QList<qint64> ids;
    for (const QVariant &v : GridSelectedValues(m_grid, QStringLiteral("ID"), QStringLiteral("NUM")))
        ids << v.toLongLong();
    return ids;
}

void TfrmUserManage::deleteSelected()
{
    const QList<qint64> ids = selectedIds();
    const UserStore store(m_db);
    if (ids.isEmpty()) {
        tell(store.deleteUsers(ids).message);
        return;
    }
    if (askYesNo(QStringLiteral("用户删除将无法找回，用户处理的订单等数据并不会删除，确认删除这些用户吗？"),
                 QStringLiteral("删除确认"))) {
        const UserOutcome o = store.deleteUsers(ids);
        tell(o.message, QStringLiteral("提示"), o.ok() ? AlertIcon::Information : AlertIcon::Error);
    }
    reload();
}

void TfrmUserManage::resetSelected()
{
    const QList<qint64> ids = selectedIds();
    const UserStore store(m_db);
    if (ids.isEmpty()) {
        tell(store.resetPasswords(ids).message);
        return;
    }
    if (askYesNo(QStringLiteral("确定要重置选中用户的密码为空吗？"))) {
        const UserOutcome o = store.resetPasswords(ids);
        tell(o.message, QStringLiteral("提示"), o.ok() ? AlertIcon::Information : AlertIcon::Error);
    }
    reload();
}

void TfrmUserManage::modifyPassword()
{
    if (!m_modify)
        m_modify = new TfrmModifyPassword(m_db, this);
    const QModelIndex current = m_grid->currentIndex();
    const QString name = current.isValid()
        ? m_model->index(current.row(), m_model->fieldIndex(QStringLiteral("UserName"))).data().toString()
        : QString();
    m_modify->prepare(name);
    m_modify->exec();
    reload();
}

} // namespace billprint
