#include "app/simplified_chinese.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QHash>
#include <QReadWriteLock>
#include <QVarLengthArray>

#include <opencc.h>

namespace billprint {

namespace {

// Below the CJK radicals there is nothing to fold: Latin, digits,
// punctuation and the rest are passed over without a look-up.
constexpr char16_t kFirstCjk = 0x2E80;

bool mayFold(char16_t c)
{
    return c >= kFirstCjk && !QChar::isSurrogate(c);
}

// OpenCC's converter, opened on first use, and what it made of each
// character asked so far.
class Folder
{
public:
    static Folder &instance()
    {
        static Folder folder;
        return folder;
    }

    bool available() const { return m_converter != kNoConverter; }

    QString fold(const QString &text)
    {
        if (!available())
            return text;
        QString out = text;
        QVarLengthArray<int, 64> unknown;
        {
            QReadLocker lock(&m_lock);
            for (int i = 0; i < text.size(); ++i) {
                const char16_t c = text.at(i).unicode();
                if (!mayFold(c))
                    continue;
                const auto known = m_cache.constFind(c);
                if (known == m_cache.constEnd())
                    unknown.append(i);
                else if (*known != c)
                    out[i] = QChar(*known);
            }
        }
        if (!unknown.isEmpty()) {
            QWriteLocker lock(&m_lock);
            for (int i : unknown) {
                const char16_t c = text.at(i).unicode();
                auto known = m_cache.constFind(c);
                if (known == m_cache.constEnd())
                    known = m_cache.insert(c, convert(c));
                if (*known != c)
                    out[i] = QChar(*known);
            }
        }
        return out;
    }

private:
    inline static const opencc_t kNoConverter = reinterpret_cast<opencc_t>(-1);

    Folder()
    {
        // The Debian package's configuration; OpenCC's own search of its
        // data folder when the program runs elsewhere.
        const QByteArray installed = QByteArrayLiteral("/usr/share/opencc/t2s.json");
        m_converter = opencc_open(QFile::exists(QString::fromLatin1(installed)) ? installed.constData()
                                                                                 : "t2s.json");
        if (!available())
            qDebug() << "traditional characters are not folded: OpenCC's t2s.json cannot be loaded:"
                     << opencc_error();
    }

    ~Folder()
    {
        if (available())
            opencc_close(m_converter);
    }

    // One character through OpenCC; the caller holds the write lock, so
    // the converter is used by one thread at a time.
    char16_t convert(char16_t c) const
    {
        const QByteArray utf8 = QString(QChar(c)).toUtf8();
        char *converted = opencc_convert_utf8(m_converter, utf8.constData(), size_t(utf8.size()));
        if (!converted)
            return c;
        const QString result = QString::fromUtf8(converted);
        opencc_convert_utf8_free(converted);
        return result.size() == 1 ? result.at(0).unicode() : c;
    }

    opencc_t m_converter = kNoConverter;
    QReadWriteLock m_lock;
    QHash<char16_t, char16_t> m_cache;
};

bool hasFoldable(const QString &text)
{
    for (QChar c : text) {
        if (mayFold(c.unicode()))
            return true;
    }
    return false;
}

} // namespace

QString foldToSimplified(const QString &text)
{
    // Plain ASCII and Latin texts (phone numbers, codes) never reach OpenCC.
    if (!hasFoldable(text))
        return text;
    return Folder::instance().fold(text);
}

bool simplifiedFoldingAvailable()
{
    return Folder::instance().available();
}

} // namespace billprint
