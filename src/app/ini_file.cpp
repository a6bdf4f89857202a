#include "app/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

namespace billprint {

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    if (!m_path.isEmpty())
        load();
}

bool IniFile::load()
{
    m_sections.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    parse(QString::fromUtf8(bytes));
    return true;
}

void IniFile::parse(const QString &text)
{
    m_sections.clear();
    Section *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            current = findSection(name);
            if (!current) {
                m_sections.push_back(Section{name, {}});
                current = &m_sections.back();
            }
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        bool replaced = false;
        for (Entry &e : current->entries) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
                e.value = value;  // the first spelling of a key wins
                replaced = true;
                break;
            }
        }
        if (!replaced)
            current->entries.push_back(Entry{key, value});
    }
}

QString IniFile::toText() const
{
    QString out;
    for (const Section &s : m_sections) {
        out += QLatin1Char('[') + s.name + QLatin1String("]\n");
        for (const Entry &e : s.entries)
            out += e.key + QLatin1Char('=') + e.value + QLatin1Char('\n');
        out += QLatin1Char('\n');
    }
    return out;
}

bool IniFile::flush()
{
    if (m_path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_lastError = file.errorString();
        return false;
    }
    file.write(toText().toUtf8());
    if (!file.commit()) {
        m_lastError = file.errorString();
        return false;
    }
    return true;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    for (Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    return const_cast<IniFile *>(this)->findSection(name);
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
    return defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key).toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Section &s : m_sections)
        names << s.name;
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    if (const Section *s = findSection(section))
        for (const Entry &e : s->entries)
            names << e.key;
    return names;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // Values are single lines in an INI file; a line break would split the entry.
    QString clean = value;
    clean.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section *s = findSection(section);
    if (!s) {
        m_sections.push_back(Section{section, {}});
        s = &m_sections.back();
    }
    for (Entry &e : s->entries) {
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            e.value = clean;
            changed();
            return;
        }
    }
    s->entries.push_back(Entry{key, clean});
    changed();
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::eraseSection(const QString &section)
{
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
        if (it->name.compare(section, Qt::CaseInsensitive) == 0) {
            m_sections.erase(it);
            changed();
            return;
        }
    }
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    if (Section *s = findSection(section)) {
        for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
            if (it->key.compare(key, Qt::CaseInsensitive) == 0) {
                s->entries.erase(it);
                changed();
                return;
            }
        }
    }
}

void IniFile::changed()
{
    if (m_writeThrough && !m_path.isEmpty())
        flush();
}

} // namespace billprint
