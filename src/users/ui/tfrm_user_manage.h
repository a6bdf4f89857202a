#pragma once

#include <QDialog>

class QSqlTableModel;
class QTableView;

namespace billprint {

class Database;
class TfrmModifyPassword;

// "用户及权限管理": the operator list with add, edit, post, delete and
// password reset of the selected rows, and the password change window.
class TfrmUserManage : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUserManage(const Database &db, QWidget *parent = nullptr);

    QTableView *grid() const { return m_grid; }
    QSqlTableModel *model() const { return m_model; }

    void addUser();         // "添加"
    void editCurrent();     // "修改"
    bool post();            // "提交刷新"
    void deleteSelected();  // "删除选中"
    void resetSelected();   // "重置密码"
    void modifyPassword();  // "修改密码"

private:
    QList<qint64> selectedIds() const;
    void reload();

    const Database &m_db;
    QSqlTableModel *m_model;
    QTableView *m_grid;
    TfrmModifyPassword *m_modify = nullptr;
};

} // namespace billprint
