#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace billprint {

// A small INI file in the classic Windows form: "[Section]" lines and
// "key=value" lines, UTF-8, section and key names compared without regard
// to letter case. Unlike QSettings it keeps the file's order and spelling,
// never escapes Chinese keys, and writes every change through to the disk
// atomically, so a crash never leaves half a file behind.
class IniFile
{
public:
    explicit IniFile(QString path = QString());

    const QString &path() const { return m_path; }
    bool load();   // re-reads the file; a missing file is an empty one
    bool flush();  // writes the file atomically; true on success

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Each write goes to the file at once unless write-through is off
    // (callers that write many keys switch it off and flush once).
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);

    void setWriteThrough(bool on) { m_writeThrough = on; }
    QString lastError() const { return m_lastError; }

    // Parses text in INI form; used by load() and by tests.
    void parse(const QString &text);
    QString toText() const;

private:
    struct Entry { QString key; QString value; };
    struct Section { QString name; std::vector<Entry> entries; };

    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;
    void changed();

    QString m_path;
    std::vector<Section> m_sections;
    bool m_writeThrough = true;
    QString m_lastError;
};

} // namespace billprint
