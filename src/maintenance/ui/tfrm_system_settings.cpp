#include "maintenance/ui/tfrm_system_settings.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/data_location.h"
#include "app/database.h"
#include "app/ui/main_frame.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace billprint {

namespace {

const QString kCaption = QStringLiteral("系统设置");
const QString kTakesEffect = QStringLiteral("重新启动程序后生效。");

// The address typed, or why it cannot be used; an empty box is the
// desk's own database and always valid.
bool readAddress(const QString &text, DatabaseUrl *url, QString *error)
{
    if (text.trimmed().isEmpty())
        return true;
    *url = DatabaseUrl::parse(text, error);
    return url->isValid();
}

} // namespace

TfrmSystemSettings::TfrmSystemSettings(const DataRoot &root, QWidget *parent)
    : QDialog(parent), m_root(root), m_storedUrl(configuredDatabaseUrl(root)), m_databaseUrl(new QLineEdit(this)),
      m_test(new QPushButton(QStringLiteral("测试连接"), this)), m_save(nullptr)
{
    setObjectName(QStringLiteral("frmSystemSettings"));
    setWindowTitle(kCaption);
    m_databaseUrl->setObjectName(QStringLiteral("edDatabaseUrl"));
    m_databaseUrl->setPlaceholderText(QStringLiteral("postgresql://用户@服务器[:端口]/数据库"));
    m_databaseUrl->setText(m_storedUrl);
    m_databaseUrl->setMinimumWidth(360);
    auto *row = new QHBoxLayout;
    row->addWidget(m_databaseUrl, 1);
    row->addWidget(m_test);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("共享数据库地址："), row);
    auto *hint = new QLabel(QStringLiteral("留空则使用本机的数据库。密码请写在 ~/.pgpass 中，不要写在地址里。"), this);
    hint->setWordWrap(true);
    form->addRow(QString(), hint);
    auto *buttons = new QDialogButtonBox(this);
    m_save = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(m_test, &QPushButton::clicked, this, &TfrmSystemSettings::testConnection);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmSystemSettings::saveSettings);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TfrmSystemSettings::testConnection()
{
    const QString text = m_databaseUrl->text().trimmed();
    if (text.isEmpty()) {
        tell(QStringLiteral("未填写共享数据库地址，程序使用本机的数据库。"), kCaption);
        return;
    }
    QString error;
    DatabaseUrl url;
    if (!readAddress(text, &url, &error)) {
        tell(error, kCaption, AlertIcon::Warning);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = Database::openShared(url, false, &error) != nullptr;
    QApplication::restoreOverrideCursor();
    if (opened)
        tell(QStringLiteral("连接成功：%1").arg(url.toString()), kCaption);
    else
        tell(QStringLiteral("连接失败：%1").arg(error), kCaption, AlertIcon::Warning);
}

void TfrmSystemSettings::saveSettings()
{
    const QString text = m_databaseUrl->text().trimmed();
    QString error;
    DatabaseUrl url;
    if (!readAddress(text, &url, &error)) {
        tell(error, kCaption, AlertIcon::Warning);
        m_databaseUrl->setFocus();
        return;
    }
    if (text == m_storedUrl) {
        accept();
        return;
    }
    setConfiguredDatabaseUrl(m_root, text);
    // Read back: a Config.ini that cannot be written must not be reported
    // as saved.
    if (configuredDatabaseUrl(m_root) != text) {
        tell(QStringLiteral("无法写入 %1，设置未保存。").arg(m_root.configIniPath()), kCaption, AlertIcon::Warning);
        return;
    }
    m_storedUrl = text;
    tell(QStringLiteral("设置已保存，") + kTakesEffect, kCaption);
    accept();
}

void installSystemSettings(MainFrame &mainWindow)
{
    MainFrame *main = &mainWindow;
    mainWindow.setCommandHandler(kCaption, [main] {
        TfrmSystemSettings window(main->context().dataRoot(), main);
        window.exec();
    });
}

} // namespace billprint
