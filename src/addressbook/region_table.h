// China's administrative divisions at province, prefecture and county
// level, as the address parser checks regions against them.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

namespace billprint {

struct Division
{
    enum Level { Province = 0, Prefecture = 1, County = 2 };
    QString code;
    QString name;       // full name, "广东省", "延边朝鲜族自治州", "邵阳县"
    QString shortName;  // without its kind, "广东", "延边", "邵阳"; may be empty
    Level level = Province;
    int parent = -1;    // prefecture or province; -1 for a province
    int province = -1;  // the province (itself for a province)
};

class RegionTable
{
public:
    // The table delivered with the program.
    static const RegionTable &delivered();
    // Built from "code<TAB>name" lines; a county whose prefecture is not
    // listed hangs under its province.
    static RegionTable fromLines(const QString &text);

    const Division &at(int id) const { return m_divisions.at(id); }
    int size() const { return m_divisions.size(); }
    bool isMunicipality(int province) const;
    // Whether a prefecture has counties ("东莞市" has none: towns follow it).
    bool hasCounties(int prefecture) const { return m_withCounties.contains(prefecture); }

    // The divisions with this full name, and those with this short name. A
    // full name may be a colloquial one written with its kind ("甘南州" for
    // "甘南藏族自治州"); Division::name stays the table's own.
    QList<int> fullNamed(QStringView name) const;
    QList<int> shortNamed(QStringView name) const;
    // Whether some name (full or short) starts with these two characters.
    bool mayStartAt(QStringView text) const;
    int longestName() const { return m_longest; }
    // The longest name (full or short) starting with the text's first two
    // characters; 0 for none.
    int longestNameAt(QStringView text) const;

    // The province as the parser shows it: "广东省", but "上海" for a
    // municipality and "广西" for an autonomous region.
    QString provinceText(int province) const;

private:
    void add(const QString &code, const QString &name);
    void addFullName(const QString &name, int id);
    void noteStart(const QString &name);
    static QString shortFor(const QString &name, Division::Level level);

    QList<Division> m_divisions;
    QHash<QString, int> m_byCode;
    QHash<QString, QList<int>> m_full;
    QHash<QString, QList<int>> m_short;
    QSet<size_t> m_nameHashes;  // of every full and short name
    QHash<quint32, int> m_starts;  // the first two characters -> the longest such name
    QSet<int> m_withCounties;
    int m_longest = 0;
};

} // namespace billprint
