#include "batch/xls_reply.h"

#include <QtEndian>

#include <cstring>

namespace billprint {

namespace {

constexpr quint32 kMagic = 0x42505831;  // "BPX1"
// Sheets are numbered with 16 bits in an .xls workbook.
constexpr quint32 kMaxSheets = 0xFFFF;
// A sheet name or an error text; cells have their own limit.
constexpr quint32 kMaxNameChars = 4096;

class Writer
{
public:
    void number(quint32 value)
    {
        const quint32 big = qToBigEndian(value);
        m_bytes.append(reinterpret_cast<const char *>(&big), sizeof big);
    }
    void text(const QString &value)
    {
        number(quint32(value.size()));
        m_bytes.append(reinterpret_cast<const char *>(value.utf16()), value.size() * 2);
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool number(quint32 *value)
    {
        if (m_bytes.size() - m_at < qsizetype(sizeof *value))
            return false;
        quint32 big;
        std::memcpy(&big, m_bytes.constData() + m_at, sizeof big);
        m_at += sizeof big;
        *value = qFromBigEndian(big);
        return true;
    }
    // A count no larger than `limit`.
    bool count(quint32 limit, quint32 *value) { return number(value) && *value <= limit; }
    bool text(quint32 maxChars, QString *value)
    {
        quint32 chars = 0;
        if (!count(maxChars, &chars) || m_bytes.size() - m_at < qsizetype(chars) * 2)
            return false;
        value->resize(chars);
        std::memcpy(value->data(), m_bytes.constData() + m_at, size_t(chars) * 2);
        m_at += qsizetype(chars) * 2;
        return true;
    }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
};

} // namespace

QByteArray encodeXlsReply(const XlsReply &reply)
{
    Writer out;
    out.number(kMagic);
    out.text(reply.error.left(kMaxNameChars));
    const qsizetype sheets = qMin<qsizetype>(reply.sheetNames.size(), kMaxSheets);
    out.number(quint32(sheets));
    for (qsizetype i = 0; i < sheets; ++i)
        out.text(reply.sheetNames.at(i).left(kMaxNameChars));
    out.number(reply.cutAtLimits ? 1 : 0);
    const qsizetype rows = qMin<qsizetype>(reply.rows.size(), kSheetMaxRows);
    out.number(quint32(rows));
    for (qsizetype r = 0; r < rows; ++r) {
        const QStringList &row = reply.rows.at(r);
        const qsizetype cells = qMin<qsizetype>(row.size(), kSheetMaxColumns);
        out.number(quint32(cells));
        for (qsizetype c = 0; c < cells; ++c)
            out.text(row.at(c).left(kSheetMaxCellText));
    }
    return out.bytes();
}

bool decodeXlsReply(const QByteArray &bytes, XlsReply *reply)
{
    *reply = {};
    Reader in(bytes);
    quint32 magic = 0, sheets = 0, cut = 0, rows = 0;
    if (!in.number(&magic) || magic != kMagic || !in.text(kMaxNameChars, &reply->error)
        || !in.count(kMaxSheets, &sheets))
        return false;
    for (quint32 i = 0; i < sheets; ++i) {
        QString name;
        if (!in.text(kMaxNameChars, &name))
            return false;
        reply->sheetNames << name;
    }
    if (!in.count(1, &cut) || !in.count(kSheetMaxRows, &rows))
        return false;
    reply->cutAtLimits = cut == 1;
    for (quint32 r = 0; r < rows; ++r) {
        quint32 cells = 0;
        if (!in.count(kSheetMaxColumns, &cells))
            return false;
        QStringList row;
        for (quint32 c = 0; c < cells; ++c) {
            QString cell;
            if (!in.text(kSheetMaxCellText, &cell))
                return false;
            row << cell;
        }
        reply->rows << row;
    }
    return in.atEnd();
}

} // namespace billprint
