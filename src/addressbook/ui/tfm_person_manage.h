// The address book window (单位及客户资料管理): the units in a grid beside
// a tree of filters, with search, add, modify, delete, default drawer,
// import and export. Bill windows use it in pick mode to choose a unit.
#pragma once

#include "addressbook/person.h"
#include "addressbook/person_search.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableView;
class QWidget;

namespace billprint {

class AppContext;
class PersonFilterTree;
class PersonGridModel;
class Tfrm_PersonInfo;
struct TreeFilterChoice;

class Tfm_PersonManage : public QDialog
{
    Q_OBJECT
public:
    explicit Tfm_PersonManage(AppContext &context, QWidget *parent = nullptr);
    ~Tfm_PersonManage() override;

    // Openers, before the window shows.
    // Shows only the units of one kind ("我方单位" or "往来单位").
    void presetUnitKind(const QString &kind);
    // Chooser for a bill window: a double click picks a unit and closes
    // the window. A caption, when given, replaces the window's own.
    void setPickMode(const QString &caption = QString());
    bool pickMode() const { return m_pickMode; }
    // The unit picked by the last double click; none before.
    const std::optional<TPerson> &pickedPerson() const { return m_picked; }

    // Query with the keyword box, the filters and the one-column query.
    void runQuery(bool fromExactQuery = false);
    // Every unit of the book (全部).
    void listAll();
    // Repeats the query, updates title and counts and rebuilds the tree.
    void refresh();
    // Fills the tree's province and group nodes from the book.
    void rebuildTree();

    // Buttons and menu commands.
    void btQueryClick() { runQuery(); }
    void btKeywordHelpClick();
    void btAdvancedClick();
    void btExactQueryClick();
    void btAddClick();
    void btModifyClick();
    void btDeleteSelectedClick();
    void btDeleteListedClick();
    void btDeleteAllClick();
    void btWidenClick();
    void btDefaultDrawerClick();
    void btImportClick();
    void btExportClick();
    void btFirstClick();
    void btLastClick();
    void treeFilterChosen(const TreeFilterChoice &choice);
    void columnTitleClicked(int column);
    void rowDoubleClicked(int row);
    void rememberColumnWidths();
    void chooseColumns();

    // State, for the windows that hand over and for tests.
    const QString &unitKindFilter() const { return m_unitKind; }
    const QString &groupFilter() const { return m_group; }
    const QString &orderColumn() const { return m_orderColumn; }
    const QString &orderDirection() const { return m_orderDirection; }
    QTableView *grid() const { return m_grid; }
    PersonGridModel *model() const { return m_model; }
    PersonFilterTree *tree() const { return m_tree; }
    QLineEdit *keywordEdit() const { return m_edtKeyword; }
    QWidget *exactBar() const { return m_exactBar; }
    QComboBox *exactColumnBox() const { return m_cbExactColumn; }
    QComboBox *exactModeBox() const { return m_cbExactMode; }
    QLineEdit *exactKeyEdit() const { return m_edtExactKey; }
    QPushButton *button(const QString &objectName) const;
    Tfrm_PersonInfo *editor();
    QString titleText() const;
    QString tabText() const;
    QString statusText(int panel) const;  // panels 1 and 2
    // The unit in the grid's current row; 0 when the grid is empty.
    int currentId() const;
    int rowCount() const;

    static QString keywordHint();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    void connectControls();
    void showGridMenu(const QPoint &pos);
    void showQuery(const PersonFilter &filter);
    void restoreColumnWidths();
    void setExactBarShown(bool shown);
    void fillExactColumns();
    void updateSelectionStatus();
    void updateCaption();
    void updateTotalStatus();
    // Title count and "系统共有[n]条." after the units changed.
    void updateCounts();
    void setTitle(const QString &text);
    void setTab(const QString &text);
    void dataChanged();
    bool askDeleteAll(const QString &first, const QString &kind);

    AppContext &m_ctx;
    PersonGridModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    PersonFilterTree *m_tree = nullptr;
    QTabBar *m_tab = nullptr;
    QLabel *m_lbTitle = nullptr;
    QLineEdit *m_edtKeyword = nullptr;
    QWidget *m_exactBar = nullptr;
    QComboBox *m_cbExactColumn = nullptr;
    QComboBox *m_cbExactMode = nullptr;
    QLineEdit *m_edtExactKey = nullptr;
    QLabel *m_statusPanels[2] = {};
    Tfrm_PersonInfo *m_editor = nullptr;

    QString m_group = kAllGroups;
    QString m_unitKind;
    QString m_orderColumn = QStringLiteral("全称");
    QString m_orderDirection = QStringLiteral("DESC");
    bool m_pickMode = false;
    bool m_listedForShow = false;
    std::optional<TPerson> m_picked;
};

} // namespace billprint
