// The main window's work area: the background picture (or colour strip)
// behind the bill windows, the side panel of the online service and the
// first-use text laid over the work area.
#include "shell/ui/tfm_main.h"

#include "app/app_context.h"
#include "app/system_pictures.h"
#include "app/system_settings.h"

#include <QEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace billprint {

// The client area behind the bill windows: the background picture
// stretched over it, or the colour strip when the picture is switched off.
class BackgroundArea : public QMdiArea
{
public:
    explicit BackgroundArea(QWidget *parent) : QMdiArea(parent)
    {
        setObjectName(QStringLiteral("bgImage"));
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    void setPicture(const QImage &picture)
    {
        m_picture = picture;
        viewport()->update();
    }
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(viewport());
        const QRect target = viewport()->rect();
        if (!m_picture.isNull()) {
            p.drawImage(target, m_picture);
            return;
        }
        // The strip's full width; its height up to the window's for short
        // windows, else the whole strip.
        const QImage &strip = colourStripPicture();
        const int sourceHeight = target.height() < 851 ? std::min(target.height(), strip.height())
                                                       : strip.height();
        p.drawImage(target, strip, QRect(0, 0, strip.width(), std::max(1, sourceHeight)));
    }

private:
    QImage m_picture;
};

QMdiArea *Tfm_Main::mdiArea() const { return m_area; }

void Tfm_Main::buildCentralArea()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    m_area = new BackgroundArea(central);
    m_area->viewport()->installEventFilter(this);
    m_area->viewport()->setContextMenuPolicy(Qt::DefaultContextMenu);
    buildFirstUseText(central);
    buildSidePanel(central);

    row->addWidget(m_area, 1);
    row->addWidget(m_sidePanel);
    setCentralWidget(central);
}

void Tfm_Main::buildFirstUseText(QWidget *central)
{
    // The first-use text is laid over the work area when shown, outside
    // the layout, so the work area keeps its size.
    m_firstUse = new QPlainTextEdit(central);
    m_firstUse->setObjectName(QStringLiteral("MemoFirstRead"));
    m_firstUse->setReadOnly(true);
    m_firstUse->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_firstUse->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont(QStringLiteral("宋体"));
    memoFont.setPixelSize(15);
    m_firstUse->setFont(memoFont);
    m_firstUse->setPlainText(firstUseLines().join(QLatin1Char('\n')));
    m_firstUse->viewport()->installEventFilter(this);
    m_firstUse->hide();
}

void Tfm_Main::buildSidePanel(QWidget *central)
{
    m_sidePanel = new QWidget(central);
    m_sidePanel->setObjectName(QStringLiteral("panalAd"));
    m_sidePanel->setFixedWidth(130);
    m_sidePanel->setAutoFillBackground(true);
    QPalette sidePal = m_sidePanel->palette();
    sidePal.setColor(QPalette::Window, QColor(236, 241, 255));
    m_sidePanel->setPalette(sidePal);
    auto *side = new QVBoxLayout(m_sidePanel);
    side->setContentsMargins(6, 6, 6, 6);
    auto *header = new QHBoxLayout;
    auto *headerLabel = new QLabel(QStringLiteral("在线服务中心"), m_sidePanel);
    headerLabel->setStyleSheet(QStringLiteral("font-weight: bold; color: rgb(40,70,150);"));
    auto *hideLink = new QLabel(QStringLiteral("<a href=\"hide\">[隐藏]</a>"), m_sidePanel);
    connect(hideLink, &QLabel::linkActivated, this, [this] { m_sidePanel->hide(); });
    header->addWidget(headerLabel);
    header->addStretch();
    header->addWidget(hideLink);
    side->addLayout(header);
    m_sideLabel = new QLabel(m_sidePanel);
    m_sideLabel->setObjectName(QStringLiteral("lbAd"));
    m_sideLabel->setWordWrap(true);
    m_sideLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sideLabel->setCursor(Qt::PointingHandCursor);
    m_sideLabel->installEventFilter(this);
    side->addWidget(m_sideLabel, 1);
}

void Tfm_Main::InitBackGround(bool pictureOn)
{
    if (pictureOn) {
        const QImage picture(m_ctx.dataRoot().imageFolder() + QStringLiteral("sys_bg.jpg"));
        if (picture.isNull()) {
            m_sideLabel->setText(sidePanelLabelText());
            m_area->setPicture(QImage());
            return;
        }
        m_area->setPicture(picture);
    } else {
        m_area->setPicture(QImage());
    }
    m_area->viewport()->update();
}

bool Tfm_Main::backgroundPictureShown() const
{
    return m_area->hasPicture() && m_area->isVisible() && m_firstUse->isHidden();
}

void Tfm_Main::toggleFirstUseText()
{
    // The text covers the work area while shown; the bill windows stay
    // open behind it and come back when it is toggled off.
    if (m_firstUse->isHidden()) {
        m_firstUse->setGeometry(m_area->geometry());
        m_firstUse->show();
        m_firstUse->raise();
    } else {
        m_firstUse->hide();
        m_sidePanel->show();
    }
    m_area->viewport()->update();
}

void Tfm_Main::toggleSidePanel()
{
    m_sidePanel->setVisible(m_sidePanel->isHidden());
}

QString Tfm_Main::sidePanelLabelText()
{
    QStringList lines;
    lines << QStringLiteral("连线") + m_ctx.getBrandName() + QStringLiteral("在线客服..")
          << QStringLiteral("QQ：800000000") << QStringLiteral("电话：400-000-0000")
          << QString() << QStringLiteral(">>支票/进账单打印") << QStringLiteral(">>快递单/发货单打印")
          << QStringLiteral(">>发票/承兑汇票打印") << QStringLiteral(">>各种打印定制...");
    return lines.join(QLatin1Char('\n'));
}

QStringList Tfm_Main::firstUseLines()
{
    return {
        QStringLiteral("  第一次使用软件【3步走】："),
        QStringLiteral("  1、【固定打印机的挡板位置】（例如Epson630/635k在15mm），不提倡经常移动挡板；"),
        QStringLiteral("     （挡板若不移动，很多情况下，支票等大于A4宽幅票据的右侧会有部分项目打印不出来）；"),
        QString(),
        QStringLiteral("  2、【整体偏移校准】打印一张票据，调节所用票据的【整体偏移】参数让打印对准位置。"),
        QStringLiteral("     进入整体偏移，根据打印效果设定偏移参数:"),
        QStringLiteral("     (例如：Epson630k、635k,挡板15mm,整体打印右移：-160,下移:0,纵向"),
        QStringLiteral("            Epson730k,挡板20mm,整体打印右移：-160,下移:0,纵向)"),
        QStringLiteral("     根据打印效果需要，点击左侧的上下左右按钮，1下代表1毫米,点击\"保存整体设置\"按钮。"),
        QString(),
        QStringLiteral("  3、【锁定快递打印机】。进入打印设置-锁定匹配票据打印机，选择要用的针式打印机，点击\"锁定为票据打印机\"。"),
        QString(),
        QStringLiteral("  【使用技巧】："),
        QStringLiteral("  1、【设定单项】每一个项目（如：收款单位全称、联系人、地址等）都可以再调节（打印位置、字体、字体大小、换行及行距等），"),
        QStringLiteral("     进入【设计模式】-选中要的项目。在上方修改其属性即可。如果需要移动时同时修改打印位置。请记住要勾选\"移动显示位置同时修改打印位置\"。"),
        QString(),
        QStringLiteral("  2、【选取收款人或收件人】单击票据填写界面中的左右两空个红色空心方框可以选择收款人或收件人[双击选取]；"),
        QString(),
        QStringLiteral("  3、【下拉项管理】用途、物品内容、发件人签名、目的站、备注等常用项可在\"字典管理\"中添、删、改；"),
        QString(),
        QStringLiteral("  4、【隐藏永久不要的项目】进入设计模式，点中不要的项目，在上方勾选“不填写不打印该项目”，（取消隐藏：左侧列表找到它，取消不打印勾选即可）；"),
        QString(),
        QStringLiteral("  5、【基于保存过的票据再开票】。先打开历史票据，点击\"复制\"按钮，再行保存（否则会覆盖前面保存的数据）。"),
        QString(),
        QStringLiteral("  6、快递单的【批量打印】、【地址串智能识别】、Excel导入导出，请查看手册的相关章节。"),
        QString(),
        QStringLiteral("  客服电话：400-000-0000　　客服QQ：800000000"),
        QString(),
        QStringLiteral("====================================================【双击我关闭本提示】==================================================="),
    };
}

void Tfm_Main::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_firstUse && m_firstUse->isVisible())
        toggleFirstUseText();
    if (m_area)
        m_area->viewport()->update();
}

bool Tfm_Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area->viewport() && event->type() == QEvent::ContextMenu) {
        m_backgroundMenu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    if (m_firstUse && watched == m_firstUse->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        toggleFirstUseText();
        return true;
    }
    if (watched == m_sideLabel && event->type() == QEvent::MouseButtonPress) {
        runCommand(QStringLiteral("产品网站"));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace billprint
