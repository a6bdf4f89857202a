#pragma once

#include <QDialog>

class QComboBox;
class QDataWidgetMapper;
class QLineEdit;
class QSqlTableModel;
class QTableView;

namespace billprint {

class Database;
class TfrmModifyPassword;

// "用户及权限管理": the operator list with add, edit, post, delete and
// password reset of the selected rows, and the password change window.
// The edit fields under the grid show the current row; they take input
// only after "添加" or "修改", and "提交刷新" stores it.
class TfrmUserManage : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUserManage(const Database &db, QWidget *parent = nullptr);

    QTableView *grid() const { return m_grid; }
    QSqlTableModel *model() const { return m_model; }
    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *passwordBox() const { return m_password; }
    QComboBox *roleBox() const { return m_role; }
    QLineEdit *remarkBox() const { return m_remark; }
    bool isEditing() const { return m_editing; }

    void addUser();         // "添加"
    void editCurrent();     // "修改"
    bool post();            // "提交刷新"
    void deleteSelected();  // "删除选中"
    void resetSelected();   // "重置密码"
    void modifyPassword();  // "修改密码"

private:
    QList<qint64> selectedIds() const;
    void reload();
    void setEditing(bool on);
    void showRow(int row);
    bool checkPendingRows();
    // Rows added or edited are posted before an operation reloads the grid.
    bool postPending();

    const Database &m_db;
    QSqlTableModel *m_model;
    QTableView *m_grid;
    QDataWidgetMapper *m_mapper;
    QLineEdit *m_name;
    QLineEdit *m_password;
    QComboBox *m_role;
    QLineEdit *m_remark;
    TfrmModifyPassword *m_modify = nullptr;
    bool m_editing = false;
};

} // namespace billprint
