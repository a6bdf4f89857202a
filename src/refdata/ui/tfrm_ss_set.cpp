#include "refdata/ui/tfrm_ss_set.h"
#include "app/ui/dialog_buttons.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "app/ui/window_state.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace billprint {

TfrmSsSet::TfrmSsSet(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_store(context.db())
{
    setObjectName(QStringLiteral("frmSsSet"));
    setWindowTitle(QStringLiteral("省市代码设置"));
    setModal(true);

    auto button = [this](const QString &name, const QString &text) { return namedButton(this, name, text); };

    m_cbProvince = new QComboBox(this);
    m_cbProvince->setObjectName(QStringLiteral("cbProvince"));
    m_cbProvince->setMaxVisibleItems(20);
    m_cbProvince->setMinimumWidth(180);
    auto *provinceRow = new QHBoxLayout;
    provinceRow->addWidget(new QLabel(QStringLiteral("省(直辖市)："), this));
    provinceRow->addWidget(m_cbProvince);
    provinceRow->addStretch();

    // Cities in two columns, row by row. Each item is as wide as its own
    // name (uniform sizes would take the first, short name's width for all
    // and cut the longer ones); the columns are as wide as the longest.
    m_lbCities = new QListWidget(this);
    m_lbCities->setObjectName(QStringLiteral("lbCities"));
    m_lbCities->setFlow(QListView::LeftToRight);
    m_lbCities->setWrapping(true);
    m_lbCities->setResizeMode(QListView::Adjust);
    m_lbCities->setTextElideMode(Qt::ElideNone);
    m_lbCities->viewport()->installEventFilter(this);

    m_lbChosen = new QLabel(this);
    m_lbChosen->setObjectName(QStringLiteral("lbChosen"));
    m_lbChosen->setStyleSheet(QStringLiteral("color: rgb(0,0,160); font-weight: bold;"));
    m_btAdd = button(QStringLiteral("btAdd"), QStringLiteral("添 加"));
    m_btDelete = button(QStringLiteral("btDelete"), QStringLiteral("删 除"));
    m_btModify = button(QStringLiteral("btModify"), QStringLiteral("修 改"));
    QPushButton *btExit = button(QStringLiteral("btExit"), QStringLiteral("退 出(&X)"));
    auto *side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("当前选中："), this));
    side->addWidget(m_lbChosen);
    side->addSpacing(12);
    for (QPushButton *b : {m_btAdd, m_btDelete, m_btModify})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(btExit);

    auto *cityColumn = new QVBoxLayout;
    cityColumn->addWidget(new QLabel(QStringLiteral("市(县)："), this));
    cityColumn->addWidget(m_lbCities, 1);
    auto *middle = new QHBoxLayout;
    middle->addLayout(cityColumn, 1);
    middle->addLayout(side);

    m_panel = new QGroupBox(this);
    m_panel->setObjectName(QStringLiteral("pnlEdit"));
    m_edtProvince = new QLineEdit(m_panel);
    m_edtProvince->setObjectName(QStringLiteral("edtProvince"));
    m_edtCity = new QLineEdit(m_panel);
    m_edtCity->setObjectName(QStringLiteral("edtCity"));
    QPushButton *btOk = button(QStringLiteral("btOk"), QStringLiteral("确 定"));
    QPushButton *btCancel = button(QStringLiteral("btCancel"), QStringLiteral("取 消"));
    btOk->setParent(m_panel);
    btCancel->setParent(m_panel);
    auto *panelForm = new QFormLayout;
    panelForm->addRow(QStringLiteral("输入省（直辖市）："), m_edtProvince);
    panelForm->addRow(QStringLiteral("输入新的市（县）："), m_edtCity);
    auto *panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(btOk);
    panelButtons->addWidget(btCancel);
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->addLayout(panelForm);
    panelLayout->addLayout(panelButtons);
    m_panel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(provinceRow);
    layout->addLayout(middle, 1);
    layout->addWidget(m_panel);
    resize(460, 420);

    connect(m_cbProvince, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { listCities(); });
    connect(m_lbCities, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        chooseCity(item->data(Qt::UserRole).toString());
    });
    connect(m_btAdd, &QPushButton::clicked, this, &TfrmSsSet::btAddClick);
    connect(m_btDelete, &QPushButton::clicked, this, &TfrmSsSet::btDeleteClick);
    connect(m_btModify, &QPushButton::clicked, this, &TfrmSsSet::btModifyClick);
    connect(btExit, &QPushButton::clicked, this, &QDialog::close);
    connect(btOk, &QPushButton::clicked, this, &TfrmSsSet::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmSsSet::btCancelClick);
}

void TfrmSsSet::InitFirstDM()
{
    QString error;
    const QStringList provinces = m_store.provinces(&error);
    if (!error.isEmpty()) {
        tell(QStringLiteral("读取省市代码失败！\n") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    {
        const QSignalBlocker blocker(m_cbProvince);
        m_cbProvince->clear();
        m_cbProvince->addItems(provinces);
        m_cbProvince->setCurrentIndex(provinces.isEmpty() ? -1 : 0);
    }
    listCities();
}

QString TfrmSsSet::currentProvince() const
{
    return m_cbProvince->currentIndex() < 0 ? QString() : m_cbProvince->currentText();
}

void TfrmSsSet::chooseProvince(const QString &province)
{
    const int index = m_cbProvince->findText(province);
    if (index >= 0)
        m_cbProvince->setCurrentIndex(index);
}

void TfrmSsSet::chooseCity(const QString &city)
{
    m_chosenCity = city;
    m_lbChosen->setText(city);
    for (int i = 0; i < m_lbCities->count(); ++i) {
        QListWidgetItem *item = m_lbCities->item(i);
        if (item->data(Qt::UserRole).toString() == city) {
            m_lbCities->setCurrentItem(item);
            break;
        }
    }
}

QStringList TfrmSsSet::listedCities() const
{
    QStringList cities;
    for (int i = 0; i < m_lbCities->count(); ++i)
        cities << m_lbCities->item(i)->data(Qt::UserRole).toString();
    return cities;
}

bool TfrmSsSet::editPanelOpen() const
{
    return m_mode != Mode::None;
}

void TfrmSsSet::listCities()
{
    m_lbCities->clear();
    m_chosenCity.clear();
    m_lbChosen->clear();
    const QString province = currentProvince();
    if (province.isEmpty())
        return;
    QString error;
    const QStringList cities = m_store.cities(province, &error);
    if (!error.isEmpty()) {
        tell(QStringLiteral("读取省市代码失败！\n") + error, QStringLiteral("错误"), AlertIcon::Error);
        return;
    }
    for (const QString &city : cities) {
        auto *item = new QListWidgetItem(QLatin1Char(' ') + city, m_lbCities);
        item->setData(Qt::UserRole, city);
    }
    fitCityColumns();
}

void TfrmSsSet::fitCityColumns()
{
    const QFontMetrics metrics = m_lbCities->fontMetrics();
    int widest = 40;
    for (int i = 0; i < m_lbCities->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(m_lbCities->item(i)->text()) + 12);
    // The list lays out as if a scroll bar took its room already.
    const int room = m_lbCities->viewport()->width() - m_lbCities->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int column = (room - 4) / 2;
    m_lbCities->setGridSize(QSize(std::max(column, widest), metrics.height() + 6));
}

void TfrmSsSet::openPanel(Mode mode, const QString &city)
{
    m_mode = mode;
    m_edtProvince->setText(currentProvince());
    // A rename changes the city only; the province stays the chosen one.
    m_edtProvince->setReadOnly(mode == Mode::Modify);
    m_edtProvince->setEnabled(mode != Mode::Modify);
    m_edtCity->setText(city);
    m_panel->setTitle(mode == Mode::Add ? QStringLiteral("添加市(县)") : QStringLiteral("修改市(县)：") + city);
    for (QWidget *w : {static_cast<QWidget *>(m_cbProvince), static_cast<QWidget *>(m_lbCities),
                       static_cast<QWidget *>(m_btAdd), static_cast<QWidget *>(m_btDelete),
                       static_cast<QWidget *>(m_btModify)})
        w->setEnabled(false);
    m_panel->show();
    (mode == Mode::Add && m_edtProvince->text().isEmpty() ? m_edtProvince : m_edtCity)->setFocus();
}

void TfrmSsSet::closePanel()
{
    m_mode = Mode::None;
    m_panel->hide();
    for (QWidget *w : {static_cast<QWidget *>(m_cbProvince), static_cast<QWidget *>(m_lbCities),
                       static_cast<QWidget *>(m_btAdd), static_cast<QWidget *>(m_btDelete),
                       static_cast<QWidget *>(m_btModify)})
        w->setEnabled(true);
}

void TfrmSsSet::report(const EditOutcome &outcome)
{
    tell(outcome.message, outcome.caption,
         outcome.status == EditOutcome::Status::Failed ? AlertIcon::Warning : AlertIcon::Information);
}

void TfrmSsSet::btAddClick()
{
    openPanel(Mode::Add, QString());
}

void TfrmSsSet::btModifyClick()
{
    if (m_chosenCity.isEmpty()) {
        tell(QStringLiteral("请先选中要修改的市(县)！"), QStringLiteral("提示"));
        return;
    }
    openPanel(Mode::Modify, m_chosenCity);
}

void TfrmSsSet::btCancelClick()
{
    closePanel();
}

void TfrmSsSet::btOkClick()
{
    const QString before = currentProvince();
    const EditOutcome outcome = m_mode == Mode::Add
        ? m_store.add(m_edtProvince->text(), m_edtCity->text())
        : m_store.modify(m_edtProvince->text(), m_chosenCity, m_edtCity->text());
    report(outcome);
    if (outcome.status == EditOutcome::Status::Refused) {
        // The panel stays open with what the user typed, to be corrected.
        (m_edtProvince->text().trimmed().isEmpty() && !m_edtProvince->isReadOnly() ? m_edtProvince : m_edtCity)
            ->setFocus();
        return;
    }
    const Mode mode = m_mode;
    closePanel();
    if (!outcome.ok())
        return;
    if (mode == Mode::Add) {
        InitFirstDM();  // the city may have made a new province
        chooseProvince(before);
    } else {
        listCities();
    }
}

void TfrmSsSet::btDeleteClick()
{
    const EditOutcome outcome = m_store.remove(currentProvince(), m_chosenCity);
    report(outcome);
    if (outcome.status != EditOutcome::Status::Refused)
        listCities();
}

void TfrmSsSet::showEvent(QShowEvent *event)
{
    if (!m_sizeRestored) {
        FormFaceLoad(m_ctx.config(), this);
        m_sizeRestored = true;
    }
    if (QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + 100);
    }
    closePanel();
    InitFirstDM();
    QDialog::showEvent(event);
}

void TfrmSsSet::done(int result)
{
    FormFaceSave(m_ctx.config(), this);
    QDialog::done(result);
}

bool TfrmSsSet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lbCities->viewport() && event->type() == QEvent::Resize)
        fitCityColumns();
    return QDialog::eventFilter(watched, event);
}

} // namespace billprint
