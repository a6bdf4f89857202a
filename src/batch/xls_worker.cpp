#include "batch/xls_worker.h"

#include "batch/sheet_file.h"
#include "batch/xls_reply.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <freexl.h>

namespace billprint {

namespace {

// Excel 97-2003 sheets end at row 65536.
constexpr unsigned int kLastBiffRow = 65536;

QString encryptedReason()
{
    return QStringLiteral("文件设有打开密码（已加密），请在表格程序里取消密码后再导入");
}

// A workbook saved with a password to open has its streams encrypted:
// the zip-based formats then sit inside an OLE2 file as this stream.
bool isEncryptedPackage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray name = QByteArray::fromRawData(
        reinterpret_cast<const char *>(u"EncryptedPackage"), 32);
    // Piece by piece, each overlapping the last by the name's length, so a
    // large file is never held in memory at once.
    QByteArray window;
    for (;;) {
        const QByteArray piece = file.read(1024 * 1024);
        if (piece.isEmpty())
            return false;
        window = window.right(name.size() - 1) + piece;
        if (window.contains(name))
            return true;
    }
}

QString freexlReason(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("文件不存在或不能读取");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("内存不足");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("文件里没有Excel工作簿");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return QStringLiteral("文件的字符编码无法识别");
    default:
        return QStringLiteral("文件已损坏或不是Excel 97-2003格式（代码%1）").arg(code);
    }
}

QString cellText(const FreeXL_CellValue &value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return sheetNumberText(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return QString::fromUtf8(value.value.text_value);
    default:
        return {};
    }
}

class XlsBook
{
public:
    ~XlsBook()
    {
        if (m_handle)
            freexl_close(m_handle);
    }

    // The sheet names, or the reason the workbook cannot be read.
    bool open(const QString &path, XlsReply *reply)
    {
        if (isEncryptedPackage(path)) {
            reply->error = encryptedReason();
            return false;
        }
        const int rc = freexl_open(QFile::encodeName(path).constData(), &m_handle);
        if (rc != FREEXL_OK) {
            reply->error = freexlReason(rc);
            return false;
        }
        unsigned int info = 0;
        if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
            reply->error = encryptedReason();
            return false;
        }
        unsigned int count = 0;
        freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count);
        // Sheets are numbered with 16 bits; a larger count is a damaged file.
        count = qMin(count, 0xFFFFu);
        for (unsigned int i = 0; i < count; ++i) {
            const char *name = nullptr;
            freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &name);
            reply->sheetNames << (name ? QString::fromUtf8(name) : QStringLiteral("Sheet%1").arg(i + 1));
        }
        if (reply->sheetNames.isEmpty()) {
            reply->error = QStringLiteral("工作簿里没有工作表");
            return false;
        }
        return true;
    }

    void readSheet(int index, XlsReply *reply)
    {
        if (index < 0 || index >= reply->sheetNames.size()) {
            reply->error = QStringLiteral("没有这个工作表");
            return;
        }
        unsigned int rowCount = 0;
        unsigned short columnCount = 0;
        int rc = freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(index));
        if (rc == FREEXL_OK)
            rc = freexl_worksheet_dimensions(m_handle, &rowCount, &columnCount);
        if (rc != FREEXL_OK) {
            reply->error = freexlReason(rc);
            return;
        }
        // The dimensions are what the sheet claims to use; only the part
        // within the sheet limits is read.
        const unsigned int readRows = qMin<unsigned int>(rowCount, kSheetMaxRows);
        const unsigned short readColumns = qMin<unsigned short>(columnCount, kSheetMaxColumns);
        SheetGrid grid;
        for (unsigned int r = 0; r < readRows; ++r) {
            for (unsigned short c = 0; c < readColumns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(m_handle, r, c, &value) == FREEXL_OK)
                    grid.put(r, c, cellText(value));
            }
        }
        if (holdsValueBeyond(readRows, readColumns, qMin(rowCount, kLastBiffRow), columnCount))
            grid.noteCut();
        reply->cutAtLimits = grid.cutAtLimits();
        reply->rows = grid.takeRows();
    }

private:
    // Whether any cell outside the first `rows` × `columns` of the claimed
    // `rowCount` × `columnCount` holds a value (a formatted but empty
    // rest of the sheet is nothing left out).
    bool holdsValueBeyond(unsigned int rows, unsigned short columns, unsigned int rowCount,
                          unsigned short columnCount) const
    {
        for (unsigned int r = 0; r < rowCount; ++r) {
            for (unsigned short c = r < rows ? columns : 0; c < columnCount; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(m_handle, r, c, &value) == FREEXL_OK && !cellText(value).isEmpty())
                    return true;
            }
        }
        return false;
    }

    const void *m_handle = nullptr;
};

} // namespace

int runXlsWorkerIfAsked(int argc, char **argv)
{
    if (argc < 3 || std::strcmp(argv[1], kXlsWorkerArgument) != 0)
        return -1;
    XlsReply reply;
    {
        XlsBook book;
        bool sheetGiven = false;
        const int sheet = argc > 3 ? QByteArray(argv[3]).toInt(&sheetGiven) : -1;
        if (book.open(QFile::decodeName(argv[2]), &reply) && sheetGiven)
            book.readSheet(sheet, &reply);
    }
    const QByteArray bytes = encodeXlsReply(reply);
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace billprint
