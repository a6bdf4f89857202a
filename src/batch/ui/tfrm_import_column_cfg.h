// The window that edits the title lists of the import items (table
// MatchColumn): which column titles of a sheet feed which item.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace billprint {

class AppContext;

class TfrmImportColumnCfg : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImportColumnCfg(AppContext &context, QWidget *parent = nullptr);

    // Typed into "顺序号：", shows "添加" and "删除" and lets the item name
    // be edited: items are added by the program's own people only.
    static constexpr const char *kServiceCode = "5820764";

    QTableWidget *grid() const { return m_grid; }
    void selectRow(int row);
    void btSubmitClick();
    void btRestoreClick();
    void btAddClick();
    void btDeleteClick();

private:
    void reload(int selectId = 0);
    void rowChanged();
    void edtOrderChange(const QString &text);
    int currentId() const;

    AppContext &m_ctx;
    QTableWidget *m_grid = nullptr;
    QLineEdit *m_order = nullptr;
    QLineEdit *m_item = nullptr;
    QLineEdit *m_source = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_delete = nullptr;
};

} // namespace billprint
