#include "templates/ui/tfrm_bill_import_export.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "app/ui/window_state.h"
#include "app/ui/tfrm_image_show.h"
#include "templates/check_type.h"
#include "templates/template_picture_store.h"
#include "templates/template_package.h"
#include "templates/ui/path_box.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>

namespace billprint {

namespace {

const QSize kPictureWindow(750, 400);
const QString kImportHint = QStringLiteral("提示:点击【开始导入】按钮执行导入!");
// Clicks on the export page's cover, in a maximised window, that open the panel.
constexpr int kCoverClicks = 20;

// "->", "->>" and "X" between a source list and a chosen list.
struct MoveButtons
{
    QPushButton *one, *all, *none;
    QBoxLayout *box;
};

MoveButtons moveButtons(QListWidget *from, QListWidget *to, QPushButton *start, std::function<void()> moved,
                        std::function<void()> cleared)
{
    MoveButtons b{new QPushButton(QStringLiteral("->")), new QPushButton(QStringLiteral("->>")),
                  new QPushButton(QStringLiteral("X")), new QVBoxLayout};
    auto move = [from, to, start](int row) {
        if (row < 0 || row >= from->count())
            return;
        to->addItem(from->takeItem(row));
        to->sortItems();
        start->setEnabled(true);
    };
    QObject::connect(b.one, &QPushButton::clicked, from, [from, move, moved] {
        move(std::max(0, from->currentRow()));
        moved();
    });
    QObject::connect(b.all, &QPushButton::clicked, from, [from, move, moved] {
        while (from->count() > 0)
            move(0);
        moved();
    });
    QObject::connect(b.none, &QPushButton::clicked, from, [to, cleared, start] {
        to->clear();
        start->setEnabled(false);
        cleared();
    });
    for (QPushButton *button : {b.one, b.all, b.none})
        b.box->addWidget(button);
    b.box->addStretch();
    return b;
}

QVBoxLayout *titled(const QString &title, QWidget *list)
{
    auto *box = new QVBoxLayout;
    box->addWidget(new QLabel(title));
    box->addWidget(list);
    return box;
}

} // namespace

TfrmBillImportExport::TfrmBillImportExport(AppContext &ctx, bool importOnly, QWidget *parent)
    : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("TfrmBillImportExport"));
    setWindowTitle(QStringLiteral("导入、导出票据格式"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget;
    m_tabs->addTab(buildImportPage(), QStringLiteral("导入禾朔票据模板"));
    if (!importOnly)
        m_tabs->addTab(buildExportPage(), QStringLiteral("导出禾朔票据模板"));
    layout->addWidget(m_tabs);
    auto *bottom = new QHBoxLayout;
    m_progress = new QLabel;
    bottom->addWidget(m_progress, 1);
    auto *close = new QPushButton(QStringLiteral("完成退出(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    m_status = new QStatusBar;
    m_status->setSizeGripEnabled(false);
    m_status->showMessage(QStringLiteral("请先浏览找到要导入的模版文件(如: 支票2012.tpk )."));
    layout->addWidget(m_status);
    // Wide enough for the path of a package in a download folder; a size
    // the user chose is kept.
    resize(780, 500);
    FormFaceLoad(m_ctx.config(), this);
}

QLineEdit *TfrmBillImportExport::packagePathBox() const
{
    return m_packagePath;
}

TfrmBillImportExport::~TfrmBillImportExport()
{
    FormFaceSave(m_ctx.config(), this);
}

void TfrmBillImportExport::fail(const QString &message)
{
    m_ctx.config().writeString(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), message);
    tell(message, QStringLiteral("错误"), AlertIcon::Error);
}

void TfrmBillImportExport::watchList(QListWidget *list, std::function<void(const QString &)> open)
{
    connect(list, &QListWidget::itemDoubleClicked, this,
            [open](QListWidgetItem *item) { open(item->text()); });
    if (list != m_packageList && list != m_databaseList)
        return;
    connect(list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { m_status->showMessage(QStringLiteral("当前选中:") + item->text()); });
    list->installEventFilter(this);
}

bool TfrmBillImportExport::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Leave && (watched == m_packageList || watched == m_databaseList))
        m_status->clearMessage();
    if (watched == m_cover && event->type() == QEvent::MouseButtonRelease)
        coverClicked();
    return QDialog::eventFilter(watched, event);
}

QWidget *TfrmBillImportExport::buildImportPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    // The path gets a row of its own: packages sit deep in download
    // folders, and the clerk must be able to read which file was chosen.
    layout->addWidget(new QLabel(QStringLiteral("1.请选择要导入的票据包来源(*.tpk)")));
    auto *source = new QHBoxLayout;
    m_packagePath = new PathBox(QStringLiteral("请选择票据包文件"));
    auto *browse = new QPushButton(QStringLiteral("浏览.."));
    auto *web = new QPushButton(QStringLiteral("网上下载"));
    source->addWidget(m_packagePath, 1);
    source->addWidget(browse);
    source->addWidget(web);
    layout->addLayout(source);

    // Imported templates always replace an older one of the same name when
    // the user agrees; keeping both is not offered.
    auto *versions = new QHBoxLayout;
    m_updateOld = new QCheckBox(QStringLiteral("更新旧版本单据"));
    m_updateOld->setChecked(true);
    m_updateOld->setEnabled(false);
    m_keepOld = new QCheckBox(QStringLiteral("保留旧版本"));
    m_keepOld->setVisible(false);
    auto *exclusive = new QButtonGroup(page);
    exclusive->addButton(m_updateOld);
    exclusive->addButton(m_keepOld);
    versions->addWidget(m_updateOld);
    versions->addWidget(m_keepOld);
    versions->addStretch();
    layout->addLayout(versions);

    m_packageList = new QListWidget;
    m_importChosen = new QListWidget;
    m_import = new QPushButton(QStringLiteral("3.开始导入(&D)"));
    m_import->setEnabled(false);
    const MoveButtons moves = moveButtons(
        m_packageList, m_importChosen, m_import, [this] { m_status->showMessage(kImportHint); },
        [this] { clearImportChoice(); });
    m_importMoves = {moves.one, moves.all, moves.none};
    setImportMovesEnabled(false);
    auto *lists = new QHBoxLayout;
    lists->addLayout(titled(QStringLiteral("2.票据包中的新格式（双击查看票据）."), m_packageList));
    lists->addLayout(moves.box);
    lists->addLayout(titled(QStringLiteral("3.选中了要导入的票据列表."), m_importChosen));
    layout->addLayout(lists, 1);
    layout->addWidget(m_import, 0, Qt::AlignRight);
    const auto show = [this](const QString &name) { showPackagePicture(name); };
    watchList(m_packageList, show);
    watchList(m_importChosen, show);

    connect(browse, &QPushButton::clicked, this, [this] {
        m_package.reset();
        const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          QStringLiteral("禾朔票据包(*.tpk)"));
        if (path.isEmpty())
            packageChoiceCancelled();
        else
            choosePackage(path);
    });
    connect(web, &QPushButton::clicked, this, [this] {
        if (openDownloads)
            openDownloads();
        accept();
    });
    connect(m_import, &QPushButton::clicked, this, &TfrmBillImportExport::startImport);
    return page;
}

void TfrmBillImportExport::setImportMovesEnabled(bool enabled)
{
    for (QPushButton *b : m_importMoves)
        b->setEnabled(enabled);
}

void TfrmBillImportExport::packageChoiceCancelled()
{
    m_import->setEnabled(false);
    setImportMovesEnabled(false);
}

void TfrmBillImportExport::choosePackage(const QString &path)
{
    m_package.reset();
    m_packagePath->setPath(path);
    if (!path.contains(QLatin1String(".tpk")) && !path.contains(QLatin1String(".hsb"))) {
        m_packagePath->setPath(QString());
        tell(QStringLiteral("请选择标准的禾朔票据包，例如：中行进账单.tpk, 快递单-新嘉豪速递.tpk"));
        return;
    }
    m_importChosen->clear();
    m_import->setEnabled(false);
    loadPackageList();
    if (m_packageList->count() > 0)
        m_importMoves.first()->click();
}

void TfrmBillImportExport::loadPackageList()
{
    m_packageList->clear();
    setImportMovesEnabled(false);
    QString error;
    m_package = TemplatePackage::read(m_packagePath->path(), &error);
    if (!m_package) {
        fail(QStringLiteral(":),数据包访问异常！") + error);
        return;
    }
    if (m_package->templates().empty()) {
        tell(QStringLiteral("抱歉,禾朔从包里找不到可用于导入的票据！"));
        return;
    }
    for (const PackageTemplate &t : m_package->templates())
        m_packageList->addItem(t.shownName());
    setImportMovesEnabled(true);
}

void TfrmBillImportExport::clearImportChoice()
{
    m_importChosen->clear();
    m_import->setEnabled(false);
    if (!m_packagePath->path().isEmpty() && m_package)
        loadPackageList();
}

void TfrmBillImportExport::showPackagePicture(const QString &fullName)
{
    const PackageTemplate *t = m_package ? m_package->find(fullName) : nullptr;
    if (!t)
        return;
    TfrmImageShow viewer(m_ctx, this);
    viewer.setWindowTitle(fullName);
    QString error;
    if (!viewer.loadPictureBytes(t->picture, kPictureWindow, &error)) {
        tell(QStringLiteral("图片调入失败:") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    viewer.exec();
}

void TfrmBillImportExport::showDatabasePicture(const QString &fullName)
{
    const auto t = TCheckType::findByTypeName(m_ctx.db(), fullName);
    if (!t)
        return;
    TfrmImageShow viewer(m_ctx, this);
    viewer.setWindowTitle(fullName);
    const QString picture = localTemplatePicture(m_ctx.db(), m_ctx.dataRoot().imageFolder(), t->ImgFile);
    if (t->ImgFile.isEmpty() || !viewer.loadPictureFile(picture, kPictureWindow)) {
        tell(QStringLiteral("没有有效的图片文件~"));
        return;
    }
    viewer.exec();
}

void TfrmBillImportExport::startImport()
{
    if (!m_package || m_importChosen->count() == 0) {
        tell(QStringLiteral("请选择要导入的票据！"));
        return;
    }
    const int count = m_importChosen->count();
    m_progress->setText(QStringLiteral("0/%1").arg(count));
    // Templates whose name is taken are replaced only when the user says
    // so; one the package cannot give is not worth the question.
    QStringList names;
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        const QString name = m_importChosen->item(i)->text();
        const PackageTemplate *source = m_package->find(name);
        if (source && source->problem.isEmpty() && TCheckType::findByTypeName(m_ctx.db(), name)
            && !askYesNo(name + QStringLiteral("已经存在了，是否覆盖导入！"), QStringLiteral("提示"))) {
            ++failed;
            continue;
        }
        names << name;
    }
    int done = 0;
    if (!names.isEmpty()) {
        QString error;
        ImportReport report;
        PackageImporter importer(m_ctx.db(), m_ctx.dataRoot().imageFolder());
        importer.progress = [this, failed, count](int n, int) {
            m_progress->setText(QStringLiteral("%1/%2").arg(failed + n).arg(count));
            m_progress->repaint();
        };
        if (importer.importAvailable(*m_package, names, ExistingName::Replace, &report, &error)) {
            done = report.ids.size();
            failed += int(report.refused.size());
            tellImportGaps(report);
        } else {
            fail(error);
            failed += names.size();
        }
    }
    m_progress->setText(QStringLiteral("%1/%2").arg(count).arg(count));
    if (failed == 0)
        tell(QStringLiteral("导入结束，成功导入单据%1个!").arg(done));
    else if (done > 0)
        tell(QStringLiteral("导入结束，成功导入单据%1个，失败%2个!").arg(done).arg(failed));
    else
        tell(QStringLiteral("导入结束，失败%1个!").arg(failed));
    if (done > 0 && afterImport)
        afterImport();
}

void TfrmBillImportExport::tellImportGaps(const ImportReport &report)
{
    if (!report.withoutPicture.isEmpty())
        tell(QStringLiteral("导入图片失败~") + QLatin1Char('\n') + report.withoutPicture.join(QLatin1Char('\n')),
             QStringLiteral("提示"), AlertIcon::Warning);
    if (report.refused.empty())
        return;
    QStringList lines;
    for (const RefusedTemplate &t : report.refused)
        lines << QStringLiteral("导入失败，单据：") + t.name + QStringLiteral("（") + t.why + QStringLiteral("）");
    fail(lines.join(QLatin1Char('\n')));
}

QWidget *TfrmBillImportExport::buildExportPage()
{
    // Export stays behind a cover until the cover has been clicked often
    // enough in a maximised window; packages for customers are made by the
    // vendor's own staff.
    m_exportStack = new QStackedWidget;
    m_cover = new QLabel(QStringLiteral("\n\n\n\n\n正在建设中.."));
    m_cover->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_cover->installEventFilter(this);
    m_exportStack->addWidget(m_cover);
    m_exportStack->addWidget(buildExportPanel());
    return m_exportStack;
}

bool TfrmBillImportExport::exportPanelShown() const
{
    return m_exportStack && m_exportStack->currentIndex() == 1;
}

void TfrmBillImportExport::coverClicked()
{
    if (!isMaximized() || exportPanelShown())
        return;
    if (++m_coverClicks > kCoverClicks) {
        m_exportStack->setCurrentIndex(1);
        loadDatabaseList();
    }
}

QWidget *TfrmBillImportExport::buildExportPanel()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_databaseList = new QListWidget;
    m_exportChosen = new QListWidget;
    m_export = new QPushButton(QStringLiteral("3.开始导出(&D)"));
    m_export->setEnabled(false);
    const MoveButtons moves = moveButtons(m_databaseList, m_exportChosen, m_export, [] {},
                                          [this] { loadDatabaseList(); });
    auto *lists = new QHBoxLayout;
    lists->addLayout(titled(QStringLiteral("系统已有票据列表："), m_databaseList));
    lists->addLayout(moves.box);
    lists->addLayout(titled(QStringLiteral("1.选中的需要导出的票据："), m_exportChosen));
    layout->addLayout(lists, 1);
    watchList(m_databaseList, [this](const QString &name) { showDatabasePicture(name); });
    auto *target = new QHBoxLayout;
    target->addWidget(new QLabel(QStringLiteral("导出到文件夹:")));
    m_exportPath = new PathBox;
    auto *browse = new QPushButton(QStringLiteral("2.浏览.."));
    target->addWidget(m_exportPath, 1);
    target->addWidget(browse);
    target->addWidget(m_export);
    layout->addLayout(target);
    connect(browse, &QPushButton::clicked, this, [this] {
        QStringList chosen;
        for (int i = 0; i < m_exportChosen->count(); ++i)
            chosen << m_exportChosen->item(i)->text();
        const QString path = QFileDialog::getSaveFileName(this, QString(), proposedExportName(chosen),
                                                          QStringLiteral("禾朔票据包(*.tpk)"));
        if (path.isEmpty())
            m_export->setEnabled(false);
        else
            chooseExportFile(path);
    });
    connect(m_export, &QPushButton::clicked, this, &TfrmBillImportExport::startExport);
    return page;
}

void TfrmBillImportExport::loadDatabaseList()
{
    m_databaseList->clear();
    QSqlQuery q(m_ctx.db().connection());
    if (!m_ctx.db().run(q, QStringLiteral("select checktypeid,typename from ckTypeTable"))) {
        fail(QStringLiteral(":),数据库访问异常！") + q.lastError().text());
        return;
    }
    while (q.next()) {
        auto *item = new QListWidgetItem(q.value(1).toString(), m_databaseList);
        item->setData(Qt::UserRole, q.value(0).toInt());
    }
    if (m_databaseList->count() == 0) {
        tell(QStringLiteral("系统还没有导入任何的可用票据！"));
        return;
    }
    m_databaseList->sortItems();
}

QString TfrmBillImportExport::proposedExportName(const QStringList &chosen)
{
    if (chosen.isEmpty())
        return QStringLiteral("禾朔票据模板.tpk");
    QString name = chosen.first();
    const int open = name.indexOf(QStringLiteral("（"));
    if (open >= 0)
        name.replace(open, 1, QStringLiteral("-"));
    const int close = name.indexOf(QStringLiteral("）"));
    if (close >= 0)
        name.remove(close, 1);
    return chosen.size() == 1 ? name + QStringLiteral(".tpk")
                              : name + QStringLiteral("等%1个模板.tpk").arg(chosen.size());
}

void TfrmBillImportExport::chooseExportFile(const QString &path)
{
    if (!path.contains(QLatin1String(".tpk"))) {
        m_exportPath->setPath(QString());
        tell(QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.tpk、天地达.tpk"));
        return;
    }
    m_exportPath->setPath(path);
    m_export->setEnabled(m_exportChosen->count() > 0);
}

void TfrmBillImportExport::startExport()
{
    if (m_exportChosen->count() == 0) {
        tell(QStringLiteral("还没有选择要导出的票据格式！"));
        return;
    }
    QList<int> ids;
    for (int i = 0; i < m_exportChosen->count(); ++i)
        ids << m_exportChosen->item(i)->data(Qt::UserRole).toInt();
    m_progress->setText(QStringLiteral("0/%1").arg(ids.size()));
    QString error;
    if (TemplatePackage::write(m_ctx.db(), m_ctx.dataRoot().imageFolder(), ids, m_exportPath->path(), &error)) {
        m_progress->setText(QStringLiteral("%1/%1").arg(ids.size()));
        tell(QStringLiteral("导出完成,成功导出%1个单据！").arg(ids.size()));
        return;
    }
    m_ctx.config().writeString(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), error);
    tell(QStringLiteral("导出结束,失败%1个模板！,模板未能导出成功！").arg(ids.size()) + QLatin1Char('\n') + error,
         QStringLiteral("错误"), AlertIcon::Error);
}

} // namespace billprint
