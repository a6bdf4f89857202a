// Recording a run of cheque numbers in advance: the cheque book's numbers
// become rows of DataZPTable with status "未用", so that the cheque window
// offers them and fills drawer, bank and account when one is picked.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace billprint {

class Database;

struct NumberBatch
{
    QString from;          // as typed
    QString to;
    int length = 8;        // the number's fixed length, 4 to 20, without the prefix
    QString prefix;        // at most 3 characters
    QString drawer;        // 出票人全称
    QString account;       // 出票人账号
    QString bank;          // 付款行名称
    QString templateName;  // 模板种类, may be empty

    static constexpr int kMaxNumbers = 100;
    static constexpr int kMinLength = 4;
    static constexpr int kMaxLength = 20;
};

// The numbers of a batch, or the message refusing it.
struct NumberRange
{
    QStringList numbers;
    QString refusal;
    bool ok() const { return refusal.isEmpty(); }
};
NumberRange numbersOf(const NumberBatch &batch);

// `n` padded with zeros on the left to `length` digits, the prefix in
// front: 1, 8, "A" -> "A00000001".
QString recordedNumber(qint64 n, int length, const QString &prefix);

struct RecordingResult
{
    QStringList recorded;
    QStringList failures;  // one message per number not recorded
    QString error;         // the batch failed as a whole; nothing recorded
    bool ok() const { return error.isEmpty(); }
};

// Records the numbers of a checked range in one transaction. A number the
// table holds already is left out with its message; `progress` hears of
// each number before it is recorded.
RecordingResult recordNumbers(const Database &db, const NumberBatch &batch, const QStringList &numbers,
                              const std::function<void(const QString &number)> &progress = {});

} // namespace billprint
