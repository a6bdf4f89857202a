#include "templates/ui/tfrm_check_type_mng.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/database.h"
#include "app/lookups.h"
#include "app/ui/window_state.h"
#include "app/ui/tfrm_image_show.h"
#include "app/ui/tfrm_input_value.h"
#include "templates/check_type.h"
#include "templates/template_picture_store.h"
#include "templates/template_catalogue.h"
#include "templates/template_error.h"

#include <QBoxLayout>
#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTabBar>
#include <QTableView>
#include <QWheelEvent>

namespace billprint {

namespace {

const QString kAllFamilies = QStringLiteral("所有模板种类");
enum Scope { AllEnabled, Common, Defaults, Hidden };

// The list's rows alternate between two tints by record number (the first
// record is odd); the selection keeps white on blue.
class TemplateListModel : public QSqlQueryModel
{
public:
    using QSqlQueryModel::QSqlQueryModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::BackgroundRole)
            return QColor(index.row() % 2 == 0 ? 0xE6EBFF : 0xEFFCF3);
        if (role == Qt::ForegroundRole)
            return QColor(Qt::black);
        return QSqlQueryModel::data(index, role);
    }
};

QString likeEscaped(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
}

} // namespace

TfrmCheckTypeMng::TfrmCheckTypeMng(AppContext &ctx, int currentCheckTypeId, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_passedId(currentCheckTypeId)
{
    setObjectName(QStringLiteral("TfrmCheckTypeMng"));
    setWindowTitle(QStringLiteral("票据模板管理"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("模板种类:")));
    m_family = new QComboBox;
    m_family->addItem(kAllFamilies);
    QSqlQuery families(ctx.db().connection());
    if (ctx.db().run(families, QStringLiteral("select distinct CheckTypeName from NameDict order by CheckTypeName")))
        while (families.next())
            m_family->addItem(families.value(0).toString());
    top->addWidget(m_family);
    auto *filter = new QPushButton(QStringLiteral("过滤模板(&F)"));
    auto *all = new QPushButton(QStringLiteral("全部模板列表"));
    top->addWidget(filter);
    top->addWidget(all);
    layout->addLayout(top);

    m_tabs = new QTabBar;
    for (const char *tab : {"所有可用模板", "常用的模板", "默认的模板", "隐藏的模板"})
        m_tabs->addTab(QString::fromUtf8(tab));
    layout->addWidget(m_tabs);

    auto *middle = new QHBoxLayout;
    m_grid = new QTableView;
    m_model = new TemplateListModel(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setStyleSheet(
        QStringLiteral("QTableView { selection-background-color: blue; selection-color: white; }"));
    m_grid->viewport()->installEventFilter(this);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    middle->addWidget(m_grid, 1);
    auto *buttons = new QVBoxLayout;
    m_default = new QPushButton(QStringLiteral("设置为【默认票据模板】"));
    m_common = new QPushButton(QStringLiteral("设置为【常用】票据模板"));
    m_uncommon = new QPushButton(QStringLiteral("从常用模板【移出】(&M)"));
    m_hide = new QPushButton(QStringLiteral("【隐藏选中】票据模版(&H)"));
    m_enable = new QPushButton(QStringLiteral("【启用】选中票据模版(&H)"));
    auto *import = new QPushButton(QStringLiteral("外部【导入】模板"));
    m_delete = new QPushButton(QStringLiteral("【删除选中】票据模板(&K)"));
    auto *close = new QPushButton(QStringLiteral("  关   闭 (&X)"));
    for (QPushButton *b : {m_default, m_common, m_uncommon, m_hide, m_enable, import, m_delete, close})
        buttons->addWidget(b);
    buttons->addStretch();
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("查询关键字:")));
    m_search = new QLineEdit;
    auto *query = new QPushButton(QStringLiteral("查询"));
    bottom->addWidget(m_search);
    bottom->addWidget(query);
    auto *more = new QLabel(QStringLiteral("<a href=\"more\">更多模板到禾朔网站下载或定制>></a>"));
    bottom->addWidget(more);
    layout->addLayout(bottom);
    layout->addWidget(new QLabel(QStringLiteral("【技巧提示】1、按住Ctrl+鼠标左击 可同时选中多个模板;")));
    layout->addWidget(new QLabel(QStringLiteral("2、模板列表支持右键菜单操作。")));

    connect(filter, &QPushButton::clicked, this, &TfrmCheckTypeMng::refresh);
    connect(m_tabs, &QTabBar::currentChanged, this, &TfrmCheckTypeMng::refresh);
    connect(m_family, &QComboBox::currentIndexChanged, this, &TfrmCheckTypeMng::familyChanged);
    connect(all, &QPushButton::clicked, this, [this] {
        m_family->setCurrentIndex(0);
        m_tabs->setCurrentIndex(AllEnabled);
        refresh();
    });
    auto search = [this] {
        m_search->setText(m_search->text().trimmed());
        if (m_search->text().isEmpty())
            m_search->setFocus();
        refresh();
    };
    connect(query, &QPushButton::clicked, this, search);
    connect(m_search, &QLineEdit::returnPressed, this, search);
    connect(m_default, &QPushButton::clicked, this, &TfrmCheckTypeMng::setDefault);
    connect(m_common, &QPushButton::clicked, this, [this] { setCommon(true); });
    connect(m_uncommon, &QPushButton::clicked, this, [this] { setCommon(false); });
    connect(m_hide, &QPushButton::clicked, this, [this] { setSelectedEnabled(false); });
    connect(m_enable, &QPushButton::clicked, this, [this] { setSelectedEnabled(true); });
    connect(m_delete, &QPushButton::clicked, this, &TfrmCheckTypeMng::deleteSelected);
    connect(import, &QPushButton::clicked, this, [this] {
        if (openImport)
            openImport();
        refresh();
    });
    connect(more, &QLabel::linkActivated, this, [this] {
        if (openMoreTemplates)
            openMoreTemplates();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &TfrmCheckTypeMng::showMenu);
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { showPicture(index.row()); });
    FormFaceLoad(m_ctx.config(), this);
    refresh();
}

TfrmCheckTypeMng::~TfrmCheckTypeMng() = default;

void TfrmCheckTypeMng::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    if (!m_ctx.config().flush())
        tell(QStringLiteral("资源关闭异常~") + QLatin1Char('\n') + m_ctx.config().lastError(),
             QStringLiteral("错误"), AlertIcon::Error);
    QDialog::done(result);
}

bool TfrmCheckTypeMng::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel walks the selection through the list, a row per notch, as
    // the arrow keys do, instead of scrolling past it.
    if (watched == m_grid->viewport() && event->type() == QEvent::Wheel) {
        const int steps = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (steps != 0 && m_model->rowCount() > 0) {
            const int current = m_grid->currentIndex().row();
            const int row = current < 0 ? 0 : current + (steps > 0 ? -1 : 1);
            if (row >= 0 && row < m_model->rowCount())
                m_grid->selectRow(row);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmCheckTypeMng::showPicture(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    // The viewer reads the picture from this desk's folder.
    if (const auto t = TCheckType::findByTypeName(m_ctx.db(), cell(row, 1)))
        localTemplatePicture(m_ctx.db(), m_ctx.dataRoot().imageFolder(), t->ImgFile);
    TfrmImageShow viewer(m_ctx, this);
    viewer.loadPictureByFullName(cell(row, 1));
    if (viewer.hasPicture())
        viewer.exec();
}

void TfrmCheckTypeMng::refresh()
{
    if (m_passedId > 0) {
        const QString family = Lookups(m_ctx.db()).loadCheckTypeFirstNameByID(m_passedId);
        m_passedId = 0;
        const int index = m_family->findText(family);
        if (index > 0) {
            const QSignalBlocker block(m_family);
            m_family->setCurrentIndex(index);
            familyChanged();
        }
    }
    static const char *const conditions[] = {" Visiable='启用'", " Visiable='启用' and IsCommon='是'",
                                             " Visiable='启用' and isDefault='默认'", " Visiable<>'启用'"};
    const int scope = std::max(0, m_tabs->currentIndex());
    QString sql = QStringLiteral("SELECT CheckTypeID as 编号,TypeName as 模板种类,isdefault as 默认,IsCommon as 常用, "
                                 "Visiable as 是否启用,TypeFirstName,ImgFile as 底图 From CKTypeTable Where ")
        + QString::fromUtf8(conditions[scope]);
    QVariantList values;
    if (m_family->currentIndex() > 0) {
        sql += QStringLiteral(" and TypeName like ? escape '\\' ");
        values << likeEscaped(m_family->currentText()) + QLatin1Char('%');
    }
    if (!m_search->text().isEmpty()) {
        sql += QStringLiteral(" and TypeName like ? escape '\\'");
        values << QLatin1Char('%') + likeEscaped(m_search->text().toUpper()) + QLatin1Char('%');
    }
    sql += scope == Common ? QStringLiteral(" order by ShowOrd DESC ") : QStringLiteral(" order by TypeName ");
    QSqlQuery q = m_ctx.db().prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        tell(QStringLiteral("模板列表失败:Error=") + q.lastError().text());
        return;
    }
    m_model->setQuery(std::move(q));
    while (m_model->canFetchMore())
        m_model->fetchMore();
    setWindowTitle(m_family->currentText() + QStringLiteral("模板管理(查询%1个)").arg(m_model->rowCount()));
    if (m_model->rowCount() > 0) {
        const int widths[] = {35, 200, 30, 30, 50};
        for (int i = 0; i < 5; ++i)
            m_grid->setColumnWidth(i, widths[i]);
        m_grid->setColumnHidden(5, true);
    }
    m_search->clear();
    enableButtons();
}

void TfrmCheckTypeMng::enableButtons()
{
    const int scope = m_tabs->currentIndex();
    const bool states[4][4] = {{true, true, true, false}, {true, false, true, false}, {false, false, false, false},
                               {true, true, false, true}};
    m_default->setEnabled(states[scope][0]);
    m_common->setEnabled(states[scope][1]);
    m_hide->setEnabled(states[scope][2]);
    m_enable->setEnabled(states[scope][3]);
    m_uncommon->setEnabled(scope == Common);
    m_delete->setEnabled(scope != Defaults);
}

void TfrmCheckTypeMng::familyChanged()
{
    const bool family = m_family->currentIndex() > 0;
    m_default->setText(QStringLiteral("设置为【默认】") + (family ? m_family->currentText() : QStringLiteral("模板")));
    m_common->setText(QStringLiteral("设置为【常用】") + (family ? m_family->currentText() : QStringLiteral("模板")));
}

QString TfrmCheckTypeMng::cell(int row, int column) const
{
    return m_model->data(m_model->index(row, column)).toString();
}

QList<int> TfrmCheckTypeMng::selectedIds() const
{
    QList<int> ids;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        ids << cell(index.row(), 0).toInt();
    return ids;
}

int TfrmCheckTypeMng::currentId() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? cell(index.row(), 0).toInt() : (m_model->rowCount() > 0 ? cell(0, 0).toInt() : 0);
}

void TfrmCheckTypeMng::setDefault()
{
    if (m_model->rowCount() == 0) {
        tell(QStringLiteral("没有选中要设置的票据模版！"));
        return;
    }
    const auto t = TCheckType::findById(m_ctx.db(), currentId());
    if (!t)
        return;
    try {
        const bool ok = TCheckType::setDefaultByTypeName(m_ctx.db(), t->TypeName);
        tell(QStringLiteral("设置默认模版【") + t->TypeName
             + (ok ? QStringLiteral("】成功,重新填开单据即可生效~") : QStringLiteral("】失败！")));
    } catch (const TemplateError &e) {
        tell(e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    refresh();
}

void TfrmCheckTypeMng::setCommon(bool common)
{
    int n = 0;
    try {
        for (const QModelIndex &index : m_grid->selectionModel()->selectedRows()) {
            if (!common && cell(index.row(), 2) == TemplateFlag::Default) {
                tell(QStringLiteral("默认模板不能从常用模板移出！"));
                continue;
            }
            auto t = TCheckType::findById(m_ctx.db(), cell(index.row(), 0).toInt());
            if (!t)
                continue;
            t->IsCommon = common ? TemplateFlag::Common : TemplateFlag::NotCommon;
            t->Visiable = TemplateFlag::Enabled;
            n += t->save(m_ctx.db());
        }
    } catch (const TemplateError &) {
        // The rows changed before the failure stay changed: the list shows
        // them, but no count pretends the operation went through.
        tell(QStringLiteral("模板设置失败,中止！~"), QStringLiteral("错误"), AlertIcon::Error);
        refresh();
        return;
    }
    tell(common ? QStringLiteral("共添加 %1 个模板为常用模板！\n\r\n\r新设置常用快递后，请重开快递单填开界面生效~").arg(n)
                : QStringLiteral("共从常用模板移出 %1 个模板为普通模板！").arg(n));
    m_tabs->setCurrentIndex(Common);
    refresh();
}

void TfrmCheckTypeMng::setSelectedEnabled(bool enabled)
{
    try {
        for (int id : selectedIds()) {
            auto t = TCheckType::findById(m_ctx.db(), id);
            if (!t)
                continue;
            t->Visiable = enabled ? TemplateFlag::Enabled : TemplateFlag::Hidden;
            t->save(m_ctx.db());
        }
    } catch (const TemplateError &e) {
        tell(e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    refresh();
}

void TfrmCheckTypeMng::moveCommon(bool up)
{
    const QList<int> ids = selectedIds();
    if (ids.isEmpty())
        return;
    if (ids.size() >= m_model->rowCount()) {
        tell(QStringLiteral("点选的个数必须小于总常用个数"));
        return;
    }
    int n = 0;
    try {
        const int order = up ? TCheckType::topShowOrd(m_ctx.db()) : TCheckType::bottomShowOrd(m_ctx.db());
        QString family;
        for (int id : ids) {
            auto t = TCheckType::findById(m_ctx.db(), id);
            if (!t)
                continue;
            if (!up && t->isDefault()) {
                tell(QStringLiteral("默认模版排第一，不能下移"));
                continue;
            }
            family = t->getFirstName();
            t->ShowOrd = up ? order + 1 : order - 1;
            t->save(m_ctx.db());
            ++n;
        }
        // The default stays first; the moved templates follow it.
        if (up)
            if (auto d = TCheckType::findDefaultByFirstName(m_ctx.db(), family)) {
                d->ShowOrd = order + 2;
                d->save(m_ctx.db());
            }
    } catch (const TemplateError &e) {
        tell(QStringLiteral("模版顺序设置失败:") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    tell(QStringLiteral("共修改了%1 个模板的常用顺序，最常用模版优先排前(默认之后)").arg(n)
         + (up ? QStringLiteral("，重新填开票据时生效！") : QStringLiteral(",重新填开票据时生效！")));
    m_tabs->setCurrentIndex(Common);
    refresh();
}

QString TfrmCheckTypeMng::askNewLastName(const QString &current)
{
    const QString prompt = QStringLiteral("输入新模板名(15个汉字以内)：");
    return askName ? askName(prompt, current) : giveMeAnValue(prompt, current, QStringLiteral("string"), this);
}

void TfrmCheckTypeMng::cloneTemplate()
{
    const auto source = TCheckType::findById(m_ctx.db(), currentId());
    if (!source)
        return;
    const QString answer = askNewLastName(source->TypeDescribe);
    if (answer.isEmpty() || answer == source->TypeDescribe)
        return;
    try {
        QString message;
        if (TemplateCatalogue(m_ctx.db(), m_ctx.dataRoot().imageFolder()).cloneTemplate(source->CheckTypeID, answer,
                                                                                         &message) > 0)
            tell(QStringLiteral("克隆模板成功，已新增一个同类模板~"));
        else
            tell(message);
    } catch (const TemplateError &e) {
        tell(QStringLiteral("修改失败，错误=") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    refresh();
}

void TfrmCheckTypeMng::renameTemplate()
{
    const auto t = TCheckType::findById(m_ctx.db(), currentId());
    if (!t)
        return;
    const QString answer = askNewLastName(t->TypeDescribe);
    if (answer.isEmpty() || answer == t->TypeDescribe)
        return;
    try {
        QString message;
        if (TemplateCatalogue(m_ctx.db(), m_ctx.dataRoot().imageFolder()).renameTemplate(t->CheckTypeID, answer,
                                                                                          &message))
            tell(QStringLiteral("重命名模板成功~"));
        else if (!message.isEmpty())
            tell(message);
    } catch (const TemplateError &e) {
        tell(QStringLiteral("重命名失败，错误=") + e.message(), QStringLiteral("错误"), AlertIcon::Error);
    }
    refresh();
}

void TfrmCheckTypeMng::deleteSelected()
{
    const QList<int> ids = selectedIds();
    if (ids.isEmpty())
        return;
    int n = 0;
    if (askYesNo(QStringLiteral("确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置为隐藏。"),
                 QStringLiteral("删除确认"))) {
        const TemplateCatalogue catalogue(m_ctx.db(), m_ctx.dataRoot().imageFolder());
        try {
            for (int id : ids) {
                const auto t = TCheckType::findById(m_ctx.db(), id);
                if (t && askYesNo(QStringLiteral("确认删除票据模板【") + t->TypeName + QStringLiteral("】吗？"),
                                  QStringLiteral("警告"), AlertIcon::Warning)
                    && catalogue.deleteTemplate(id))
                    ++n;
            }
        } catch (const TemplateError &) {
            tell(QStringLiteral("模板删除失败,中止！~"), QStringLiteral("错误"), AlertIcon::Error);
            refresh();
            return;
        }
    }
    tell(QStringLiteral("共删除 %1 个模板！").arg(n));
    refresh();
}

void TfrmCheckTypeMng::designTemplate()
{
    const int id = currentId();
    if (id <= 0) {
        tell(QStringLiteral("没有选中要设置的票据模版！"));
        return;
    }
    if (!openDesign) {
        tell(QStringLiteral("该功能将在后续版本提供"));
        return;
    }
    openDesign(id);
}

void TfrmCheckTypeMng::showMenu(const QPoint &pos)
{
    QMenu menu(this);
    fillMenu(menu);
    menu.exec(m_grid->viewport()->mapToGlobal(pos));
}

void TfrmCheckTypeMng::fillMenu(QMenu &menu)
{
    auto add = [&](const char *text, bool enabled, std::function<void()> run) {
        menu.addAction(QString::fromUtf8(text), this, run)->setEnabled(enabled);
    };
    const bool rows = m_model->rowCount() > 0;
    add("设为默认模板", m_default->isEnabled(), [this] { setDefault(); });
    add("设为常用模板", m_common->isEnabled(), [this] { setCommon(true); });
    add("上移常用", m_uncommon->isEnabled(), [this] { moveCommon(true); });
    add("下移常用", m_uncommon->isEnabled(), [this] { moveCommon(false); });
    add("移出常用模板", m_uncommon->isEnabled(), [this] { setCommon(false); });
    add("隐藏模板-停用", m_hide->isEnabled(), [this] { setSelectedEnabled(false); });
    add("启用模板-不隐藏", m_enable->isEnabled(), [this] { setSelectedEnabled(true); });
    add("克隆为新模板", rows, [this] { cloneTemplate(); });
    add("模板重命名", rows, [this] { renameTemplate(); });
    add("模板设计", m_hide->isEnabled() || !m_default->isEnabled(), [this] { designTemplate(); });
    add("导入模板", true, [this] {
        if (openImport)
            openImport();
        refresh();
    });
    add("删除选中模板", m_delete->isEnabled(), [this] { deleteSelected(); });
    add("刷新", true, [this] { refresh(); });
}

} // namespace billprint
