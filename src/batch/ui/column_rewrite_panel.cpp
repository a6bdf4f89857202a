#include "batch/ui/column_rewrite_panel.h"

#include "app/database.h"
#include "app/ui/dialog_buttons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace billprint {

ColumnRewritePanel::ColumnRewritePanel(const Database &db, QWidget *parent)
    : QGroupBox(QStringLiteral("批量填充列（将所有收件人的某一列改写为同一值或多列拼合）"), parent), m_db(db)
{
    setObjectName(QStringLiteral("pnlRewrite"));
    auto *panel = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    m_target = new QComboBox(this);
    m_target->setObjectName(QStringLiteral("cbRewriteTarget"));
    m_target->setMinimumWidth(110);
    row->addWidget(new QLabel(QStringLiteral("改写列:"), this));
    row->addWidget(m_target);
    row->addWidget(new QLabel(QStringLiteral("="), this));
    for (int i = 0; i < 3; ++i) {
        m_parts[i] = new QComboBox(this);
        m_parts[i]->setObjectName(QStringLiteral("cbRewritePart%1").arg(i + 1));
        m_parts[i]->setEditable(true);
        m_parts[i]->setMinimumWidth(130);
        if (i > 0)
            row->addWidget(new QLabel(QStringLiteral("+"), this));
        row->addWidget(m_parts[i], 1);
    }
    m_empty = new QCheckBox(QStringLiteral("置空"), this);
    m_empty->setObjectName(QStringLiteral("ckEmptyParts"));
    row->addWidget(m_empty);
    row->addWidget(namedButton(this, QStringLiteral("btApplyRewrite"), QStringLiteral("应用修改")));
    row->addWidget(namedButton(this, QStringLiteral("btCloseRewrite"), QStringLiteral("关闭")));
    panel->addLayout(row);
    panel->addWidget(makeExamples());
    auto *tip = new QLabel(QStringLiteral("【技巧】：可进行多次拼合达到多列合并的目的！也可用于批量修改某列为固定文字或置空。"),
                           this);
    tip->setStyleSheet(QStringLiteral("color: #b00000;"));
    panel->addWidget(tip);
    connectControls();
}

QWidget *ColumnRewritePanel::makeExamples()
{
    auto *examples = new QLabel(
        QStringLiteral("例如（多列拼加）：       @地址 = @省 + @市 + @地址\n"
                       "例如（前置特定句子）：   @地址 = 收货地址: + @地址 \n"
                       "例如（后置特定句子）：   @地址 = @地址 + 【务必本人签收】\n"
                       "例如（前后置特定句子）： @内件说明 = 光盘数: +  @数量  + 张.\n"
                       "例如（置为特定句子）：   @内件说明 =  文件或发票"),
        this);
    examples->setStyleSheet(QStringLiteral("color: #404040;"));
    return examples;
}

void ColumnRewritePanel::connectControls()
{
    connect(m_target, &QComboBox::textActivated, this, &ColumnRewritePanel::targetChosen);
    connect(m_empty, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        for (QComboBox *part : m_parts)
            part->setCurrentText(QString());
    });
    for (QComboBox *part : m_parts) {
        connect(part, &QComboBox::textActivated, this, [this] { m_empty->setChecked(false); });
        connect(part->lineEdit(), &QLineEdit::textEdited, this, [this] { m_empty->setChecked(false); });
    }
}

void ColumnRewritePanel::offerColumns(const QStringList &columns, const QString &key)
{
    QStringList fields;
    for (const QString &column : columns) {
        if (column.compare(key, Qt::CaseInsensitive) != 0)
            fields << QLatin1Char('@') + column;
    }
    m_target->clear();
    m_target->addItems(fields);
    m_target->setCurrentIndex(-1);
    for (QComboBox *part : m_parts) {
        part->clear();
        part->addItems(fields);
        part->setCurrentText(QString());
    }
    m_parts[0]->insertItems(0, {QStringLiteral("光盘数:"), QStringLiteral("书刊数:")});
    m_parts[2]->insertItems(0, {QStringLiteral("个"), QStringLiteral("本")});
    m_parts[0]->setCurrentText(QString());
    m_parts[2]->setCurrentText(QString());
}

void ColumnRewritePanel::targetChosen(const QString &target)
{
    QString dictionary;
    if (target == QStringLiteral("@备注"))
        dictionary = QStringLiteral("备注");
    else if (target == QStringLiteral("@内件说明") || target == QStringLiteral("@物品内容"))
        dictionary = QStringLiteral("物品内容");
    if (dictionary.isEmpty())
        return;
    QStringList items;
    // Each text once, in the order the dictionary lists it, on either engine.
    QSqlQuery query = m_db.prepare(
        QStringLiteral("select DMValue from DMTable where DMName=? group by DMValue order by min(ID)"));
    query.addBindValue(dictionary);
    if (query.exec()) {
        while (query.next())
            items << query.value(0).toString();
    }
    for (int i = 0; i < m_target->count(); ++i)
        items << m_target->itemText(i);
    const QString typed = m_parts[0]->currentText();
    m_parts[0]->clear();
    m_parts[0]->addItems(items);
    m_parts[0]->setCurrentText(typed);
}

ColumnRewrite ColumnRewritePanel::request() const
{
    ColumnRewrite rewrite;
    rewrite.target = m_target->currentText().trimmed();
    for (int i = 0; i < 3; ++i)
        rewrite.parts[i] = m_parts[i]->currentText().trimmed();
    return rewrite;
}

} // namespace billprint
