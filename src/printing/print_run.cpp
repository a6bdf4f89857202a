#include "printing/print_run.h"

#include "app/alert.h"
#include "app/app_context.h"
#include "printing/print_renderer.h"
#include "templates/check_type.h"
#include "templates/ck_control.h"
#include "templates/name_dict.h"
#include "templates/template_error.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace billprint {

namespace {

const QString kCaption = QStringLiteral("提示");
const QString kSeparator = QStringLiteral("##");

// Qt's PDF engine (PDF files, and the printers, which are fed PDF) takes two
// fresh 10 MB buffers to compress every page. The C library would map each
// from the system and hand it back at once, and touching the new pages
// costs more than drawing the page. Blocks of that size are kept in the
// heap for reuse instead; a document's memory stays flat either way.
void keepPageBuffersForReuse()
{
#ifdef __GLIBC__
    static const bool once = [] {
        mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
        return true;
    }();
    Q_UNUSED(once)
#endif
}

// Paper of a template whose size was never set (the offset window's defaults).
constexpr int kDefaultPaperWidth = 2300;
constexpr int kDefaultPaperHeight = 1270;

} // namespace

PrintFamily PrintFamily::forFamily(const QString &family)
{
    PrintFamily f;
    f.family = family;
    if (family == QStringLiteral("快递单")) {
        f.noTemplateMessage = QStringLiteral("请选择快递单的类型!");
        f.titled = false;
        f.maxCopies = 50;
    } else {
        f.noTemplateMessage = QStringLiteral("请选择") + family + QStringLiteral("模板的类型!");
    }
    return f;
}

bool requireInstalledPrinter(const AppContext &context)
{
    if (!context.printerNames.isEmpty())
        return true;
    tell(QStringLiteral("你需要安装打印机才能打印！"), QStringLiteral("错误"), AlertIcon::Error);
    return false;
}

PrintRun::PrintRun(AppContext &context, PrintOutput &output, PrintFamily family)
    : m_ctx(context), m_output(output), m_family(std::move(family))
{
}

PrintRun::~PrintRun()
{
    // A run left open (an exception in the window, a closed window) must not
    // leave half a document behind.
    if (m_output.isActive())
        AbortPrint();
}

bool PrintRun::ready() const
{
    return m_ctx.printReady;
}

void PrintRun::fail(const QString &message)
{
    m_ctx.printReady = false;
    tell(message, kCaption);
}

void PrintRun::printerError(const QString &detail)
{
    m_ctx.printReady = false;
    m_renderer.reset();
    m_output.abort();
    QString message = failureMessage();
    if (!detail.isEmpty())
        message += QLatin1Char('\n') + detail;
    tell(message, kCaption);
}

QString PrintRun::failureMessage() const
{
    // A file that cannot be written is no reason to check the printer.
    return m_output.isPrinter() ? QStringLiteral("打印出错，请检查打印机是否可用！")
                                : QStringLiteral("输出文件出错，没有写入！");
}

bool PrintRun::checkPrinterInstalled() const
{
    return !m_output.isPrinter() || requireInstalledPrinter(m_ctx);
}

bool PrintRun::PrintPrepare(int checkTypeId, const QString &templateListText)
{
    m_ctx.printReady = false;
    m_checkTypeId = checkTypeId;
    m_templateText = templateListText;
    if (!checkPrinterInstalled())
        return false;
    if (templateListText.trimmed().isEmpty()) {
        if (showTemplateList)
            showTemplateList();
        fail(m_family.noTemplateMessage);
        return false;
    }

    QString error;
    const std::optional<TCheckType> type = TCheckType::findById(m_ctx.db(), checkTypeId, &error);
    if (!type) {
        fail(error.isEmpty()
                 ? QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！")
                 : QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"));
        return false;
    }
    m_xMove = type->XMove;
    m_yMove = type->YMove;

    m_page.landscape = getHXPaperIn(m_ctx.db(), checkTypeId).trimmed() == QLatin1String("1");
    m_page.paper = QSize(type->PWidth > 0 ? type->PWidth : kDefaultPaperWidth,
                         type->PHeight > 0 ? type->PHeight : kDefaultPaperHeight);
    if (!m_output.setUp(m_page, &error)) {
        printerError(error);
        return false;
    }
    m_ctx.printReady = true;
    if (m_ctx.popPrinterDialog) {
        const bool confirmed = printerDialog ? printerDialog() : m_output.runSetupDialog();
        if (!confirmed)
            m_ctx.printReady = false;
    }
    return m_ctx.printReady;
}

void PrintRun::PrinterTransBegin(int copies)
{
    if (!ready())
        return;
    int count = copies < 2 ? 1 : copies;
    if (m_family.maxCopies > 0)
        count = qMin(count, m_family.maxCopies);
    const QString title = m_family.titled ? QStringLiteral("禾朔打印-") + m_templateText : QString();
    QString error;
    if (!m_output.begin(title, count, &error)) {
        printerError(error);
        return;
    }
    keepPageBuffersForReuse();
    m_renderer = std::make_unique<PrintRenderer>(m_ctx, *m_output.painter(), m_output.metrics());
    m_areaAsked = false;
    // Nothing edits a template while its bills print, so its fields and the
    // family's print items are read once per document, not once per field.
    m_items.reset();
    m_cellWidth.reset();
    try {
        m_renderer->useFields(m_checkTypeId, CkControlStore(m_ctx.db()).loadAll(m_checkTypeId));
    } catch (const TemplateError &) {
        // Each field is then looked up on its own and reports its failure.
    }
}

void PrintRun::SendCheckToPrinter(FieldValueSource &source)
{
    source.beforeSend();
    m_failedItems = 0;
    if (!ready())
        return;
    if (!m_renderer) {
        printerError(QStringLiteral("打印文档没有开始"));
        return;
    }
    m_ctx.currencySymbol = source.currencyCode();
    if (!m_cellWidth)
        m_cellWidth = getCellsWidth(m_ctx.db(), m_checkTypeId, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY"));
    m_ctx.digitCellWidth = *m_cellWidth;

    if (!m_items) {
        try {
            m_items = NameDictStore(m_ctx.db()).printItems(m_family.family);
        } catch (const TemplateError &e) {
            tell(QStringLiteral("读取打印项目出错！") + e.message(), kCaption, AlertIcon::Error);
            return;
        }
    }
    const std::vector<ItemValue> values = itemValues(source);
    if (!confirmPrintableArea(values)) {
        AbortPrint();
        return;
    }
    for (const ItemValue &v : values)
        if (!m_renderer->printItemValue(m_checkTypeId, m_xMove, v.separator, v.value, v.name, m_yMove))
            ++m_failedItems;
}

std::vector<PrintRun::ItemValue> PrintRun::itemValues(FieldValueSource &source) const
{
    std::vector<ItemValue> values;
    for (const NameDict &item : *m_items) {
        const QString kind = item.kind();
        const bool asText = kind == QLatin1String("TEXT") || kind == QLatin1String("LABEL");
        const bool asBox = kind == QLatin1String("CHECKBOX");
        if ((!asText && !asBox) || source.skipPrintItem(item.CtlName))
            continue;
        QString value = source.value(item.CtlName);
        if (asText) {
            // Lines of a multi-line box print as the template's lines.
            value.remove(QLatin1Char('\r'));
            value.replace(QLatin1Char('\n'), kSeparator);
        }
        values.push_back({item.CtlName, item.CtlLabel.trimmed().isEmpty() ? item.CtlName : item.CtlLabel.trimmed(),
                          value, asText ? kSeparator : QString()});
    }
    return values;
}

bool PrintRun::confirmPrintableArea(const std::vector<ItemValue> &values)
{
    const QRectF area = m_output.printableArea();
    const bool marking = m_output.marksValuesOutsidePrintableArea();
    if (area.isNull() || (m_areaAsked && !marking))
        return true;
    const PrintDeviceMetrics m = m_output.metrics();
    const auto toMm = [&m](const QRectF &box) {
        return QRectF(box.x() * 25.4 / m.dpiX, (box.y() + m.physicalTop) * 25.4 / m.dpiY,
                      box.width() * 25.4 / m.dpiX, box.height() * 25.4 / m.dpiY);
    };
    QStringList outside;
    for (const ItemValue &v : values) {
        std::vector<PlacedText> placed;
        // A value that cannot be placed is told when it is printed.
        if (!m_renderer->placeItemValue(m_checkTypeId, m_xMove, v.separator, v.value, v.name, m_yMove, &placed))
            continue;
        bool told = false;
        for (const PlacedText &piece : placed) {
            const QRectF box = m_renderer->extent(piece);
            if (area.contains(toMm(box)))
                continue;
            if (marking)
                m_output.markOutsidePrintableArea(box, v.label);
            if (!told)
                outside << v.label;
            told = true;
        }
    }
    if (outside.isEmpty() || marking)
        return true;
    m_areaAsked = true;
    return askYesNo(QStringLiteral("以下项目超出了打印机的可打印区域，打印出来会不完整：\n")
                        + outside.join(QStringLiteral("、")) + QStringLiteral("\n仍然打印吗？"),
                    kCaption, AlertIcon::Warning);
}

void PrintRun::NewCheckPage()
{
    if (!ready())
        return;
    QString error;
    if (!m_output.newPage(&error))
        printerError(error);
}

bool PrintRun::PrinterTransEnd()
{
    if (!ready())
        return false;
    m_renderer.reset();
    m_ctx.printReady = false;
    QString error;
    if (m_output.end(&error))
        return true;
    QString message = failureMessage();
    if (!error.isEmpty())
        message += QLatin1Char('\n') + error;
    tell(message, kCaption);
    return false;
}

void PrintRun::AbortPrint()
{
    m_renderer.reset();
    m_output.abort();
    m_ctx.printReady = false;
}

bool PrintRun::printOne(FieldValueSource &source, int checkTypeId, const QString &templateListText)
{
    return printRepeated(source, checkTypeId, templateListText, 1);
}

bool PrintRun::printRepeated(FieldValueSource &source, int checkTypeId, const QString &templateListText,
                             int count)
{
    PrintPrepare(checkTypeId, templateListText);
    PrinterTransBegin(1);
    for (int i = 0; i < count; ++i) {
        SendCheckToPrinter(source);
        if (i + 1 < count)
            NewCheckPage();
    }
    return PrinterTransEnd();
}

int PrintRun::printRepeatedFromAnswer(FieldValueSource &source, int checkTypeId,
                                      const QString &templateListText, const QString &answer)
{
    const QString text = answer.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1) {
        tell(QStringLiteral("输入错误的数字！"), kCaption);
        return 0;
    }
    return printRepeated(source, checkTypeId, templateListText, count) ? count : 0;
}

} // namespace billprint
