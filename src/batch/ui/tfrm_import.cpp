#include "batch/ui/tfrm_import.h"

#include "batch/ui/batch_list_host.h"
#include "batch/ui/tfrm_muti_print.h"
#include "bills/ui/tfm_check_kdd.h"

#include "addressbook/ui/address_book_host.h"
#include "app/alert.h"
#include "app/app_context.h"
#include "app/desktop_open.h"
#include "app/system_settings.h"
#include "app/ui/main_frame.h"
#include "batch/match_column_store.h"
#include "batch/ui/tfrm_import_column_cfg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSqlQuery>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kOrderIdOn = QStringLiteral("ckOrderIDOn");
const QString kMemberIdOn = QStringLiteral("ckMemeberIDOn");
const QString kOwnUnit = QStringLiteral("我方单位");
const QString kCounterparty = QStringLiteral("往来单位");
const QString kGroup = QStringLiteral("批打分组");
const QString kUnitKind = QStringLiteral("单位类型");

QCheckBox *namedCheck(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(objectName);
    return box;
}

QPushButton *namedButton(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmImport::TfrmImport(AppContext &context, ImportTarget target, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_target(target)
{
    setObjectName(QStringLiteral("TfrmImport"));
    setWindowTitle(QStringLiteral("禾朔软件-收、发件人资料导入"));
    buildWindow();
    QString error;
    if (!MatchColumnStore(m_ctx.db()).ensureReady(&error))
        tell(error, QStringLiteral("错误"), AlertIcon::Error);
}

TfrmImport::~TfrmImport() = default;

void TfrmImport::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_scenario = new QComboBox(this);
    m_scenario->setObjectName(QStringLiteral("cbScenario"));
    m_scenario->addItems({importScenarioName(ImportTarget::AddressBook), importScenarioName(ImportTarget::BatchList)});
    m_scenario->setCurrentIndex(m_target == ImportTarget::AddressBook ? 0 : 1);
    m_scenario->setEnabled(false);  // each opener imports into its own list
    top->addWidget(new QLabel(QStringLiteral("1、导入方式："), this));
    top->addWidget(m_scenario, 1);
    layout->addLayout(top);

    auto *fileRow = new QHBoxLayout;
    QPushButton *browse = namedButton(this, QStringLiteral("btBrowse"), QStringLiteral("【浏览Excel】"));
    connect(browse, &QPushButton::clicked, this, &TfrmImport::btBrowseClick);
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("edtFile"));
    m_file->setReadOnly(true);
    m_sheet = new QComboBox(this);
    m_sheet->setObjectName(QStringLiteral("cbSheet"));
    m_sheet->setMinimumWidth(120);
    connect(m_sheet, QOverload<int>::of(&QComboBox::activated), this, &TfrmImport::cbSheetChange);
    QPushButton *help = namedButton(this, QStringLiteral("lbFormatHelp"), QStringLiteral("对Excel、CSV的格式要求?"));
    help->setFlat(true);
    connect(help, &QPushButton::clicked, this, &TfrmImport::showFormatHelp);
    fileRow->addWidget(new QLabel(QStringLiteral("2、"), this));
    fileRow->addWidget(browse);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(new QLabel(QStringLiteral("工作表："), this));
    fileRow->addWidget(m_sheet);
    fileRow->addWidget(help);
    layout->addLayout(fileRow);

    layout->addWidget(buildFields(), 1);
    layout->addWidget(buildOptions());

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbImport"));
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    auto *buttons = new QHBoxLayout;
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    QPushButton *cfg = namedButton(this, QStringLiteral("btColumnCfg"), QStringLiteral("列匹配设置"));
    connect(cfg, &QPushButton::clicked, this, &TfrmImport::btColumnCfgClick);
    m_start = namedButton(this, QStringLiteral("btStart"), QStringLiteral("4、【开始导入】(&M)"));
    m_start->setEnabled(false);
    connect(m_start, &QPushButton::clicked, this, &TfrmImport::start);
    m_stop = namedButton(this, QStringLiteral("btStop"), QStringLiteral("中止导入"));
    m_stop->setEnabled(false);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopPressed = true; });
    m_viewLog = namedButton(this, QStringLiteral("btViewLog"), QStringLiteral("查看日志(&L)"));
    m_viewLog->setEnabled(false);
    connect(m_viewLog, &QPushButton::clicked, this, &TfrmImport::btViewLogClick);
    QPushButton *close = namedButton(this, QStringLiteral("btClose"), QStringLiteral("关闭"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_status, 1);
    buttons->addWidget(cfg);
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_viewLog);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    showScenario();
}

QComboBox *TfrmImport::addField(QFormLayout *form, const QString &item, const QString &caption, bool book)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("cb_") + item + (book ? QStringLiteral("_book") : QString()));
    combo->setMinimumWidth(150);
    form->addRow(caption, combo);
    return combo;
}

QWidget *TfrmImport::buildFields()
{
    auto *area = new QWidget(this);
    auto *row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    auto *common = new QGroupBox(QStringLiteral("3、匹配列（带*号的至少选一项）"), area);
    auto *commonForm = new QFormLayout(common);
    m_bookBox = new QGroupBox(QStringLiteral("地址薄-专有项目"), area);
    auto *bookForm = new QFormLayout(m_bookBox);
    m_listBox = new QGroupBox(QStringLiteral("批量打印-专有项目"), area);
    auto *listLayout = new QVBoxLayout(m_listBox);
    auto *listColumns = new QHBoxLayout;
    // The batch list has twice as many items: two columns keep the window
    // within a laptop screen.
    QFormLayout *listForms[2] = {new QFormLayout, new QFormLayout};
    listColumns->addLayout(listForms[0]);
    listColumns->addLayout(listForms[1]);
    listLayout->addLayout(listColumns);
    int listed = 0;
    auto listForm = [&] { return listForms[listed++ % 2]; };
    for (const ImportItem &item : importItems()) {
        if (item.caption.isEmpty())
            continue;
        if (item.inBook && item.inList && item.name != kGroup) {
            m_common.insert(item.name, addField(commonForm, item.name, item.caption, false));
        } else if (item.name == kGroup) {
            m_book.insert(item.name, addField(bookForm, item.name, QStringLiteral("地址薄分组->"), true));
            m_list.insert(item.name, addField(listForm(), item.name, QStringLiteral("批打分组->"), false));
        } else if (item.inBook) {
            QComboBox *combo = addField(bookForm, item.name, item.caption, true);
            m_book.insert(item.name, combo);
            if (item.name == kUnitKind) {
                m_fixed = namedCheck(m_bookBox, QStringLiteral("ckFixed"), QStringLiteral("固定"));
                m_fixed->setChecked(true);
                connect(m_fixed, &QCheckBox::toggled, this, &TfrmImport::applyFixedKind);
                bookForm->addRow(QString(), m_fixed);
            }
        } else {
            m_list.insert(item.name, addField(listForm(), item.name, item.caption, false));
        }
    }
    const SystemSettings &settings = m_ctx.settings();
    m_orderId = namedCheck(m_listBox, QStringLiteral("ckOrderID"), QStringLiteral("订单号"));
    m_memberId = namedCheck(m_listBox, QStringLiteral("ckMemberID"), QStringLiteral("会员名"));
    m_orderId->setChecked(settings.getConfigByname(kOrderIdOn) == QLatin1String("1"));
    m_memberId->setChecked(settings.getConfigByname(kMemberIdOn) == QLatin1String("1"));
    connect(m_orderId, &QCheckBox::clicked, this,
            [this](bool on) { m_ctx.settings().setConfigByname(kOrderIdOn, on ? QStringLiteral("1") : QStringLiteral("0")); });
    connect(m_memberId, &QCheckBox::clicked, this,
            [this](bool on) { m_ctx.settings().setConfigByname(kMemberIdOn, on ? QStringLiteral("1") : QStringLiteral("0")); });
    auto *remark = new QHBoxLayout;
    remark->addWidget(new QLabel(QStringLiteral("加入备注："), m_listBox));
    remark->addWidget(m_orderId);
    remark->addWidget(m_memberId);
    remark->addStretch(1);
    listLayout->addLayout(remark);
    listLayout->addStretch(1);
    row->addWidget(common);
    row->addWidget(m_bookBox);
    row->addWidget(m_listBox);
    return area;
}

QWidget *TfrmImport::buildOptions()
{
    auto *box = new QGroupBox(QStringLiteral("导入选项"), this);
    auto *layout = new QHBoxLayout(box);
    m_duplicate = namedCheck(box, QStringLiteral("ckDuplicate"), QStringLiteral("判断重复"));
    m_byContact = namedCheck(box, QStringLiteral("ckByContact"), QStringLiteral("联系人"));
    m_byName = namedCheck(box, QStringLiteral("ckByName"), QStringLiteral("单位全称"));
    m_byPhone = namedCheck(box, QStringLiteral("ckByPhone"), QStringLiteral("联系电话"));
    m_askDuplicate = namedCheck(box, QStringLiteral("ckAskDuplicate"), QStringLiteral("发现重复记录弹出提示确认"));
    m_openLog = namedCheck(box, QStringLiteral("ckOpenLog"), QStringLiteral("完成后自动弹出查看导入日志"));
    m_wpsFirst = namedCheck(box, QStringLiteral("ckWps"), QStringLiteral("金山WPS Excel优先启动"));
    const bool list = m_target == ImportTarget::BatchList;
    // The batch list is filled anew for each run: no duplicate test there.
    m_duplicate->setChecked(!list);
    m_byContact->setChecked(!list);
    m_byName->setChecked(!list);
    connect(m_duplicate, &QCheckBox::toggled, this, &TfrmImport::ckDuplicateClick);
    for (QCheckBox *basis : {m_byContact, m_byName, m_byPhone})
        connect(basis, &QCheckBox::toggled, this, [this](bool on) {
            if (on)
                m_duplicate->setChecked(true);
        });
    m_wpsFirst->setChecked(m_ctx.settings().getConfigByname(SettingKey::MsExcelFirst) != QLatin1String("1"));
    connect(m_wpsFirst, &QCheckBox::clicked, this, [this](bool on) {
        m_ctx.settings().setConfigByname(SettingKey::MsExcelFirst, on ? QStringLiteral("0") : QStringLiteral("1"));
    });
    for (QWidget *w : std::initializer_list<QWidget *>{m_duplicate, m_byContact, m_byName, m_byPhone, m_askDuplicate,
                                                       m_openLog, m_wpsFirst})
        layout->addWidget(w);
    layout->addStretch(1);
    return box;
}

void TfrmImport::ckDuplicateClick(bool on)
{
    if (on)
        return;
    for (QCheckBox *basis : {m_byContact, m_byName, m_byPhone})
        basis->setChecked(false);
}

void TfrmImport::showScenario()
{
    m_bookBox->setVisible(m_target == ImportTarget::AddressBook);
    m_listBox->setVisible(m_target == ImportTarget::BatchList);
}

QComboBox *TfrmImport::field(const QString &item) const
{
    if (QComboBox *c = m_common.value(item))
        return c;
    return m_target == ImportTarget::AddressBook ? m_book.value(item) : m_list.value(item);
}

int TfrmImport::chosenColumn(const QString &item) const
{
    const QComboBox *combo = field(item);
    return combo ? sourceColumnOf(combo->currentText()) : m_fieldless.value(item);
}

QString TfrmImport::statusText() const
{
    return m_status->text();
}

QString TfrmImport::logPath() const
{
    return m_ctx.dataRoot().folder() + QStringLiteral("/ImportLog.txt");
}

void TfrmImport::setStatus(const QString &text)
{
    m_status->setText(text);
}

void TfrmImport::btBrowseClick()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择Excel或CSV文件"), QString(),
        QStringLiteral("表格文件 (*.xlsx *.xls *.ods *.csv *.txt *.et);;Excel(*.xlsx);;Excel(*.xls);;"
                       "OpenDocument(*.ods);;文本(*.csv *.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        openFile(path);
}

bool TfrmImport::openFile(const QString &path)
{
    m_viewLog->setEnabled(false);
    m_start->setEnabled(false);
    m_sheet->clear();
    m_file->setText(path);
    QString error;
    if (!m_session.open(path, &error)) {
        fillFields();  // no columns of the previous file stay offered
        tell(error, QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    m_sheet->addItems(m_session.sheetNames());
    return chooseSheet(m_session.activeSheet());
}

void TfrmImport::cbSheetChange(int index)
{
    chooseSheet(index);
}

bool TfrmImport::chooseSheet(int index)
{
    m_start->setEnabled(false);
    m_sheet->setCurrentIndex(index);
    QString error;
    const bool read = m_session.chooseSheet(index, &error);
    m_fieldless.clear();
    fillFields();
    if (!read) {
        tell(error, QStringLiteral("错误"), AlertIcon::Error);
        return false;
    }
    applyMatches(m_session.autoMatch(m_target, m_ctx.db()));
    applyFixedKind();
    m_start->setEnabled(true);
    return true;
}

void TfrmImport::fillFields()
{
    QStringList entries{QString()};
    for (const auto &[column, title] : m_session.sources())
        entries << sourceColumnEntry(column, title);
    const QHash<QString, QComboBox *> &own = m_target == ImportTarget::AddressBook ? m_book : m_list;
    for (QComboBox *combo : m_common)
        combo->clear(), combo->addItems(entries);
    for (auto it = own.begin(); it != own.end(); ++it) {
        QComboBox *combo = it.value();
        combo->clear();
        if (it.key() == kUnitKind && m_fixed->isChecked())
            continue;  // applyFixedKind fills it
        combo->addItems(entries);
        if (m_target == ImportTarget::BatchList && it.key() == kGroup) {
            combo->addItem(QStringLiteral("全部列表"));
            QSqlQuery q = m_ctx.db().prepare(
                QStringLiteral("select distinct 批打分组 from ReceiverList where trim(coalesce(批打分组,''))<>'' "
                               "order by 批打分组"));
            if (q.exec()) {
                while (q.next())
                    combo->addItem(q.value(0).toString());
            }
        }
    }
}

void TfrmImport::applyMatches(const QHash<QString, int> &matches)
{
    m_fieldless.clear();
    for (const QString &item : importMatchOrder(m_target)) {
        QComboBox *combo = field(item);
        if (!combo) {
            if (matches.value(item) > 0)
                m_fieldless.insert(item, matches.value(item));
            continue;
        }
        const int column = matches.value(item);
        int index = 0;
        for (int i = 1; column > 0 && i < combo->count(); ++i) {
            if (sourceColumnOf(combo->itemText(i)) == column)
                index = i;
        }
        combo->setCurrentIndex(combo->count() > 0 ? index : -1);
    }
}

void TfrmImport::applyFixedKind()
{
    QComboBox *kind = m_book.value(kUnitKind);
    if (!kind || m_target != ImportTarget::AddressBook)
        return;
    if (m_fixed->isChecked()) {
        kind->clear();
        kind->addItems({kCounterparty, kOwnUnit});
        kind->setCurrentIndex(0);
    } else if (kind->findText(kOwnUnit) >= 0 || kind->count() == 0) {
        kind->clear();
        kind->addItem(QString());
        for (const auto &[column, title] : m_session.sources())
            kind->addItem(sourceColumnEntry(column, title));
    }
}

ImportOptions TfrmImport::options() const
{
    ImportOptions o;
    o.target = m_target;
    for (const QString &item : importMatchOrder(m_target)) {
        if (item == kUnitKind && m_fixed->isChecked())
            continue;
        const int column = chosenColumn(item);
        if (column > 0)
            o.columns.insert(item, column);
    }
    if (m_target == ImportTarget::AddressBook) {
        o.fixedUnitKind = m_fixed->isChecked();
        o.unitKind = m_fixed->isChecked() ? m_book.value(kUnitKind)->currentText() : QString();
    }
    o.checkDuplicates = m_duplicate->isChecked();
    o.byContact = m_byContact->isChecked();
    o.byName = m_byName->isChecked();
    o.byPhone = m_byPhone->isChecked();
    o.askOnDuplicate = m_askDuplicate->isChecked();
    o.orderNumberToRemark = m_orderId->isChecked();
    o.memberIdToRemark = m_memberId->isChecked();
    return o;
}

bool TfrmImport::stopAsked()
{
    if (!m_stopPressed)
        return false;
    m_stopPressed = false;
    return askYesNo(QStringLiteral("需要中止导出操作吗？"), QStringLiteral("询问"));
}

void TfrmImport::start()
{
    if (m_running || !m_session.isOpen() || m_session.currentSheet() < 0)
        return;
    const ImportOptions o = options();
    if (!o.anyDuplicateBasis()
        && !askYesNo(QStringLiteral("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"),
                     QStringLiteral("重复匹配确认")))
        return;
    const QString missing = SpreadsheetImport::missingKeyColumns(o);
    if (!missing.isEmpty()) {
        tell(missing, QStringLiteral("提示"));
        field(QStringLiteral("单位全称"))->setFocus();
        return;
    }
    m_running = true;
    m_stopPressed = false;
    setControlsEnabled(false);  // the rows being stored must not change under the run
    m_stop->setEnabled(true);
    const SheetRows &rows = m_session.rows();
    setStatus(QStringLiteral("正在验证数据文件有效性！"));
    setStatus(QStringLiteral("数据文件有效！共有数据行：%1").arg(qMax(0, int(rows.size()) - 1)));
    m_progress->setRange(0, qMax(1, int(rows.size()) - 1));
    m_progress->setValue(0);

    SpreadsheetImport run(m_ctx.db(), logPath());
    run.onProgress = [this](int row, int stored) {
        m_progress->setValue(row - 1);
        if (stored % 10 == 0)
            QApplication::processEvents();
    };
    run.stopRequested = [this] { return stopAsked(); };
    m_result = run.run(m_session.path(), rows, o, m_session.readNotes());
    m_running = false;
    m_stop->setEnabled(false);
    setControlsEnabled(true);

    // A failure is always said, not left to a log the user may not read.
    if (m_result.failed)
        tell(m_result.message, QStringLiteral("导入失败"));
    else if (m_openLog->isChecked())
        openWithDesktop(QUrl::fromLocalFile(logPath()));
    else
        tell(m_result.message, QStringLiteral("导入结束"));
    if (m_result.stored > 0 && m_afterStored)
        m_afterStored();
    setStatus(m_result.message.trimmed());
    m_viewLog->setEnabled(true);
    m_start->setEnabled(true);
    accept();
}

void TfrmImport::setControlsEnabled(bool on)
{
    for (const char *name : {"btBrowse", "cbSheet", "btColumnCfg", "btStart", "btClose"}) {
        if (auto *w = findChild<QWidget *>(QString::fromLatin1(name)))
            w->setEnabled(on);
    }
}

void TfrmImport::reject()
{
    // Closing while rows are stored means stopping first.
    if (m_running) {
        m_stopPressed = true;
        return;
    }
    QDialog::reject();
}

void TfrmImport::btViewLogClick()
{
    openWithDesktop(QUrl::fromLocalFile(logPath()));
}

void TfrmImport::btColumnCfgClick()
{
    TfrmImportColumnCfg cfg(m_ctx, this);
    cfg.exec();
    if (m_session.currentSheet() >= 0)
        chooseSheet(m_session.currentSheet());
}

void TfrmImport::showFormatHelp()
{
    tell(QStringLiteral("Excel/csv格式要求:\n\n  1、Excel的第一行必须是标题（例如:姓名,电话什么的）;\n\n"
                        "  2、Excel的第一行的标题不能含有空单元格，软件遇到空单元格就认为标题列结束;\n\n"
                        "  3、Excel不能含有合并单元格。"));
}

// The wide last panel of the main window's status bar, free for messages.
constexpr int kMessagePanel = 5;

ImportResult openSpreadsheetImport(AppContext &context, ImportTarget target, QWidget *parent,
                                   const std::function<void()> &afterStored)
{
    TfrmImport window(context, target, parent ? parent->window() : nullptr);
    window.setAfterStored(afterStored);
    window.exec();
    return window.lastResult();
}

void installSpreadsheetImport(MainFrame &mainWindow)
{
    MainFrame *main = &mainWindow;
    // The result stays readable in the main window after the import
    // window has closed.
    auto report = [main](const ImportResult &result) {
        if (!result.message.isEmpty())
            main->setStatusText(kMessagePanel, result.message.trimmed());
    };
    addressBookHost().openImport = [main, report](QWidget *parent) {
        report(openSpreadsheetImport(main->context(), ImportTarget::AddressBook, parent, {}));
    };
    // The batch list reloads itself when the import window closes.
    batchListHost().openImport = [main, report](TfrmMutiPrint &list) {
        report(openSpreadsheetImport(main->context(), ImportTarget::BatchList, &list, {}));
    };
}

} // namespace billprint
