#include "history/number_recording.h"

#include "app/chinese_text.h"
#include "app/database.h"
#include "bills/bill_record.h"

namespace billprint {

namespace {

const QString kTable = QStringLiteral("DataZPTable");

bool readWhole(const QString &text, qint64 *value)
{
    const QString t = text.trimmed();
    bool ok = false;
    *value = t.toLongLong(&ok);
    return isDigitText(t) && ok;
}

QString failure(const QString &number, const QString &why)
{
    return QStringLiteral("登记票据“") + number + QStringLiteral("”失败！可能该票据号码已经登记过了！") + why;
}

} // namespace

QString recordedNumber(qint64 n, int length, const QString &prefix)
{
    return prefix + QStringLiteral("%1").arg(n, length, 10, QLatin1Char('0')).right(length);
}

NumberRange numbersOf(const NumberBatch &batch)
{
    NumberRange range;
    qint64 first = 0;
    qint64 last = 0;
    if (!readWhole(batch.from, &first) || !readWhole(batch.to, &last)) {
        range.refusal = QStringLiteral("请输入合法的编号范围，只能是数字！");
        return range;
    }
    if (last - first + 1 > NumberBatch::kMaxNumbers) {
        range.refusal = QStringLiteral("一次不能导入超过100张！");
        return range;
    }
    if (last < first) {
        range.refusal = QStringLiteral("编号范围输入错误！");
        return range;
    }
    const int length = qBound(NumberBatch::kMinLength, batch.length, NumberBatch::kMaxLength);
    // Cutting a longer number to the fixed length would record a number
    // nobody asked for.
    if (QString::number(last).size() > length) {
        range.refusal = QStringLiteral("编号") + QString::number(last) + QStringLiteral("超过了固定的")
                        + QString::number(length) + QStringLiteral("位！");
        return range;
    }
    const QString prefix = batch.prefix.trimmed().left(3);
    for (qint64 n = first; n <= last; ++n)
        range.numbers << recordedNumber(n, length, prefix);
    return range;
}

RecordingResult recordNumbers(const Database &db, const NumberBatch &batch, const QStringList &numbers,
                              const std::function<void(const QString &)> &progress)
{
    RecordingResult result;
    const QString insert =
        QStringLiteral("insert into %1 (%2, %3, %4, %5, %6, %7, %8) values (?, ?, ?, ?, ?, ?, ?)")
            .arg(quoteIdentifier(kTable), quoteIdentifier(BillColumn::Number), quoteIdentifier(BillColumn::Status),
                 quoteIdentifier(BillColumn::TemplateName), quoteIdentifier(BillColumn::Drawer),
                 quoteIdentifier(BillColumn::DrawerAccount), quoteIdentifier(BillColumn::DrawerBank),
                 quoteIdentifier(BillColumn::Amount));
    const QString exists = QStringLiteral("select count(*) from %1 where %2 = ?")
                               .arg(quoteIdentifier(kTable), quoteIdentifier(BillColumn::Number));
    QString error;
    const bool ok = db.transaction(
        [&] {
            for (const QString &number : numbers) {
                if (progress)
                    progress(number);
                const QVariant held = db.scalar(exists, {number});
                if (!held.isValid()) {
                    error = QStringLiteral("无法读取") + kTable;
                    return false;
                }
                if (held.toInt() > 0) {
                    result.failures << failure(number, QStringLiteral("（该编号已有记录）"));
                    continue;
                }
                QString rowError;
                if (!db.exec(insert,
                             {number, BillStatus::Unused, batch.templateName, batch.drawer, batch.account, batch.bank,
                              QStringLiteral("0")},
                             &rowError)) {
                    result.failures << failure(number, rowError);
                    continue;
                }
                result.recorded << number;
            }
            return true;
        },
        &error);
    if (!ok) {
        result.error = error;
        result.recorded.clear();
    }
    return result;
}

} // namespace billprint
