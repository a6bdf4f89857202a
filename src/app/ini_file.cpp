#include "app/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace billprint {

namespace {

// Two running copies of the program flush the same file; the lock keeps
// one's read-merge-write from interleaving with the other's.
constexpr int kLockWaitMs = 3000;

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    if (!m_path.isEmpty())
        load();
}

QString IniFile::decode(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    // GB18030 reads every GBK file and is what the system calls GBK today.
    QStringDecoder gbk("GB18030");
    return gbk.isValid() ? gbk.decode(body) : text;
}

bool IniFile::readDisk(QString *text)
{
    text->clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = file.errorString();
        return false;
    }
    *text = decode(file.readAll());
    return true;
}

bool IniFile::load()
{
    QString text;
    if (!readDisk(&text))
        return false;
    parse(text);
    return true;
}

void IniFile::parse(const QString &text)
{
    parseDocument(text);
    for (const Change &c : m_pending)
        apply(c);
}

void IniFile::parseDocument(const QString &text)
{
    m_sections.clear();
    m_lineEnd = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the line end of the last line
    for (QString line : std::as_const(lines)) {
        // Every carriage return before the line end goes: one left in the
        // text would be written back before "\n" and turn the next read
        // of the file into one with "\r\n" line ends.
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            m_sections.push_back(Section{trimmed.mid(1, trimmed.size() - 2).trimmed(), true, line, {}});
            continue;
        }
        if (m_sections.empty())
            m_sections.push_back(Section{QString(), false, QString(), {}});
        Line parsed{line, QString(), QString(), false};
        const int eq = line.indexOf(QLatin1Char('='));
        if (m_sections.back().hasHeader && eq > 0 && !isComment(trimmed)) {
            parsed.key = line.left(eq).trimmed();
            parsed.value = line.mid(eq + 1).trimmed();
            parsed.isEntry = !parsed.key.isEmpty();
        }
        m_sections.back().lines.push_back(parsed);
    }
}

QString IniFile::toText() const
{
    QStringList out;
    for (const Section &s : m_sections) {
        if (s.hasHeader) {
            // A section new to the file stands apart from the one before.
            if (s.header.isEmpty() && !out.isEmpty() && !out.last().trimmed().isEmpty())
                out << QString();
            out << (s.header.isEmpty() ? QLatin1Char('[') + s.name + QLatin1Char(']') : s.header);
        }
        for (const Line &line : s.lines)
            out << line.text;
    }
    if (out.isEmpty())
        return QString();
    return out.join(m_lineEnd) + m_lineEnd;
}

bool IniFile::flush()
{
    if (m_path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        m_lastError = QStringLiteral("文件被另一个程序锁定：") + QDir::toNativeSeparators(m_path);
        return false;
    }
    QString current;
    if (!readDisk(&current))
        return false;
    parse(current);  // the file as it is now, with our changes on top
    if (m_pending.empty())
        return true;
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
    m_pending.clear();
    return true;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    for (Section &s : m_sections)
        if (s.hasHeader && sameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    return const_cast<IniFile *>(this)->findSection(name);
}

const IniFile::Line *IniFile::findEntry(const QString &section, const QString &key) const
{
    if (const Section *s = findSection(section))
        for (const Line &line : s->lines)
            if (line.isEntry && sameName(line.key, key))
                return &line;
    return nullptr;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Line *line = findEntry(section, key);
    return line ? line->value : defaultValue;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key).toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findEntry(section, key) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Section &s : m_sections)
        if (s.hasHeader && !names.contains(s.name, Qt::CaseInsensitive))
            names << s.name;
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    if (const Section *s = findSection(section))
        for (const Line &line : s->lines)
            if (line.isEntry && !names.contains(line.key, Qt::CaseInsensitive))
                names << line.key;
    return names;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // Values are single lines in an INI file; a line break would split the entry.
    QString clean = value;
    clean.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    change(Change{ChangeKind::Write, section, key, clean});
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::eraseSection(const QString &section)
{
    change(Change{ChangeKind::EraseSection, section, QString(), QString()});
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    change(Change{ChangeKind::DeleteKey, section, key, QString()});
}

void IniFile::change(Change c)
{
    apply(c);
    m_pending.push_back(std::move(c));
    if (m_writeThrough && !m_path.isEmpty())
        flush();
}

void IniFile::apply(const Change &c)
{
    switch (c.kind) {
    case ChangeKind::EraseSection:
        m_sections.erase(std::remove_if(m_sections.begin(), m_sections.end(),
                                        [&](const Section &s) { return s.hasHeader && sameName(s.name, c.section); }),
                         m_sections.end());
        return;
    case ChangeKind::DeleteKey:
        if (Section *s = findSection(c.section))
            s->lines.erase(std::remove_if(s->lines.begin(), s->lines.end(),
                                          [&](const Line &l) { return l.isEntry && sameName(l.key, c.key); }),
                           s->lines.end());
        return;
    case ChangeKind::Write:
        break;
    }
    Section *s = findSection(c.section);
    if (!s) {
        m_sections.push_back(Section{c.section, true, QString(), {}});
        s = &m_sections.back();
    }
    for (Line &line : s->lines) {
        if (line.isEntry && sameName(line.key, c.key)) {
            line.value = c.value;
            line.text = line.key + QLatin1Char('=') + c.value;  // the file's spelling of the key stays
            return;
        }
    }
    // A new key goes after the section's last line that is not blank, so
    // the blank line before the next section stays where it is.
    std::size_t at = 0;
    for (std::size_t i = 0; i < s->lines.size(); ++i)
        if (!s->lines[i].text.trimmed().isEmpty())
            at = i + 1;
    s->lines.insert(s->lines.begin() + std::ptrdiff_t(at), Line{c.key + QLatin1Char('=') + c.value, c.key, c.value, true});
}

} // namespace billprint
