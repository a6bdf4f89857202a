// The tree of filters beside the address book's grid: all units, own
// units, counterparties, the default drawer, one node per province and
// one per group found in the address book.
#pragma once

#include <QString>
#include <QStringList>
#include <QTreeWidget>

namespace billprint {

// Texts of the six top nodes.
namespace FilterNode {
inline const QString All = QStringLiteral("全部分组");
inline const QString Own = QStringLiteral("我方单位");
inline const QString Counterparty = QStringLiteral("往来单位");
inline const QString DefaultDrawer = QStringLiteral("默认出票人");
inline const QString ByProvince = QStringLiteral("[按地区分组]");
inline const QString ByGroup = QStringLiteral("[按其他分组]");
} // namespace FilterNode

// What a click on a node asks of the listing.
struct TreeFilterChoice
{
    bool runQuery = true;  // false for the two heading nodes themselves
    QString keyword;       // a province is searched like a typed keyword
    QString unitKind;
    QString group;
    QString tabText;       // "【" path "】"
};

// The choice for the node at `path` (node texts from the top).
TreeFilterChoice treeFilterChoice(const QStringList &path);

class PersonFilterTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit PersonFilterTree(QWidget *parent = nullptr);

    // Puts the six top nodes in place and the given provinces and groups
    // under their headings, everything expanded.
    void rebuild(const QStringList &provinces, const QStringList &groups);

    QTreeWidgetItem *topNode(const QString &text) const;
    QTreeWidgetItem *childNode(const QString &heading, const QString &text) const;
    // Marks a top node as the current one without running its filter.
    void selectTopNode(const QString &text);

    static QStringList pathOf(const QTreeWidgetItem *item);

    // The context menu's help text about groups.
    static QString groupHelpText();

signals:
    void filterChosen(const TreeFilterChoice &choice);
    void rebuildRequested();

private:
    void showContextMenu(const QPoint &pos);
    // Widens the panel to show every node's name whole.
    void fitToNames();
    static constexpr int kNarrowestPanel = 120;
    static constexpr int kWidestPanel = 360;
};

} // namespace billprint
