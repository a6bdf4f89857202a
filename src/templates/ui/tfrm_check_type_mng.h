#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSqlQueryModel;
class QTabBar;
class QTableView;

namespace billprint {

class AppContext;

// The template catalogue: lists the templates by scope, family and
// keyword and changes them (default, common and its order, hidden,
// clone, rename, delete).
class TfrmCheckTypeMng : public QDialog
{
    Q_OBJECT
public:
    TfrmCheckTypeMng(AppContext &ctx, int currentCheckTypeId, QWidget *parent = nullptr);
    ~TfrmCheckTypeMng() override;

    // Run by the import button and the link to more templates.
    std::function<void()> openImport;
    std::function<void()> openMoreTemplates;
    // Run by the menu's "模板设计" with the current row's template id.
    std::function<void(int checkTypeId)> openDesign;
    // The name prompt of clone and rename; by default giveMeAnValue.
    std::function<QString(const QString &prompt, const QString &defaultValue)> askName;

    void refresh();
    QTableView *grid() const { return m_grid; }
    QTabBar *scopes() const { return m_tabs; }
    QComboBox *families() const { return m_family; }

    void setDefault();
    void setCommon(bool common);
    void setSelectedEnabled(bool enabled);
    void moveCommon(bool up);
    void cloneTemplate();
    void renameTemplate();
    void deleteSelected();
    // Shows the background picture of the template in `row`, modally.
    void showPicture(int row);
    // Opens the offset window on the current row's template; without a
    // handler the user is told so.
    void designTemplate();
    // The grid's context menu, its entries enabled as the buttons are.
    void fillMenu(QMenu &menu);

    // Closing saves the window size; a failure to write it is told.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<int> selectedIds() const;
    int currentId() const;
    QString cell(int row, int column) const;
    void familyChanged();
    void enableButtons();
    void showMenu(const QPoint &pos);
    QString askNewLastName(const QString &current);

    AppContext &m_ctx;
    int m_passedId;
    QTabBar *m_tabs = nullptr;
    QComboBox *m_family = nullptr;
    QLineEdit *m_search = nullptr;
    QTableView *m_grid = nullptr;
    QSqlQueryModel *m_model = nullptr;
    QPushButton *m_default = nullptr, *m_common = nullptr, *m_uncommon = nullptr, *m_hide = nullptr,
                *m_enable = nullptr, *m_delete = nullptr;
};

} // namespace billprint
