// The history window of a bill family: the issued bills in a grid with
// filters by number, party, date, amount and template, the sum of the
// listed amounts, a tree of date ranges, and the commands to open a bill
// in its entry window, delete, export and remember the grid's columns.
// The cheque adds voiding, number correction and the recording of cheque
// numbers in advance; the waybill adds late waybill numbers and remarks
// and parcel tracking on the web.
//
// One class serves the four families; what differs is the family's
// HistoryFamily description. The named window classes below exist so
// that each family's window is a type of its own.
#pragma once

#include "history/history_family.h"
#include "history/history_query.h"
#include "history/ui/history_window_host.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace billprint {

class AppContext;
class HistoryListModel;
class NumberRecordingPanel;
class TfmBillBase;

class TfmSearchBase : public QDialog
{
    Q_OBJECT
public:
    TfmSearchBase(AppContext &context, const HistoryFamily &family, const HistoryWindowHost &host = {},
                  QWidget *parent = nullptr);
    ~TfmSearchBase() override;

    const HistoryFamily &family() const { return m_family; }

    // The day the date ranges count from; the system date unless replaced.
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }

    // ---- Filters and the list ----------------------------------------------
    void runQuery();                    // "查 询(&Q)"
    void showAll();                     // "全 部(&A)"
    void refresh();                     // "【刷新】": the same statement again
    void columnTitleClicked(int column);
    void dateNodeClicked(DateNode node);
    void setAnyDate(bool on);           // "不限日期"
    void pickParty(bool first);         // "选" beside a party box
    void partyCodeEntered(bool first);  // Enter in a party box
    void fillNumberList();              // entering the number box
    int rowCount() const;
    // Statements run so far (refreshes included).
    int queryRuns() const;
    QString countText() const;
    QString sumText() const;

    // ---- Rows ------------------------------------------------------------
    // "打开(&O)", "【打开查看】", a double click while "双击打开" is on.
    void openCurrentRow();
    void deleteSelected();      // "删除选中(&D)"
    void deleteListed();        // "删除列出(&C)"
    void clearAllRows();        // "清空所有(&Y)"
    void exportList();          // "导出Excel(&P)"
    void rememberColumnWidths();
    void chooseColumns();
    // Selects rows (grid order, from 0) as a click with Ctrl would.
    void selectRows(const QList<int> &rows);

    // ---- The cheque ------------------------------------------------------
    void voidSelected();        // "作废选中(&F)"
    void renumberCurrent();     // "【修改编号】"
    void showNumberRecording(bool shown);  // "登记联号票据" / "结束登记"
    NumberRecordingPanel *recordingPanel() const { return m_recording; }

    // ---- The waybill -----------------------------------------------------
    void fillWaybillNumber();   // "补录入单号"
    void fillWaybillRemark();   // "补录备注"
    void trackParcel();         // "网上查单"

    // ---- Controls, for the tests -------------------------------------------
    QComboBox *numberBox() const { return m_cbNumber; }
    QLineEdit *firstPartyBox() const { return m_edtFirst; }
    QLineEdit *secondPartyBox() const { return m_edtSecond; }
    QComboBox *templateBox() const { return m_cbTemplate; }
    QDateEdit *fromDate() const { return m_dtFrom; }
    QDateEdit *toDate() const { return m_dtTo; }
    QCheckBox *anyDateBox() const { return m_ckAnyDate; }
    QLineEdit *minAmountBox() const { return m_edtMin; }
    QLineEdit *maxAmountBox() const { return m_edtMax; }
    QRadioButton *exactButton() const { return m_rbExact; }
    QCheckBox *doubleClickBox() const { return m_ckDblOpen; }
    QTableView *grid() const { return m_grid; }
    HistoryListModel *model() const { return m_model; }
    QTreeWidget *dateTree() const { return m_tree; }
    QMenu *gridMenu() const { return m_menu; }
    QLabel *statusLine() const { return m_lbStatus; }
    // A button by its caption.
    QPushButton *button(const QString &caption) const;
    // A command of the right-click menu by its caption.
    QAction *menuCommand(const QString &caption) const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building (tfm_search_base.cpp).
    void buildControls();
    QWidget *buildFilterGroup();
    QWidget *buildButtonColumn();
    QWidget *buildTreeColumn();
    void buildGrid();
    void buildMenu();
    void buildLayout();
    QPushButton *addButton(const QString &caption, QWidget *parent, const std::function<void()> &run);
    QAction *addMenuCommand(const QString &caption, const std::function<void()> &run,
                            const QKeySequence &shortcut = QKeySequence());
    QLineEdit *addPartyRow(QGridLayout *grid, int row, int column, const PartyFilterField &party, bool first);
    void connectControls();
    void moveCurrentRow(int step);
    void updateRowCommands();

    // Filters (tfm_search_query.cpp).
    HistoryFilter readFilters();
    void resetFilters();
    void forgetStatement() { m_lastKey.clear(); }
    void showResult();
    // Remembered widths, else widths that fit the titles and rows.
    void restoreColumnWidths();
    void markAmountBox(QLineEdit *box, bool invalid);
    QDate today() const;
    void storeDoubleClickOption();

    // Rows (tfm_search_rows.cpp).
    int currentRow() const;
    bool otherWindowsOpen() const;
    bool closeOtherWindowsFirst();
    bool keepTypedBill(TfmBillBase &window);
    // Asks for a new text of `column` in the current row and stores it.
    int changeCurrentText(const QString &prompt, const QString &column);
    void numbersRecorded();

    AppContext &m_ctx;
    const HistoryFamily &m_family;
    HistoryWindowHost m_host;
    HistoryOrdering m_ordering;
    std::function<QDate()> m_today;
    QString m_lastKey;

    QComboBox *m_cbNumber = nullptr;
    QLineEdit *m_edtFirst = nullptr;
    QLineEdit *m_edtSecond = nullptr;
    QComboBox *m_cbTemplate = nullptr;
    QDateEdit *m_dtFrom = nullptr;
    QDateEdit *m_dtTo = nullptr;
    QCheckBox *m_ckAnyDate = nullptr;
    QLineEdit *m_edtMin = nullptr;
    QLineEdit *m_edtMax = nullptr;
    QRadioButton *m_rbExact = nullptr;
    QRadioButton *m_rbContains = nullptr;
    QLabel *m_lbCount = nullptr;
    QLabel *m_lbSum = nullptr;
    QCheckBox *m_ckDblOpen = nullptr;
    QWidget *m_filterGroup = nullptr;
    QWidget *m_buttonColumn = nullptr;
    QWidget *m_treeColumn = nullptr;
    QTreeWidget *m_tree = nullptr;
    QTableView *m_grid = nullptr;
    HistoryListModel *m_model = nullptr;
    QMenu *m_menu = nullptr;
    QLabel *m_lbStatus = nullptr;
    NumberRecordingPanel *m_recording = nullptr;
    QList<QPushButton *> m_buttons;
    QList<QAction *> m_rowCommands;  // enabled only while the list has rows
    bool m_fittingColumns = false;      // the window itself sizes the columns
    bool m_columnsSizedByUser = false;  // a column was dragged since the window opened
    static constexpr int kWidestFittedColumn = 320;
};

// The four families' windows.
class TfmSearch_ZP : public TfmSearchBase
{
    Q_OBJECT
public:
    explicit TfmSearch_ZP(AppContext &context, const HistoryWindowHost &host = {}, QWidget *parent = nullptr)
        : TfmSearchBase(context, HistoryFamily::cheque(), host, parent) {}
};

class TfmSearch_JZD : public TfmSearchBase
{
    Q_OBJECT
public:
    explicit TfmSearch_JZD(AppContext &context, const HistoryWindowHost &host = {}, QWidget *parent = nullptr)
        : TfmSearchBase(context, HistoryFamily::depositSlip(), host, parent) {}
};

class TfmSearch_JKD : public TfmSearchBase
{
    Q_OBJECT
public:
    explicit TfmSearch_JKD(AppContext &context, const HistoryWindowHost &host = {}, QWidget *parent = nullptr)
        : TfmSearchBase(context, HistoryFamily::cashSlip(), host, parent) {}
};

class TfmSearch_KDD : public TfmSearchBase
{
    Q_OBJECT
public:
    explicit TfmSearch_KDD(AppContext &context, const HistoryWindowHost &host = {}, QWidget *parent = nullptr)
        : TfmSearchBase(context, HistoryFamily::waybill(), host, parent) {}
};

} // namespace billprint
