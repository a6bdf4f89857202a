// The batch print list window (禾朔软件-批量打印快递单-收件人): the waybill
// receivers of table ReceiverList in a grid, filtered and ordered, filled
// from the address book, a spreadsheet or pasted address text, rewritten a
// column at a time, and printed through the waybill window it was opened
// from, one page per row in one print job.
//
// The window is spread over files by what the code does: building, menu,
// help and the window's life (tfrm_muti_print.cpp), the list (_list) and
// the print run (_run); the column rewrite panel is a class of its own
// (column_rewrite_panel.h).
#pragma once

#include "batch/receiver_list.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSet>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressDialog;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace billprint {

class AppContext;
class BatchPrintRun;
class PrintPreviewDialog;
class ColumnRewritePanel;
class TfmCheckKDD;
class TPersonKDD;

class TfrmMutiPrint : public QDialog
{
    Q_OBJECT
public:
    TfrmMutiPrint(AppContext &context, TfmCheckKDD *waybill, QWidget *parent = nullptr);
    ~TfrmMutiPrint() override;

    // The list window of a waybill window, made on first use and kept.
    static TfrmMutiPrint *of(TfmCheckKDD &waybill);

    // ---- For the windows that add receivers --------------------------
    // Lists again with the filter bar as it stands ("查 询").
    void refresh();
    // Adds one receiver (nothing when its 联系人, 全称 and 地址 are all
    // empty) and lists again. False when it could not be stored.
    bool addReceiverAndGoods(const TPersonKDD &receiver);
    // Fills the waybill window from one row. False when there is no
    // waybill window, no such row, or the ID is empty.
    bool SendToCheckByID(int id);

    // ---- Commands -----------------------------------------------------
    void listAll();               // "全 部"
    int printListed();            // "3.【开始】批量打印列出条目"; pages printed
    int printSelected();          // "【批量打印选中】条目"
    void stopPrinting();          // the progress dialog's "停止"
    void selectFirstN();          // "选中前 N 条"
    void clearAll();              // "清空系统所有条目"
    void exportListed();          // "导出到Excel(列出)"
    void deleteListed();          // "删除当前列出条目"
    void deleteSelected();        // "删除选中条目"
    void pickFromAddressBook();   // "选取地址本"
    void addUnits(const QList<int> &unitIds);
    void openImport();            // "导入Excel "
    void openAddressParser();     // "识别复制串或输入"
    void preview();               // "【预览】第1个"
    // "打印预览": the pages of the selected rows, or of the listed ones,
    // at most the first PreviewPages, as the print run makes them; its
    // "打印" prints the selection or the list. Null when nothing was made.
    PrintPreviewDialog *printPreview();
    static constexpr int PreviewPages = 50;
    void toggleRewritePanel();    // "批量填充列"
    void applyRewrite();          // "应用修改"
    void hideRewritePanel();      // "关闭"
    void rememberColumnWidths();  // "【记住】当前表格列宽"
    void chooseColumns();         // "【隐藏/显示】表格列"
    void goFirst();               // "|<"
    void goLast();                // ">|"
    void showHelp(const QString &link);

    // ---- State, for tests and the windows around ----------------------
    TfmCheckKDD *waybill() const { return m_waybill; }
    QTableView *grid() const { return m_grid; }
    QSqlQueryModel *model() const { return m_model; }
    QComboBox *filterBox() const { return m_cbFilter; }
    QComboBox *modeBox() const { return m_cbMode; }
    QLineEdit *keyEdit() const { return m_edtKey; }
    QComboBox *orderBox() const { return m_cbOrder; }
    QCheckBox *descendingBox() const { return m_ckDescending; }
    QLineEdit *listedCount() const { return m_edtListed; }
    QLineEdit *selectedCount() const { return m_edtSelected; }
    QWidget *rewritePanel() const;
    QComboBox *rewriteTarget() const;
    QComboBox *rewritePart(int i) const;
    QCheckBox *emptyPartsBox() const;
    QPushButton *button(const QString &objectName) const;
    int rowCount() const;
    // IDs of the listed rows, and of the selected ones, in list order.
    QList<int> listedIds() const;
    QList<int> selectedIds() const;
    // The optional columns the grid shows: these are sent to the waybill.
    QSet<QString> visibleColumns() const;
    // The grid's context menu as it would open now.
    QMenu *makeGridMenu();
    bool printing() const { return m_printing; }

    static const QStringList &helpLinks();

signals:
    // After each printed page of a run.
    void printProgress(int done, int total);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QWidget *buildSourceBar();
    QWidget *buildFilterBar();
    QWidget *buildPrintBar();
    QWidget *buildHelpBar();
    QWidget *buildRewritePanel();
    void connectControls();
    ReceiverQuery currentQuery() const;
    void fillFilterList();
    void fillOrderList();
    void restoreColumnWidths();
    void updateCounts();
    // Opens a window that adds receivers (a hook of the batch list host),
    // then lists again; without the hook, says it comes later.
    void openAddingWindow(const std::function<void(TfrmMutiPrint &)> &open);
    int runPrint(const QList<int> &ids, bool needReady);
    // The waybill would print no sender at all.
    bool senderMissing() const;
    // One message for how a run ended; none when the print run told.
    void tellPrintOutcome(const BatchPrintRun &run, int pages);
    bool listLocked() const;

    AppContext &m_ctx;
    QPointer<TfmCheckKDD> m_waybill;
    ReceiverList m_list;
    QSqlQueryModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QComboBox *m_cbFilter = nullptr;
    QComboBox *m_cbMode = nullptr;
    QLineEdit *m_edtKey = nullptr;
    QComboBox *m_cbOrder = nullptr;
    QCheckBox *m_ckDescending = nullptr;
    QLineEdit *m_edtListed = nullptr;
    QLineEdit *m_edtSelected = nullptr;
    ColumnRewritePanel *m_rewritePanel = nullptr;
    QPointer<QProgressDialog> m_progress;
    bool m_printing = false;
    bool m_stopRequested = false;
};

} // namespace billprint
