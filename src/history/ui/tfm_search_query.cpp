// The history window's filters: reading and marking the boxes, building
// and running the statement, the date tree and the party boxes.
#include "history/ui/tfm_search_base.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ini_file.h"
#include "app/lookups.h"
#include "app/ui/grid_helpers.h"
#include "history/history_list_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTableView>

namespace billprint {

namespace {

const QString kNotANumber = QStringLiteral("非法数字");

// A box whose filter is in force turns yellow; otherwise it is white.
void markFilter(QWidget *box, bool inForce)
{
    if (!box)
        return;
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, inForce ? QColor(Qt::yellow) : QColor(Qt::white));
    box->setPalette(pal);
}

// Trims the box's text, writes it back and marks the box.
QString takeText(QLineEdit *box)
{
    if (!box)
        return QString();
    const QString text = box->text().trimmed();
    if (text != box->text())
        box->setText(text);
    markFilter(box, !text.isEmpty());
    return text;
}

QString shortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

} // namespace

QDate TfmSearchBase::today() const
{
    return m_today ? m_today() : QDate::currentDate();
}

HistoryFilter TfmSearchBase::readFilters()
{
    HistoryFilter f;
    f.number = takeText(m_cbNumber->lineEdit());
    f.firstParty = takeText(m_edtFirst);
    f.secondParty = takeText(m_edtSecond);
    f.templateName = m_cbTemplate ? m_cbTemplate->currentText() : QString();
    f.exact = m_rbExact->isChecked();
    f.anyDate = m_ckAnyDate->isChecked();
    f.from = m_dtFrom->date();
    f.to = m_dtTo->date();
    f.minAmount = takeText(m_edtMin);
    f.maxAmount = takeText(m_edtMax);
    return f;
}

void TfmSearchBase::markAmountBox(QLineEdit *box, bool invalid)
{
    if (!box || !invalid)
        return;
    box->setText(kNotANumber);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, Qt::red);
    pal.setColor(QPalette::Base, Qt::white);
    box->setPalette(pal);
}

void TfmSearchBase::runQuery()
{
    const HistoryFilter filter = readFilters();
    if (filter.datesReversed()) {
        // The list stays as it is, and the next valid statement runs.
        tell(QStringLiteral("日期选择有误:\"") + shortDate(filter.from) + QLatin1Char('>') + shortDate(filter.to)
                 + QLatin1Char('"'),
             QStringLiteral("日期输入"));
        return;
    }
    markFilter(m_dtFrom, !filter.anyDate);
    markFilter(m_dtTo, !filter.anyDate);

    const HistoryStatement statement = buildHistoryStatement(m_family, filter, m_ordering.next(), m_ctx.db().dialect());
    markAmountBox(m_edtMin, statement.minAmountInvalid);
    markAmountBox(m_edtMax, statement.maxAmountInvalid);
    if (statement.key() == m_lastKey)
        return;
    m_lastKey = statement.key();
    QString error;
    if (!m_model->run(statement, &error)) {
        forgetStatement();  // the next press tries again
        tell(QStringLiteral("数据库错误,Error=") + error, QStringLiteral("失败"), AlertIcon::Error);
    }
    showResult();
    restoreColumnWidths();
}

void TfmSearchBase::restoreColumnWidths()
{
    IniFile &config = m_ctx.config();
    if (config.hasKey(m_family.windowName.toUpper(), m_grid->objectName().toUpper() + QStringLiteral(".W0"))) {
        GridColsWidthLoad(config, m_grid, m_family.windowName);
        return;
    }
    // Until the user remembers widths, columns are as wide as their title
    // and the rows shown: an amount or a name cut off is misread. Once the
    // user drags a column the widths are left as they are.
    if (m_columnsSizedByUser)
        return;
    const QScopedValueRollback fitting(m_fittingColumns, true);
    m_grid->resizeColumnsToContents();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        // A long address would push every other column out of sight.
        if (m_grid->columnWidth(column) > kWidestFittedColumn)
            m_grid->setColumnWidth(column, kWidestFittedColumn);
    }
}

void TfmSearchBase::showResult()
{
    m_lbCount->setText(countText());
    m_lbSum->setText(sumText());
    updateRowCommands();
}

QString TfmSearchBase::countText() const
{
    return QStringLiteral("( 共检索到 ") + QString::number(m_model->summary().rows) + QStringLiteral("条记录)");
}

QString TfmSearchBase::sumText() const
{
    return m_family.sumLabel + m_model->summary().sumText();
}

int TfmSearchBase::rowCount() const
{
    return m_model->rowCount();
}

int TfmSearchBase::queryRuns() const
{
    return m_model->runs();
}

void TfmSearchBase::resetFilters()
{
    m_cbNumber->clear();
    m_cbNumber->clearEditText();
    m_ckAnyDate->setChecked(true);
    for (QLineEdit *box : {m_edtFirst, m_edtSecond, m_edtMin, m_edtMax}) {
        if (box) {
            box->clear();
            box->setPalette(QPalette());
        }
    }
    markFilter(m_cbNumber->lineEdit(), false);
    if (m_cbTemplate) {
        const QSignalBlocker quiet(m_cbTemplate);
        m_cbTemplate->setCurrentIndex(0);
    }
}

void TfmSearchBase::showAll()
{
    resetFilters();
    forgetStatement();
    runQuery();
}

void TfmSearchBase::refresh()
{
    forgetStatement();
    runQuery();
}

void TfmSearchBase::columnTitleClicked(int column)
{
    const QString field = m_model->fieldName(column);
    if (field.isEmpty())
        return;
    m_ordering.chooseColumn(field);
    runQuery();
}

void TfmSearchBase::dateNodeClicked(DateNode node)
{
    resetFilters();
    const auto [from, to] = dateNodeRange(node, today());
    m_dtFrom->setDate(from);
    m_dtTo->setDate(to);
    m_ckAnyDate->setChecked(false);
    if (node == DateNode::Other) {
        tell(QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"));
        m_dtFrom->setFocus();
        return;
    }
    runQuery();
}

void TfmSearchBase::setAnyDate(bool on)
{
    if (m_ckAnyDate->isChecked() != on) {
        m_ckAnyDate->setChecked(on);  // comes back here through the signal
        return;
    }
    m_dtFrom->setEnabled(!on);
    m_dtTo->setEnabled(!on);
    if (on) {
        markFilter(m_dtFrom, false);
        markFilter(m_dtTo, false);
    } else {
        m_dtFrom->setFocus();
    }
}

void TfmSearchBase::pickParty(bool first)
{
    const PartyFilterField &party = first ? m_family.firstParty : m_family.secondParty;
    QLineEdit *box = first ? m_edtFirst : m_edtSecond;
    if (!box)
        return;
    const std::optional<TPerson> unit = m_host.pickPerson(party.pickKind, party.pickCaption, this);
    if (!unit)
        return;
    switch (party.fill) {
    case PartyFill::Account:
        box->setText(unit->account());
        break;
    case PartyFill::FullName:
        box->setText(unit->fullName());
        break;
    case PartyFill::FullNameOrContact:
        box->setText(unit->fullName().isEmpty() ? unit->contact() : unit->fullName());
        break;
    }
}

void TfmSearchBase::partyCodeEntered(bool first)
{
    const PartyFilterField &party = first ? m_family.firstParty : m_family.secondParty;
    QLineEdit *box = first ? m_edtFirst : m_edtSecond;
    if (!box)
        return;
    if (!party.takesInputCode()) {
        if (QPushButton *query = button(QStringLiteral("查 询(&Q)")))
            query->setFocus();
        return;
    }
    const QString code = box->text().trimmed();
    box->setText(code);
    if (code.isEmpty())
        return;
    if (const std::optional<TPerson> unit = TPerson::findByInputCode(m_ctx.db(), code))
        box->setText(unit->fullName());
}

void TfmSearchBase::fillNumberList()
{
    if (m_cbNumber->count() > 0)
        return;
    // Filling the list must not replace what the clerk has typed.
    const QString typed = m_cbNumber->currentText();
    m_cbNumber->addItems(Lookups(m_ctx.db()).loadCheckNOList(m_family.table(), QString(), m_family.numberColumn));
    m_cbNumber->setCurrentIndex(-1);
    m_cbNumber->setEditText(typed);
}

void TfmSearchBase::storeDoubleClickOption()
{
    m_ctx.setINIConfigByname(m_family.doubleClickKey,
                             m_ckDblOpen->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace billprint
