// The .xlsx reader on any bytes: never a crash, a leak or a hang.
// A zip is read as it is; any other input is the first sheet's XML of a
// workbook with two sheets and a shared string table (see sheet_harness.h).
#include "sheet_harness.h"

using namespace billprint;

namespace {

const QByteArray kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

fuzz::ZipEntries workbookAround(const QByteArray &sheetXml)
{
    const QByteArray workbook = "<workbook xmlns=\"" + kMain
                                + "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                                  "<bookViews><workbookView activeTab=\"0\"/></bookViews><sheets>"
                                  "<sheet name=\"收件人\" sheetId=\"1\" r:id=\"rId1\"/>"
                                  "<sheet name=\"Sheet2\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>";
    const QByteArray rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                            "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/>"
                            "<Relationship Id=\"rId2\" Target=\"/xl/worksheets/sheet2.xml\"/></Relationships>";
    const QByteArray shared = "<sst xmlns=\"" + kMain + "\"><si><t>张三</t></si><si><r><t>文三</t></r><r><t>路</t></r></si></sst>";
    const QByteArray styles = "<styleSheet xmlns=\"" + kMain
                              + "\"><cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>";
    const QByteArray second = "<worksheet xmlns=\"" + kMain
                              + "\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row></sheetData></worksheet>";
    return {{QStringLiteral("xl/workbook.xml"), workbook},
            {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
            {QStringLiteral("xl/sharedStrings.xml"), shared},
            {QStringLiteral("xl/styles.xml"), styles},
            {QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml},
            {QStringLiteral("xl/worksheets/sheet2.xml"), second}};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (fuzz::isZip(data, size))
        return fuzz::readEverySheet(openXlsxFile, QStringLiteral("input.xlsx"), data, size);
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    return fuzz::readEverySheetOf(openXlsxFile, fuzz::zipInput(QStringLiteral("input.xlsx"), workbookAround(xml)));
}
