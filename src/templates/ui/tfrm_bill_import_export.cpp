#include "templates/ui/tfrm_bill_import_export.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "app/ui/window_state.h"
#include "templates/check_type.h"
#include "templates/template_package.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>

namespace billprint {

namespace {

// "->", "->>" and "X" between a source list and a chosen list.
QBoxLayout *moveButtons(QListWidget *from, QListWidget *to, std::function<void()> cleared, QPushButton *start)
{
    auto *box = new QVBoxLayout;
    auto *one = new QPushButton(QStringLiteral("->"));
    auto *all = new QPushButton(QStringLiteral("->>"));
    auto *none = new QPushButton(QStringLiteral("X"));
    auto move = [from, to, start](int row) {
        if (row < 0 || row >= from->count())
            return;
        to->addItem(from->takeItem(row));
        to->sortItems();
        start->setEnabled(true);
    };
    QObject::connect(one, &QPushButton::clicked, from, [from, move] { move(std::max(0, from->currentRow())); });
    QObject::connect(all, &QPushButton::clicked, from, [from, move] {
        while (from->count() > 0)
            move(0);
    });
    QObject::connect(none, &QPushButton::clicked, from, [to, cleared, start] {
        to->clear();
        cleared();
        start->setEnabled(false);
    });
    for (QPushButton *b : {one, all, none})
        box->addWidget(b);
    box->addStretch();
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
    auto *close = new QPushButton(QStringLiteral("完成退出(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    FormFaceLoad(m_ctx.config(), this);
}

TfrmBillImportExport::~TfrmBillImportExport()
{
    FormFaceSave(m_ctx.config(), this);
}

QWidget *TfrmBillImportExport::buildImportPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *source = new QHBoxLayout;
    source->addWidget(new QLabel(QStringLiteral("1.请选择要导入的票据包来源(*.tpk)")));
    m_packagePath = new QLineEdit(QStringLiteral("请选择票据包文件"));
    m_packagePath->setReadOnly(true);
    auto *browse = new QPushButton(QStringLiteral("浏览.."));
    auto *web = new QPushButton(QStringLiteral("网上下载"));
    source->addWidget(m_packagePath, 1);
    source->addWidget(browse);
    source->addWidget(web);
    layout->addLayout(source);
    m_packageList = new QListWidget;
    m_importChosen = new QListWidget;
    m_import = new QPushButton(QStringLiteral("3.开始导入(&D)"));
    m_import->setEnabled(false);
    auto *lists = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("2.票据包中的新格式（双击查看票据）.")));
    left->addWidget(m_packageList);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("3.选中了要导入的票据列表.")));
    right->addWidget(m_importChosen);
    lists->addLayout(left);
    lists->addLayout(moveButtons(m_packageList, m_importChosen, [this] { choosePackage(m_packagePath->text()); },
                                 m_import));
    lists->addLayout(right);
    layout->addLayout(lists, 1);
    layout->addWidget(m_import, 0, Qt::AlignRight);
    layout->addWidget(new QLabel(QStringLiteral("请先浏览找到要导入的模版文件(如: 支票2012.tpk ).")));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          QStringLiteral("禾朔票据包(*.tpk)"));
        if (path.isEmpty())
            m_import->setEnabled(false);
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

void TfrmBillImportExport::choosePackage(const QString &path)
{
    m_packageList->clear();
    m_importChosen->clear();
    m_package.reset();
    if (!path.contains(QLatin1String(".tpk")) && !path.contains(QLatin1String(".hsb"))) {
        m_packagePath->clear();
        tell(QStringLiteral("请选择标准的禾朔票据包，例如：中行进账单.tpk, 快递单-新嘉豪速递.tpk"));
        return;
    }
    m_packagePath->setText(path);
    QString error;
    m_package = TemplatePackage::read(path, &error);
    if (!m_package) {
        tell(QStringLiteral(":),数据包访问异常！") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    if (m_package->templates().empty()) {
        tell(QStringLiteral("抱歉,禾朔从包里找不到可用于导入的票据！"));
        return;
    }
    for (const PackageTemplate &t : m_package->templates())
        m_packageList->addItem(t.typeName);
    m_importChosen->addItem(m_packageList->takeItem(0));
    m_import->setEnabled(true);
}

void TfrmBillImportExport::startImport()
{
    if (!m_package || m_importChosen->count() == 0) {
        tell(QStringLiteral("请选择要导入的票据！"));
        return;
    }
    // Templates whose name is taken are replaced only when the user says so.
    QStringList names;
    int failed = 0;
    for (int i = 0; i < m_importChosen->count(); ++i) {
        const QString name = m_importChosen->item(i)->text();
        if (TCheckType::findByTypeName(m_ctx.db(), name)
            && !askYesNo(name + QStringLiteral("已经存在了，是否覆盖导入！"), QStringLiteral("提示"))) {
            ++failed;
            continue;
        }
        names << name;
    }
    int done = 0;
    if (!names.isEmpty()) {
        QString error;
        const QList<int> ids = PackageImporter(m_ctx.db(), m_ctx.dataRoot().imageFolder())
                                   .import(*m_package, names, ExistingName::Replace, &error);
        if (ids.isEmpty()) {
            tell(error, QStringLiteral("错误"), AlertIcon::Error);
            failed += names.size();
        }
        done = ids.size();
    }
    if (failed == 0)
        tell(QStringLiteral("导入结束，成功导入单据%1个!").arg(done));
    else if (done > 0)
        tell(QStringLiteral("导入结束，成功导入单据%1个，失败%2个!").arg(done).arg(failed));
    else
        tell(QStringLiteral("导入结束，失败%1个!").arg(failed));
    if (done > 0 && afterImport)
        afterImport();
}

QWidget *TfrmBillImportExport::buildExportPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_databaseList = new QListWidget;
    m_exportChosen = new QListWidget;
    m_export = new QPushButton(QStringLiteral("3.开始导出(&D)"));
    m_export->setEnabled(false);
    auto *lists = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("系统已有票据列表：")));
    left->addWidget(m_databaseList);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("1.选中的需要导出的票据：")));
    right->addWidget(m_exportChosen);
    lists->addLayout(left);
    lists->addLayout(moveButtons(m_databaseList, m_exportChosen, [this] { loadDatabaseList(); }, m_export));
    lists->addLayout(right);
    layout->addLayout(lists, 1);
    auto *target = new QHBoxLayout;
    target->addWidget(new QLabel(QStringLiteral("导出到文件夹:")));
    m_exportPath = new QLineEdit;
    m_exportPath->setReadOnly(true);
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
    loadDatabaseList();
    return page;
}

void TfrmBillImportExport::loadDatabaseList()
{
    m_databaseList->clear();
    QSqlQuery q(m_ctx.db().connection());
    if (!q.exec(QStringLiteral("select checktypeid,typename from ckTypeTable"))) {
        tell(QStringLiteral(":),数据库访问异常！"));
        return;
    }
    while (q.next()) {
        auto *item = new QListWidgetItem(q.value(1).toString(), m_databaseList);
        item->setData(Qt::UserRole, q.value(0).toInt());
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
        m_exportPath->clear();
        tell(QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.tpk、天地达.tpk"));
        return;
    }
    m_exportPath->setText(path);
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
    QString error;
    if (TemplatePackage::write(m_ctx.db(), m_ctx.dataRoot().imageFolder(), ids, m_exportPath->text(), &error))
        tell(QStringLiteral("导出完成,成功导出%1个单据！").arg(ids.size()));
    else
        tell(QStringLiteral("导出结束,失败%1个模板！,模板未能导出成功！").arg(ids.size()) + QLatin1Char('\n') + error,
             QStringLiteral("错误"), AlertIcon::Error);
}

} // namespace billprint
