#include "batch/import_session.h"

#include "batch/match_column_store.h"

namespace billprint {

bool ImportSession::open(const QString &path, QString *error)
{
    m_file.reset();
    m_sheet = -1;
    m_rows.clear();
    m_sources.clear();
    m_path = path;
    QString reason;
    m_file = openSheetFile(path, &reason);
    if (!m_file) {
        *error = errorPrefix() + reason;
        return false;
    }
    return true;
}

QStringList ImportSession::sheetNames() const
{
    return m_file ? m_file->sheetNames() : QStringList();
}

int ImportSession::activeSheet() const
{
    return m_file ? m_file->activeSheet() : -1;
}

bool ImportSession::chooseSheet(int index, QString *error)
{
    m_rows.clear();
    m_sources.clear();
    m_sheet = -1;
    if (!m_file) {
        *error = errorPrefix() + QStringLiteral("没有打开文件");
        return false;
    }
    QString reason;
    if (!m_file->readSheet(index, &m_rows, &reason)) {
        *error = errorPrefix() + reason;
        return false;
    }
    m_sheet = index;
    m_sources = sourceColumns(m_rows.value(0));
    if (m_sources.isEmpty()) {
        *error = QStringLiteral("Excel的[") + m_file->sheetNames().value(index)
                 + QStringLiteral("]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!");
        return false;
    }
    return true;
}

QHash<QString, int> ImportSession::autoMatch(ImportTarget target, const Database &db) const
{
    const MatchColumnStore store(db);
    return matchImportColumns(target, m_sources, [&store](const QString &item) { return store.titleList(item); });
}

} // namespace billprint
