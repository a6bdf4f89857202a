#include "batch/csv_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextCodec>

namespace billprint {

namespace {

QString decode(const QByteArray &bytes, QString *error)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QTextCodec *gbk = QTextCodec::codecForName("GB18030");
    if (!gbk) {
        *error = QStringLiteral("the file is neither UTF-8 nor readable as GBK");
        return {};
    }
    return gbk->toUnicode(bytes);
}

} // namespace

QList<QStringList> parseCsv(const QString &text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool any = false;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == separator) {
            row << field;
            field.clear();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            if (any || !field.isEmpty()) {
                row << field;
                rows << row;
            }
            row.clear();
            field.clear();
            any = false;
        } else {
            field += c;
        }
    }
    if (any || !field.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

bool readCsvFile(const QString &path, QList<QStringList> *rows, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QString text = decode(file.readAll(), error);
    if (!error->isEmpty())
        return false;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    *rows = parseCsv(text);
    if (rows->isEmpty()) {
        *error = path + QStringLiteral(" holds no rows");
        return false;
    }
    return true;
}

} // namespace billprint
