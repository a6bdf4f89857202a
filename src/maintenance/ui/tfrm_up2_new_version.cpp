#include "maintenance/ui/tfrm_up2_new_version.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/main_frame.h"
#include "maintenance/data_upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kChoose = QStringLiteral("请选择..");

const char *const kDescription =
    "1、本升级包适用于V9.25至V9.27版本的数据，升级后原有数据全部保留；\n"
    "2、快递单增加体积、代收金额、手续费、保价金额、保价费等费用项目；\n"
    "3、快递单增加运费、加急费、包装费、送货费、其他费和金额大写；\n"
    "4、快递单增加十三个勾选项和三个自定义项目；\n"
    "5、批量打印列表和快递单记录增加相应的费用栏目；\n"
    "6、模板增加纸张宽度和高度，打印更准确；\n"
    "7、常用的快递模板单独列出，选择更方便；\n"
    "8、模板名称自动分出票据种类，查找更方便；\n"
    "9、升级前自动备份数据文件，升级失败时数据保持原样。\n"
    "\n"
    "如有问题，请与软件客服联系。";

// The folder of an installation holds its database in data/EPData.ini;
// the folder name is matched without regard to letter case.
bool hasDatabaseBeside(const QString &programFile)
{
    const QDir folder = QFileInfo(programFile).absoluteDir();
    for (const QString &sub : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (sub.compare(QLatin1String("data"), Qt::CaseInsensitive) == 0
            && QFileInfo(folder.filePath(sub + QStringLiteral("/EPData.ini"))).isFile())
            return true;
    }
    return false;
}

} // namespace

TfrmUp2NewVersion::TfrmUp2NewVersion(AppContext &context, QWidget *parent)
    : QDialog(parent),
      m_ctx(context),
      m_programFile(new QLineEdit(this)),
      m_start(new QPushButton(QStringLiteral("3、开始升级"), this)),
      m_bar(new QProgressBar(this)),
      m_progressLabel(new QLabel(QStringLiteral("进度:"), this)),
      m_focusTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmUp2NewVersion"));
    setWindowTitle(QStringLiteral("禾朔软件升级包"));
    setFixedSize(580, 430);

    auto *title = new QLabel(QStringLiteral("升级到V9.33"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);

    m_programFile->setReadOnly(true);
    m_programFile->setText(QCoreApplication::applicationFilePath());
    auto *browse = new QPushButton(QStringLiteral("浏览"), this);
    auto *envTest = new QPushButton(QStringLiteral("  升级环境检测"), this);
    auto *close = new QPushButton(QStringLiteral("4、关   闭"), this);
    auto *description = new QPlainTextEdit(QString::fromUtf8(kDescription), this);
    description->setReadOnly(true);
    m_bar->setTextVisible(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("1、第一步，老版本的软件路径："), this), 0, 0, 1, 2);
    grid->addWidget(m_programFile, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("2、第二步，升级环境检测："), this), 2, 0);
    grid->addWidget(envTest, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("升级功能说明:"), this));
    layout->addWidget(description, 1);
    layout->addWidget(m_bar);
    layout->addWidget(m_progressLabel);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &TfrmUp2NewVersion::btBrowseClick);
    connect(envTest, &QPushButton::clicked, this, &TfrmUp2NewVersion::btEnvTestClick);
    connect(m_start, &QPushButton::clicked, this, &TfrmUp2NewVersion::btStartUpdateClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Keeps the window in front of the user while the upgrade is offered.
    m_focusTimer->setInterval(2000);
    connect(m_focusTimer, &QTimer::timeout, this, [this] { activateWindow(); });
}

void TfrmUp2NewVersion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_focusTimer->start();
}

void TfrmUp2NewVersion::hideEvent(QHideEvent *event)
{
    m_focusTimer->stop();
    QDialog::hideEvent(event);
}

void TfrmUp2NewVersion::btBrowseClick()
{
    const QString file = QFileDialog::getOpenFileName(this, QString(), QFileInfo(m_programFile->text()).path());
    if (!file.isEmpty())
        m_programFile->setText(QDir::toNativeSeparators(file));
}

void TfrmUp2NewVersion::btEnvTestClick()
{
    m_start->setEnabled(true);
    QString file = m_programFile->text().trimmed();
    if (file.isEmpty() || file == kChoose) {
        const QString recorded = m_ctx.installRecord().readRegistryString(QStringLiteral("RunPath"));
        if (QFileInfo(recorded).isDir()) {
            m_programFile->setText(kChoose);
            m_programFile->setStyleSheet(QStringLiteral("background-color: red;"));
        }
        tell(QStringLiteral("请选择禾朔快递打印软件的主运行程序(例如:D:/禾朔打印/禾朔V927.exe)~"));
        return;
    }
    if (!QFileInfo(file).isFile()) {
        tell(QStringLiteral("主程序文件无效~"));
        return;
    }
    if (!hasDatabaseBeside(file)) {
        tell(QStringLiteral("主程序数据文件无效，请重新选择符合完整的主程序文件~"));
        return;
    }
    tell(QStringLiteral("环境OK，可以升级~"));
}

void TfrmUp2NewVersion::btStartUpdateClick()
{
    m_start->setEnabled(false);
    DataUpgrade upgrade(m_ctx.db(), m_ctx.versionText());
    upgrade.progress().setListener([this](const UpgradeProgress &p) {
        m_bar->setMaximum(p.maximum());
        m_bar->setValue(p.position());
        m_progressLabel->setText(p.labelText());
        m_progressLabel->repaint();
    });
    const UpgradeOutcome outcome = upgrade.run();
    switch (outcome.status) {
    case UpgradeOutcome::Status::AlreadyCurrent:
    case UpgradeOutcome::Status::NotOnSharedDatabase:
        tell(outcome.message);
        return;  // nothing to do: the start stays disabled
    case UpgradeOutcome::Status::Failed:
        tell(outcome.message, QStringLiteral("错误"), AlertIcon::Error);
        m_start->setEnabled(true);
        return;
    case UpgradeOutcome::Status::Upgraded:
        tell(outcome.message);
        accept();
        m_start->setEnabled(true);
        return;
    }
}

void installDataUpgrade(MainFrame &mainWindow)
{
    MainFrame *main = &mainWindow;
    mainWindow.setCommandHandler(QStringLiteral("  升级到9.28"), [main] {
        // Nothing in the window could be done on a shared database.
        if (main->context().db().isShared()) {
            tell(DataUpgrade::sharedDatabaseRefusal());
            return;
        }
        TfrmUp2NewVersion window(main->context(), main);
        window.exec();
    });
}

} // namespace billprint
