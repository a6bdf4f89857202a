#include "app/ui/tfrm_export_excel.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/desktop_open.h"
#include "app/xlsx_writer.h"
#include "app/ui/grid_helpers.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace billprint {

namespace {

// The user interface gets a turn after rows 1, 4, 7, ...: often enough for
// the abort button, rarely enough not to slow the export down.
constexpr int kRowsPerEventTurn = 3;

QString defaultChooser(QWidget *parent, const QString &suggested)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("导出到Excel文件"), suggested,
                                        QStringLiteral("Excel 工作簿 (*.xlsx)"));
}

TfrmExportExcel::SavePathChooser &currentChooser()
{
    static TfrmExportExcel::SavePathChooser chooser;
    return chooser;
}

QString fileNameFrom(const QString &caption)
{
    QString name = caption.trimmed();
    for (QChar &ch : name)
        if (ch.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("导出") : name;
}

} // namespace

TfrmExportExcel::SavePathChooser TfrmExportExcel::setSavePathChooser(SavePathChooser chooser)
{
    SavePathChooser previous = std::move(currentChooser());
    currentChooser() = std::move(chooser);
    return previous;
}

TfrmExportExcel::TfrmExportExcel(AppContext &context, QTableView *grid, const QString &caption, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_grid(grid), m_caption(caption)
{
    setObjectName(QStringLiteral("frmExportExcel"));
    setWindowTitle(QStringLiteral("禾朔软件-导出-") + caption);

    m_lbState = new QLabel(QStringLiteral("准备要导出:"), this);
    m_lbState->setObjectName(QStringLiteral("lbState"));
    m_lbCount = new QLabel(QStringLiteral("0/0"), this);
    m_lbCount->setObjectName(QStringLiteral("lbCount"));
    m_btStart = new QPushButton(QStringLiteral("开始导出"), this);
    m_btStart->setObjectName(QStringLiteral("btStart"));
    m_btAbort = new QPushButton(QStringLiteral("中止导出"), this);
    m_btAbort->setObjectName(QStringLiteral("btAbort"));
    m_btClose = new QPushButton(QStringLiteral("关  闭"), this);
    m_btClose->setObjectName(QStringLiteral("btClose"));
    connect(m_btStart, &QPushButton::clicked, this, &TfrmExportExcel::btStartClick);
    connect(m_btAbort, &QPushButton::clicked, this, &TfrmExportExcel::btAbortClick);
    connect(m_btClose, &QPushButton::clicked, this, &QDialog::reject);

    auto *progress = new QHBoxLayout;
    progress->addWidget(m_lbState);
    progress->addWidget(m_lbCount);
    progress->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btStart);
    buttons->addWidget(m_btAbort);
    buttons->addWidget(m_btClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(progress);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 100)));
}

QString TfrmExportExcel::suggestedPath() const
{
    return m_ctx.dataRoot().exportFolder() + fileNameFrom(m_caption) + QLatin1Char('_')
           + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".xlsx");
}

QString TfrmExportExcel::progressText() const
{
    return m_lbState->text() + m_lbCount->text();
}

void TfrmExportExcel::btStartClick()
{
    m_lbState->setText(QStringLiteral("正在导出第:"));
    m_btStart->setEnabled(false);
    m_running = true;
    m_abort = false;
    runExport();
    m_running = false;
    accept();
}

void TfrmExportExcel::btAbortClick()
{
    m_abort = true;
}

void TfrmExportExcel::reject()
{
    // Closing during the export stops it; the window closes when the rows
    // written so far are saved.
    if (m_running) {
        m_abort = true;
        return;
    }
    QDialog::reject();
}

void TfrmExportExcel::showProgress(int current)
{
    m_lbCount->setText(QString::number(current) + QLatin1Char('/') + QString::number(m_outcome.totalRows));
}

QList<int> TfrmExportExcel::exportedColumns() const
{
    QList<int> columns;
    const QHeaderView *header = m_grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && !m_grid->isColumnHidden(logical))
            columns << logical;
    }
    return columns;
}

QStringList TfrmExportExcel::rowTexts(int row, const QList<int> &columns) const
{
    const QAbstractItemModel *model = m_grid->model();
    QStringList texts;
    for (int column : columns)
        texts << model->data(model->index(row, column), Qt::DisplayRole).toString();
    return texts;
}

void TfrmExportExcel::runExport()
{
    m_outcome = ExportOutcome();
    if (!gridIsOpen(m_grid)) {
        tell(QStringLiteral("导出失败，没有可用的导出数据表！"));
        m_outcome.status = ExportOutcome::Status::NoTable;
        return;
    }
    QAbstractItemModel *model = m_grid->model();
    fetchAllRows(model);
    const int total = model->rowCount();
    m_outcome.totalRows = total;
    if (total == 0) {
        tell(QStringLiteral("没有可导出的数据~"));
        if (!alert(QStringLiteral("需要仅仅导出一个空的格式样本吗？"), QStringLiteral("询问"), true)) {
            m_outcome.status = ExportOutcome::Status::Declined;
            return;
        }
    }
    showProgress(0);

    SavePathChooser chooser = currentChooser() ? currentChooser() : SavePathChooser(defaultChooser);
    QDir().mkpath(m_ctx.dataRoot().exportFolder());
    QString path = chooser(this, suggestedPath());
    if (path.isEmpty()) {
        m_outcome.status = ExportOutcome::Status::Cancelled;
        return;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    m_outcome.path = path;

    const QList<int> columns = exportedColumns();
    QStringList header;
    for (int column : columns)
        header << gridFieldName(model, column);

    XlsxSheetWriter writer;
    QString error;
    bool ok = writer.open(path, m_caption, &error) && writer.writeHeader(header, &error);
    bool aborted = false;
    for (int row = 0; ok && row < total; ++row) {
        if (row >= model->rowCount())
            break;  // the list shrank while the user interface had its turn
        ok = writer.writeRow(rowTexts(row, columns), &error);
        if (!ok)
            break;
        m_outcome.rowsWritten = row + 1;
        showProgress(row + 1);
        if (row % kRowsPerEventTurn == 0)
            QCoreApplication::processEvents();
        if (m_abort) {
            tell(QStringLiteral("导出已被中止，已经导出了") + QString::number(row + 1) + QStringLiteral("个."));
            aborted = true;
            break;
        }
    }
    if (ok)
        ok = writer.close(&error);
    if (!ok) {
        tell(QStringLiteral("数据导出Excel出错,错误提示:") + error, QStringLiteral("错误"), AlertIcon::Error);
        m_outcome.status = ExportOutcome::Status::Failed;
        return;
    }
    m_outcome.status = aborted ? ExportOutcome::Status::Aborted : ExportOutcome::Status::Done;
    if (!aborted)
        tell(QString::number(total) + QStringLiteral("条记录导出完成！"));
    openWithDesktop(QUrl::fromLocalFile(path));
}

void ExportGrid2Excel(AppContext &context, QTableView *grid, const QString &caption, QWidget *parent)
{
    TfrmExportExcel window(context, grid, caption, parent ? parent : grid ? grid->window() : nullptr);
    window.exec();
}

} // namespace billprint
