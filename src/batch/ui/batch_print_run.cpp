#include "batch/ui/batch_print_run.h"

#include "app/alert.h"
#include "batch/receiver_list.h"
#include "bills/ui/form_layout.h"
#include "bills/ui/tfm_check_kdd.h"

#include <QSqlRecord>

namespace billprint {

BatchPrintRun::BatchPrintRun(TfmCheckKDD &window, const ReceiverList &list, QSet<QString> optionalColumns)
    : m_window(window), m_list(list), m_optional(std::move(optionalColumns))
{
    // The destination station is also known as 目的地.
    if (m_optional.contains(QStringLiteral("目的地")))
        m_optional.insert(QStringLiteral("目的站"));
}

const QList<QPair<QString, QString>> &BatchPrintRun::optionalFields()
{
    static const QList<QPair<QString, QString>> fields{
        {QStringLiteral("目的站"), QStringLiteral("cbDestSite")},   {QStringLiteral("内件说明"), QStringLiteral("zdWPNR")},
        {QStringLiteral("件数"), QStringLiteral("edtAmount")},      {QStringLiteral("重量"), QStringLiteral("edtWeight")},
        {QStringLiteral("费用"), QStringLiteral("edtMoney")},       {QStringLiteral("备注"), QStringLiteral("zdBz")},
        {QStringLiteral("代收金额"), QStringLiteral("zdDaisJE")},   {QStringLiteral("手续费"), QStringLiteral("zdShouxuFee")},
        {QStringLiteral("体积"), QStringLiteral("zdTiJi")},         {QStringLiteral("保价金额"), QStringLiteral("zdBJJE")},
        {QStringLiteral("保价费"), QStringLiteral("zdBJFee")},      {QStringLiteral("运费"), QStringLiteral("zdYunFee")},
        {QStringLiteral("送货费"), QStringLiteral("zdSongHFee")},   {QStringLiteral("加急费"), QStringLiteral("zdJiaJiFee")},
        {QStringLiteral("其他费"), QStringLiteral("zdQiTaFee")},    {QStringLiteral("包装费"), QStringLiteral("zdBaoZFee")},
        {QStringLiteral("自定义3"), QStringLiteral("zdDef3")},      {QStringLiteral("自定义4"), QStringLiteral("zdDef4")},
        {QStringLiteral("自定义5"), QStringLiteral("zdDef5")},
    };
    return fields;
}

QWidget *BatchPrintRun::widget(const QString &field)
{
    auto at = m_fields.find(field);
    if (at == m_fields.end())
        at = m_fields.insert(field, m_window.field(field));
    return *at;
}

void BatchPrintRun::set(const QString &field, const QString &text)
{
    QWidget *f = widget(field);
    if (f && FormControls::text(f) != text)
        FormControls::setText(f, text);
}

bool BatchPrintRun::SendToCheckByID(int id)
{
    if (id <= 0) {
        tell(QStringLiteral("没有选中有效的记录~"));
        return false;
    }
    QString error;
    const QSqlRecord r = m_list.row(id, &error);
    const QString problem = sendRecord(id, r, error);
    if (!problem.isEmpty())
        tell(problem);
    return problem.isEmpty();
}

QString BatchPrintRun::sendRecord(int id, const QSqlRecord &r, const QString &error)
{
    if (!error.isEmpty())
        return QStringLiteral("错误，") + error;
    if (r.isEmpty())
        return QStringLiteral("调用错误，找不到记录，编号=") + QString::number(id);
    auto text = [&r](const char *column) { return r.value(QString::fromUtf8(column)).toString(); };
    TfmCheckKDD &w = m_window;
    set(QStringLiteral("zdSKR"), text("全称"));
    set(QStringLiteral("zdSKRLXR"), text("联系人"));
    QString phone = text("电话");
    const QString mobile = text("手机");
    const QWidget *handset = widget(QStringLiteral("skrHandset"));
    if ((!handset || !handset->isVisibleTo(&w)) && !mobile.isEmpty())
        phone = phone.isEmpty() ? mobile : phone + QLatin1Char('/') + mobile;
    set(QStringLiteral("zdskrDH"), phone);
    set(QStringLiteral("skrHandset"), mobile);
    set(QStringLiteral("edtCountryDest"), text("国家"));
    set(QStringLiteral("zdSKRS"), text("省"));
    set(QStringLiteral("zdSKRXS"), text("市"));
    w.receiverCityChanged();
    set(QStringLiteral("edtSJRTown"), text("镇区"));
    set(QStringLiteral("zdSkrDZ"), text("地址"));
    set(QStringLiteral("zdSKRYB"), text("邮编"));
    for (const auto &[column, field] : optionalFields()) {
        if (m_optional.contains(column))
            set(field, r.value(column).toString());
    }
    if (m_optional.contains(QStringLiteral("金额大写1"))) {
        set(QStringLiteral("zdJEDX1"), amountForCapitals(text("金额大写1")));
        w.amountInWordsLeft();
    }
    return QString();
}

int BatchPrintRun::print(const QList<int> &ids, bool needReady)
{
    m_stopped = false;
    m_failed = false;
    m_problem.clear();
    if (ids.isEmpty())
        return 0;
    // The rows only pass through the window: afterwards it shows its own bill again.
    const TfmCheckKDD::BatchFill keepBill(m_window);
    if (!m_window.PrintPrepare() && needReady)
        return 0;
    m_window.PrinterTransBegin(1);
    int done = 0;
    // Rows are read a few hundred at a time: one statement per row costs
    // more than filling the window from it.
    constexpr int kRowsPerRead = 200;
    QHash<int, QSqlRecord> rows;
    QString error;
    for (int i = 0; i < ids.size(); ++i) {
        if (i % kRowsPerRead == 0) {
            error.clear();
            rows = m_list.rows(ids.mid(i, kRowsPerRead), &error);
        }
        m_window.setLoading(true);
        // A row that cannot be read ends the run before its page: the
        // window still shows the previous receiver, whose page this would be.
        m_problem = sendRecord(ids[i], rows.value(ids[i]), error);
        if (!m_problem.isEmpty()) {
            m_window.setLoading(false);
            break;
        }
        // The page is started only now that there is a receiver for it.
        if (done > 0)
            m_window.NewCheckPage();
        m_window.SendCheckToPrinter();
        m_window.setLoading(false);
        ++done;
        const bool last = i + 1 == ids.size();
        if (!last && m_progress && !m_progress(done, int(ids.size()))) {
            m_stopped = true;
            break;
        }
    }
    if (m_progress && !m_stopped && m_problem.isEmpty())
        m_progress(done, int(ids.size()));
    if (done == 0) {
        // Nothing to hand to the printer: not even an empty sheet.
        m_window.AbortPrint();
        return 0;
    }
    m_failed = !m_window.PrinterTransEnd();
    return m_failed ? 0 : done;
}

} // namespace billprint
