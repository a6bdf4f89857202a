#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace billprint {

// A small INI file in the classic Windows form: "[Section]" lines and
// "key=value" lines, section and key names compared without regard to
// letter case. Unlike QSettings it keeps the file's order, spelling and
// comments, and never escapes Chinese keys.
//
// The file on disk is the truth: other programs (an editor, a second
// running copy) may change it at any time. A write therefore never puts
// the memory copy back whole: flush() reads the file as it is now, makes
// only the changes recorded since the last flush, and replaces the file
// atomically, so a crash never leaves half a file behind. Each change goes
// to the disk at once unless write-through is off (callers that write many
// keys switch it off and flush once).
//
// Files are written in UTF-8. A file that is not valid UTF-8 is read as
// GBK, the code page of the earlier program's files; its first change
// stores it in UTF-8.
class IniFile
{
public:
    explicit IniFile(QString path = QString());

    const QString &path() const { return m_path; }
    // Reads the file anew; changes not flushed yet stay on top of it. A
    // missing file is an empty one.
    bool load();
    // Merges the changes made since the last flush into the file's current
    // content and writes it atomically; with no change it only reads the
    // file anew. True on success; on failure the changes are kept for the
    // next flush.
    bool flush();

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);

    void setWriteThrough(bool on) { m_writeThrough = on; }
    QString lastError() const { return m_lastError; }

    // Takes `text` as the file's content (changes not flushed stay on top);
    // used by load() and by tests.
    void parse(const QString &text);
    QString toText() const;

    // The text of INI bytes: UTF-8 (a byte order mark dropped), or GBK when
    // the bytes are not valid UTF-8.
    static QString decode(const QByteArray &bytes);

private:
    // One line of the file; entries also keep their key and value.
    struct Line
    {
        QString text;
        QString key;
        QString value;
        bool isEntry = false;
    };
    struct Section
    {
        QString name;
        bool hasHeader = true;  // false for the lines before the first section
        QString header;         // the header line as the file spells it
        std::vector<Line> lines;
    };
    enum class ChangeKind { Write, DeleteKey, EraseSection };
    struct Change
    {
        ChangeKind kind;
        QString section;
        QString key;
        QString value;
    };

    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;
    const Line *findEntry(const QString &section, const QString &key) const;
    void parseDocument(const QString &text);
    void apply(const Change &change);
    void change(Change change);
    bool readDisk(QString *text);

    QString m_path;
    std::vector<Section> m_sections;
    std::vector<Change> m_pending;
    QString m_lineEnd = QStringLiteral("\n");
    bool m_writeThrough = true;
    QString m_lastError;
};

} // namespace billprint
