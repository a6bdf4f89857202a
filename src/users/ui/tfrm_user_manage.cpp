#include "users/ui/tfrm_user_manage.h"

#include "app/alert.h"
#include "app/database.h"
#include "app/ui/grid_helpers.h"
#include "users/ui/tfrm_modify_password.h"
#include "users/user_store.h"

#include <QComboBox>
#include <QDataWidgetMapper>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kPasswordShown = QStringLiteral("******");

int field(const QSqlTableModel *model, const char *name)
{
    return model->fieldIndex(QString::fromLatin1(name));
}

} // namespace

TfrmUserManage::TfrmUserManage(const Database &db, QWidget *parent)
    : QDialog(parent),
      m_db(db),
      m_model(new QSqlTableModel(this, db.connection())),
      m_grid(new QTableView(this)),
      m_mapper(new QDataWidgetMapper(this)),
      m_name(new QLineEdit(this)),
      m_password(new QLineEdit(this)),
      m_role(new QComboBox(this)),
      m_remark(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmUserManage"));
    setWindowTitle(QStringLiteral("用户及权限管理"));
    m_model->setTable(db.dialect().storedTableName(QStringLiteral("UserTable")));
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
    m_grid->hideColumn(m_model->fieldIndex(QStringLiteral("ID")));
    m_grid->hideColumn(m_model->fieldIndex(QStringLiteral("Passwd")));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    // The edit fields: the password only shows whether there is one; it is
    // set in the password change window, never typed here.
    m_name->setMaxLength(30);
    m_password->setReadOnly(true);
    m_password->setEchoMode(QLineEdit::Password);
    m_role->setEditable(true);
    m_role->addItems(UserStore::roleNames());
    m_remark->setMaxLength(200);
    m_mapper->setModel(m_model);
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    m_mapper->addMapping(m_name, field(m_model, "UserName"));
    m_mapper->addMapping(m_role, field(m_model, "RoleName"), "currentText");
    m_mapper->addMapping(m_remark, field(m_model, "Remark"));
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showRow(current.row()); });
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("用户名:"), m_name);
    fields->addRow(QStringLiteral("密码:"), m_password);
    fields->addRow(QStringLiteral("角色:"), m_role);
    fields->addRow(QStringLiteral("备注:"), m_remark);

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
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(640, 480);
    reload();
}

void TfrmUserManage::reload()
{
    m_model->select();
    m_grid->clearSelection();
    setEditing(false);
    if (m_model->rowCount() > 0)
        m_grid->selectionModel()->setCurrentIndex(m_model->index(0, field(m_model, "UserName")), QItemSelectionModel::NoUpdate);
    else
        showRow(-1);
}

void TfrmUserManage::setEditing(bool on)
{
    m_editing = on;
    for (QWidget *editor : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_role),
                            static_cast<QWidget *>(m_remark)})
        editor->setEnabled(on);
}

void TfrmUserManage::showRow(int row)
{
    // Moving to another row keeps what was typed for the row left.
    if (m_editing && m_mapper->currentIndex() >= 0 && m_mapper->currentIndex() != row)
        m_mapper->submit();
    m_mapper->setCurrentIndex(row);
    if (row < 0) {
        m_name->clear();
        m_remark->clear();
        m_role->setCurrentText(QString());
    }
    const bool hasPassword = row >= 0 && !m_model->index(row, field(m_model, "Passwd")).data().toString().isEmpty();
    m_password->setText(hasPassword ? kPasswordShown : QString());
}

void TfrmUserManage::addUser()
{
    if (m_editing)
        m_mapper->submit();
    const int row = m_model->rowCount();
    m_model->insertRow(row);
    // A new user has no password until one is set: the login note says so.
    m_model->setData(m_model->index(row, field(m_model, "Passwd")), QStringLiteral(""));  // empty, not NULL
    m_model->setData(m_model->index(row, field(m_model, "RoleName")), UserStore::roleNames().last());
    setEditing(true);
    m_grid->selectionModel()->setCurrentIndex(m_model->index(row, field(m_model, "UserName")), QItemSelectionModel::NoUpdate);
    showRow(row);
    m_name->setFocus();
}

void TfrmUserManage::editCurrent()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    setEditing(true);
    showRow(current.row());
    m_name->setFocus();
}

bool TfrmUserManage::checkPendingRows()
{
    const UserStore store(m_db);
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->headerData(row, Qt::Vertical).toString() == QLatin1String("!"))
            continue;  // deleted, not yet posted
        const QModelIndex nameIndex = m_model->index(row, field(m_model, "UserName"));
        const QString name = UserStore::loginText(nameIndex.data().toString());
        bool dirty = false;
        for (int column = 0; column < m_model->columnCount() && !dirty; ++column)
            dirty = m_model->isDirty(m_model->index(row, column));
        if (dirty) {
            const QVariant id = m_model->index(row, field(m_model, "ID")).data();
            QString refusal = store.checkUserName(name, id.isNull() ? -1 : id.toLongLong()).message;
            if (refusal.isEmpty() && names.contains(name))
                refusal = QStringLiteral("用户名已经存在：") + name;  // twice among the rows not yet posted
            if (refusal.isEmpty() && m_model->index(row, field(m_model, "RoleName")).data().toString().trimmed().isEmpty())
                refusal = QStringLiteral("请选择用户的角色~");
            if (!refusal.isEmpty()) {
                tell(refusal, QStringLiteral("提示"), AlertIcon::Warning);
                m_grid->selectionModel()->setCurrentIndex(nameIndex, QItemSelectionModel::NoUpdate);
                m_name->setFocus();
                return false;
            }
            // Stored the way the login reads it, so the name can log in.
            if (name != nameIndex.data().toString())
                m_model->setData(nameIndex, name);
        }
        names << name;
    }
    return true;
}

bool TfrmUserManage::post()
{
    if (m_editing)
        m_mapper->submit();
    if (!checkPendingRows())
        return false;  // what was typed stays in the fields
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

bool TfrmUserManage::postPending()
{
    if (m_editing)
        m_mapper->submit();
    return !m_model->isDirty() || post();
}

void TfrmUserManage::deleteSelected()
{
    if (!postPending())
        return;
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
    if (!postPending())
        return;
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
    if (!postPending())
        return;
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
