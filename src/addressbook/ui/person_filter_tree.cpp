#include "addressbook/ui/person_filter_tree.h"

#include "app/alert.h"

#include <QMenu>
#include <QScrollBar>

namespace billprint {

namespace {

const QStringList &topNodeTexts()
{
    static const QStringList texts = {FilterNode::All,           FilterNode::Own,        FilterNode::Counterparty,
                                      FilterNode::DefaultDrawer, FilterNode::ByProvince, FilterNode::ByGroup};
    return texts;
}

} // namespace

TreeFilterChoice treeFilterChoice(const QStringList &path)
{
    TreeFilterChoice choice;
    if (path.isEmpty()) {
        choice.runQuery = false;
        return choice;
    }
    const QString &top = path.first();
    const QString rest = path.mid(1).join(QLatin1Char('\\'));
    if (path.size() == 1 && (top == FilterNode::ByProvince || top == FilterNode::ByGroup)) {
        choice.runQuery = false;
        return choice;
    }
    if (path.size() == 1 && (top == FilterNode::Own || top == FilterNode::Counterparty))
        choice.unitKind = top;
    else if (path.size() == 1 && top == FilterNode::DefaultDrawer)
        choice.group = FilterNode::DefaultDrawer;
    else if (top == FilterNode::ByProvince)
        choice.keyword = rest;
    else if (top == FilterNode::ByGroup)
        choice.group = rest;
    else if (!(path.size() == 1 && top == FilterNode::All))
        choice.group = path.join(QLatin1Char('\\'));
    choice.tabText = QStringLiteral("【") + path.join(QLatin1Char('\\')) + QStringLiteral("】");
    return choice;
}

PersonFilterTree::PersonFilterTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvGroup"));
    setHeaderHidden(true);
    setColumnCount(1);
    setContextMenuPolicy(Qt::CustomContextMenu);
    for (const QString &text : topNodeTexts())
        addTopLevelItem(new QTreeWidgetItem(QStringList{text}));
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { emit filterChosen(treeFilterChoice(pathOf(item))); });
    connect(this, &QWidget::customContextMenuRequested, this, &PersonFilterTree::showContextMenu);
}

void PersonFilterTree::rebuild(const QStringList &provinces, const QStringList &groups)
{
    for (int i = 0; i < topNodeTexts().size(); ++i)
        topLevelItem(i)->setText(0, topNodeTexts().at(i));
    auto refill = [](QTreeWidgetItem *heading, const QStringList &texts) {
        qDeleteAll(heading->takeChildren());
        for (const QString &text : texts)
            heading->addChild(new QTreeWidgetItem(QStringList{text}));
    };
    refill(topNode(FilterNode::ByProvince), provinces);
    refill(topNode(FilterNode::ByGroup), groups);
    expandAll();
    fitToNames();
}

void PersonFilterTree::fitToNames()
{
    // Province and group names are read whole: the panel is at least as
    // wide as its longest name, up to a limit past which names are cut
    // rather than the grid squeezed.
    const int wanted = sizeHintForColumn(0) + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    setMinimumWidth(qBound(kNarrowestPanel, wanted, kWidestPanel));
}

QTreeWidgetItem *PersonFilterTree::topNode(const QString &text) const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->text(0) == text)
            return topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem *PersonFilterTree::childNode(const QString &heading, const QString &text) const
{
    QTreeWidgetItem *top = topNode(heading);
    for (int i = 0; top && i < top->childCount(); ++i)
        if (top->child(i)->text(0) == text)
            return top->child(i);
    return nullptr;
}

void PersonFilterTree::selectTopNode(const QString &text)
{
    if (QTreeWidgetItem *node = topNode(text))
        setCurrentItem(node);
}

QStringList PersonFilterTree::pathOf(const QTreeWidgetItem *item)
{
    QStringList path;
    for (; item; item = item->parent())
        path.prepend(item->text(0));
    return path;
}

QString PersonFilterTree::groupHelpText()
{
    return QStringLiteral("分组无需添加，当有一个单位的分组属性设置为\"分组A\"时，就会自动添加一个\"分组A\"的组。");
}

void PersonFilterTree::showContextMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("全部展开"), this, &QTreeView::expandAll);
    menu.addAction(QStringLiteral("全部关闭"), this, &QTreeView::collapseAll);
    menu.addAction(QStringLiteral("【刷新】"), this, &PersonFilterTree::rebuildRequested);
    menu.addSeparator();
    menu.addAction(QStringLiteral("分组如何添加?"), this, [] { tell(groupHelpText()); });
    menu.exec(viewport()->mapToGlobal(pos));
}

} // namespace billprint
