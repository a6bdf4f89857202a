// `billprint print-sample`: the sample bill of every delivered template,
// printed to PDF by the program and read back with pdftotext. Every value
// must start where its template says, offsets included, and the characters
// of a digit-box field must sit one pitch apart.

#include "printing/print_renderer.h"
#include "printing/print_sample.h"
#include "recording_output.h"
#include "render_fixtures.h"
#include "render_pdf_words.h"
#include "templates/delivered_form_model.h"

#include <QFile>
#include <algorithm>
#include <map>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace billprint::test {
namespace {

// One piece of a value as the template places it.
struct Placement
{
    QString field;
    QString text;
    int x;  // tenths of a millimetre, offsets included, currency shift applied
    int y;
    int size;
    int leadIn;  // the one-line size: broken lines start where a one-line value would
    QString face;
};

// Where the sample bill of `type` puts its pieces, by the template's rows.
std::vector<Placement> placementsOf(const Database &db, const TCheckType &type, const QString &currencyCode,
                                    std::vector<std::vector<Placement>> *spreadFields)
{
    const QString family = type.getFirstName();
    SampleValueSource samples(db, type.CheckTypeID, family);
    const int cell = getCellsWidth(db, type.CheckTypeID, QStringLiteral("zdQY"), 35, QStringLiteral("zdBY"));
    std::vector<Placement> placements;
    for (const NameDict &item : NameDictStore(db).printItems(family)) {
        const QString kind = item.kind();
        if (kind != QLatin1String("TEXT") && kind != QLatin1String("LABEL") && kind != QLatin1String("CHECKBOX"))
            continue;
        const std::optional<CkControl> field = CkControlStore(db).find(type.CheckTypeID, item.CtlName);
        QString value = samples.value(item.CtlName);
        if (!field || value.trimmed().isEmpty())
            continue;
        value.replace(QLatin1Char('\n'), QStringLiteral("##"));
        const QStringList pieces = PrintRenderer::pieces(
            value, kind == QLatin1String("CHECKBOX") ? QString() : QStringLiteral("##"), field->charsPerLine());
        const int x = field->CtlX + type.XMove
                      + (pieces.size() == 1 ? PrintRenderer::currencyShift(value, currencyCode, cell) : 0);
        for (int k = 0; k < pieces.size(); ++k) {
            const int y = field->CtlY + type.YMove + k * field->printLineHeight();
            const int size = pieces.size() == 1 ? field->CtlFontSize : field->printBreakFontSize();
            if (!field->hasFitPitch()) {
                placements.push_back({item.CtlName, pieces.at(k), x, y, size, field->CtlFontSize, field->CtlFontName});
                continue;
            }
            std::vector<Placement> spread;
            const QString piece = pieces.at(k);
            for (int i = 0; i < piece.size(); ++i) {
                if (piece.at(i).isSpace())
                    continue;
                spread.push_back({item.CtlName, QString(piece.at(i)), x + i * field->FitParam.toInt(), y, size,
                                  field->CtlFontSize, field->CtlFontName});
            }
            placements.insert(placements.end(), spread.begin(), spread.end());
            if (spread.size() > 1 && spreadFields)
                spreadFields->push_back(spread);
        }
    }
    return placements;
}

// The first word of a piece as pdftotext cuts it.
QString firstToken(const QString &text)
{
    return text.trimmed().split(QRegularExpression(QStringLiteral("\\s+"))).value(0);
}

// The word where the placement starts: it begins at the expected x with
// the piece's first word, or (two neighbouring values that pdftotext joined
// into one word) it spans the expected x and holds the piece's first word.
const PdfWord *wordAt(const PdfPage &page, const Placement &p, double xMm)
{
    const QString token = firstToken(p.text);
    for (const PdfWord &w : page.words) {
        const bool yes = std::abs(cellTopMm(w, p.face, p.size) - p.y / 10.0) <= 0.3;
        if (!yes)
            continue;
        const double left = w.xMin / kPointsPerMm;
        const double right = w.xMax / kPointsPerMm;
        if (std::abs(left - xMm) <= 0.1 && readsAs(w.text.left(token.size()), token))
            return &w;
        if (left < xMm && xMm < right) {
            for (qsizetype at = 1; at + token.size() <= w.text.size(); ++at)
                if (readsAs(w.text.mid(at, token.size()), token))
                    return &w;
        }
    }
    return nullptr;
}

double expectedXMm(const Placement &p)
{
    return expectedX(p.x, p.leadIn, 600) * 25.4 / 600;
}

TEST(PrintSample, SampleValuesComeFromTheTemplateTheCatalogueOrTheLabel)
{
    RenderFixture f;
    f.addTemplate(931);
    f.addField(931, QStringLiteral("zdInit"), 100, 100, [](CkControl &c) { c.InitValue = QStringLiteral("初值"); });
    f.addField(931, QStringLiteral("zdData"), 100, 200);
    f.addField(931, QStringLiteral("zdLabel"), 100, 300);
    f.addField(931, QStringLiteral("zdHidden"), 100, 400, [](CkControl &c) { c.NeedShow = 0; });
    f.addField(931, QStringLiteral("DEFCHECK0"), 100, 500);
    f.addPrintItem(QStringLiteral("zdInit"), 1, QStringLiteral("TEXT"), kTestFamily, 1, QStringLiteral("样本"));
    f.addPrintItem(QStringLiteral("zdData"), 2, QStringLiteral("TEXT"), kTestFamily, 1, QStringLiteral("样本"));
    f.addPrintItem(QStringLiteral("zdLabel"), 3);
    f.addPrintItem(QStringLiteral("zdHidden"), 4, QStringLiteral("TEXT"), kTestFamily, 1, QStringLiteral("样本"));
    f.addPrintItem(QStringLiteral("DEFCHECK0"), 5, QStringLiteral("CHECKBOX"));
    f.addPrintItem(QStringLiteral("zdAbsent"), 6, QStringLiteral("TEXT"), kTestFamily, 1, QStringLiteral("样本"));

    SampleValueSource samples(f.db(), 931, kTestFamily);
    EXPECT_EQ(samples.value(QStringLiteral("zdinit")), QStringLiteral("初值"));
    EXPECT_EQ(samples.value(QStringLiteral("zdData")), QStringLiteral("样本"));
    EXPECT_EQ(samples.value(QStringLiteral("zdLabel")), QStringLiteral("zdLabel标签"));
    EXPECT_EQ(samples.value(QStringLiteral("zdHidden")), QString());
    EXPECT_EQ(samples.value(QStringLiteral("DEFCHECK0")), QStringLiteral("√"));
    EXPECT_EQ(samples.value(QStringLiteral("zdAbsent")), QString());
    EXPECT_EQ(samples.currencyCode(), QStringLiteral("￥"));

    RecordingOutput out;
    QString error;
    ASSERT_TRUE(printSampleBill(f.ctx(), 931, out, &error)) << error.toStdString();
    QStringList printed;
    for (const RecordedText &t : out.texts())
        printed << t.text;
    EXPECT_EQ(printed, (QStringList{QStringLiteral("初值"), QStringLiteral("样本"), QStringLiteral("zdLabel标签"),
                                    QStringLiteral("√")}));
    EXPECT_FALSE(printSampleBill(f.ctx(), 4242, out, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(PrintSample, EveryDeliveredTemplatePrintsEachValueOnItsPlace)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    TempDataRoot root;
    const Database &db = root.context().db();
    QSqlQuery q = db.prepare(QStringLiteral("select CheckTypeID from CKTypeTable order by CheckTypeID"));
    ASSERT_TRUE(q.exec());
    QList<int> ids;
    while (q.next())
        ids << q.value(0).toInt();
    if (ids.isEmpty())
        GTEST_SKIP() << "no delivered templates";
    const QString currency = SampleValueSource(db, ids.first(), QString()).currencyCode();

    // The whole-print offsets move every value.
    ASSERT_TRUE(db.exec(QStringLiteral("update CKTypeTable set XMove=25, YMove=-15 where CheckTypeID=?"), {ids.first()}));

    for (const int id : ids) {
        SCOPED_TRACE(id);
        const std::optional<TCheckType> type = TCheckType::findById(db, id);
        ASSERT_TRUE(type);
        const QString pdf = root.path() + QStringLiteral("/sample%1.pdf").arg(id);
        const ProgramResult run = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("print-sample"),
                                              QStringLiteral("--template"), QString::number(id),
                                              QStringLiteral("--pdf"), pdf});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

        const std::vector<PdfPage> pages = readPdfWords(pdf);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NEAR(pages[0].width / kPointsPerMm, type->PWidth / 10.0, 0.5);
        EXPECT_NEAR(pages[0].height / kPointsPerMm, type->PHeight / 10.0, 0.5);

        std::vector<std::vector<Placement>> spreadFields;
        const std::vector<Placement> placements = placementsOf(db, *type, currency, &spreadFields);
        EXPECT_GT(placements.size(), 5u);
        for (const Placement &p : placements) {
            const PdfWord *word = wordAt(pages[0], p, expectedXMm(p));
            EXPECT_TRUE(word) << p.field.toStdString() << " \"" << p.text.toStdString() << "\" expected at "
                              << expectedXMm(p) << " mm, " << p.y / 10.0 << " mm";
        }
        for (const std::vector<Placement> &spread : spreadFields) {
            for (size_t i = 1; i < spread.size(); ++i) {
                const PdfWord *previous = wordAt(pages[0], spread[i - 1], expectedXMm(spread[i - 1]));
                const PdfWord *next = wordAt(pages[0], spread[i], expectedXMm(spread[i]));
                if (!previous || !next || previous == next)
                    continue;  // reported above, or joined into one word
                EXPECT_NEAR((next->xMin - previous->xMin) / kPointsPerMm, (spread[i].x - spread[i - 1].x) / 10.0, 0.1)
                    << spread[i].field.toStdString();
            }
        }
    }
}

// Where the ink of a few sample values must begin on each delivered form,
// read off the forms' geometry: millimetres from the paper's corner.
TEST(PrintSample, DeliveredSamplesStartAtTheMillimetresOfTheirForms)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
    const struct
    {
        int id;
        const char *field;
        double xMm, yMm;
        int size;          // points the first line prints in
        double widthMm;    // of the whole word, 0: not checked
    } anchors[] = {
        {1, "zdOutBank", 165.5, 17.0, 10, 0},
        {1, "zdOutBankAcct", 165.5, 25.9, 10, 33.51},  // 19 digits of half an em at 10 pt
        {1, "cgInComp", 17.5, 50.7, 8, 0},             // broken into two lines of 8 pt
        {1, "zdRemark", 6.0, 25.5, 9, 0},
        {2, "zdInComp", 80.0, 25.0, 10, 0},
        {2, "zdJEDX", 79.0, 33.5, 11, 0},
        {2, "zdZFMM", 156.0, 46.9, 11, 31.04},        // 16 digits at 11 pt
        {3, "zdOutComp", 99.5, 17.8, 10, 0},
        {3, "zdJEDX", 99.8, 42.5, 11, 0},
        {3, "zdInBankAcct", 174.0, 26.5, 10, 33.51},
        {4, "zdInComp", 25.8, 17.8, 10, 0},
        {4, "zdInContactor", 142.8, 18.5, 10, 0},
        {5, "zdHKR", 24.5, 18.6, 11, 0},
        {5, "zdHkrDZ", 24.5, 39.6, 10, 0},
        {6, "zdSKR", 146.5, 18.6, 11, 0},
        {6, "zdWPNR", 18.5, 67.2, 10, 0},
    };
    TempDataRoot root;
    std::map<int, std::vector<PdfPage>> printed;
    for (const auto &a : anchors) {
        SCOPED_TRACE(QStringLiteral("template %1 %2").arg(a.id).arg(QLatin1String(a.field)).toStdString());
        if (!printed.count(a.id)) {
            const QString pdf = root.path() + QStringLiteral("/anchor%1.pdf").arg(a.id);
            const ProgramResult run = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("print-sample"),
                                                  QStringLiteral("--template"), QString::number(a.id),
                                                  QStringLiteral("--pdf"), pdf});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            printed[a.id] = readPdfWords(pdf);
            ASSERT_EQ(printed[a.id].size(), 1u);
        }
        const PdfWord *found = nullptr;
        for (const PdfWord &w : printed[a.id].front().words)
            if (std::abs(w.xMin / kPointsPerMm - a.xMm) <= 0.1
                && std::abs(cellTopMm(w, QStringLiteral("宋体"), a.size) - a.yMm) <= 0.3)
                found = &w;
        ASSERT_TRUE(found) << "no word starts at " << a.xMm << " mm, " << a.yMm << " mm";
        if (a.widthMm > 0)
            EXPECT_NEAR((found->xMax - found->xMin) / kPointsPerMm, a.widthMm, a.widthMm * 0.01);
    }
}

// Every value the delivered templates break into lines starts its first
// line at the left edge of its box, as a one-line value does.
TEST(PrintSample, BrokenValuesStartAtTheirBoxOnEveryDeliveredTemplate)
{
    TempDataRoot root;
    DeliveredFormSet set;
    QString error;
    ASSERT_TRUE(loadDeliveredForms(QStringLiteral(":/forms"), &set, &error)) << error.toStdString();
    for (const DeliveredTemplate &t : set.templates) {
        MapValueSource bill;
        QHash<QString, const DeliveredField *> broken;  // first line -> field
        char16_t ideograph = 0x4E00;
        for (const DeliveredField &field : t.fields) {
            const int n = field.breakNum.toInt();
            if (!field.show || n < 1)
                continue;
            const QChar c(++ideograph);
            bill.set(field.name, QString(n + 3, c));
            broken.insert(QString(n, c), &field);
        }
        RecordingOutput out;
        PrintRun run(root.context(), out, PrintFamily::forFamily(t.family));
        ASSERT_TRUE(run.printOne(bill, t.id, t.fullName()));
        int checked = 0;
        for (const RecordedText &text : out.texts()) {
            const DeliveredField *field = broken.value(text.text);
            if (!field)
                continue;
            ++checked;
            EXPECT_NEAR(text.baseline.x() * 25.4 / 600, field->box.x() / 10.0, 0.1)
                << "template " << t.id << " " << field->name.toStdString();
        }
        EXPECT_GE(checked, 3) << "template " << t.id;
    }
}

TEST(PrintSample, DeliveredTemplatesLandOnTheFormulaPositionsAt600And300Dpi)
{
    TempDataRoot root;
    AppContext &ctx = root.context();
    QSqlQuery q = ctx.db().prepare(QStringLiteral("select CheckTypeID from CKTypeTable order by CheckTypeID"));
    ASSERT_TRUE(q.exec());
    QList<int> ids;
    while (q.next())
        ids << q.value(0).toInt();
    if (ids.isEmpty())
        GTEST_SKIP() << "no delivered templates";
    ASSERT_TRUE(ctx.db().exec(QStringLiteral("update CKTypeTable set XMove=-40, YMove=12")));
    const QString currency = SampleValueSource(ctx.db(), ids.first(), QString()).currencyCode();

    for (const int dpi : {600, 300}) {
        for (const int id : ids) {
            SCOPED_TRACE(QStringLiteral("template %1 at %2 dpi").arg(id).arg(dpi).toStdString());
            const std::optional<TCheckType> type = TCheckType::findById(ctx.db(), id);
            ASSERT_TRUE(type);
            RecordingOutput out(dpi);
            QString error;
            ASSERT_TRUE(printSampleBill(ctx, id, out, &error)) << error.toStdString();

            std::vector<RecordedText> drawn;
            for (const RecordedText &t : out.texts())
                if (!t.text.trimmed().isEmpty())
                    drawn.push_back(t);
            const std::vector<Placement> placements = placementsOf(ctx.db(), *type, currency, nullptr);
            // Nothing else is printed: hidden fields and non-print items stay off the paper.
            EXPECT_EQ(drawn.size(), placements.size());
            for (const Placement &p : placements) {
                const bool found = std::any_of(drawn.begin(), drawn.end(), [&](const RecordedText &t) {
                    return t.text == p.text && t.baseline.x() == expectedX(p.x, p.leadIn, dpi)
                           && std::abs(t.baseline.y() - expectedBaseline(p.y, p.size, dpi)) < 1e-6
                           && t.font.pointSize() == effectivePointSize(p.size)
                           && t.font.family() == (t.text.at(0).unicode() < 0x80 ? kHalfWidthAsciiFace
                                                                                : resolvePrintFace(p.face));
                });
                EXPECT_TRUE(found) << p.field.toStdString() << " \"" << p.text.toStdString() << "\"";
            }
        }
    }
}

TEST(PrintSample, CommandLineMistakesGiveOneLineAndExitCode2)
{
    TempDataRoot root;
    const QString pdf = root.path() + QStringLiteral("/x.pdf");
    const auto errorLines = [](const ProgramResult &r) {
        QStringList lines;
        for (const QString &line : r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (line.startsWith(QStringLiteral("billprint print-sample: ")))
                lines << line;
        return lines;
    };
    const QList<QStringList> mistakes = {
        {QStringLiteral("print-sample"), QStringLiteral("--pdf"), pdf},
        {QStringLiteral("print-sample"), QStringLiteral("--template"), QStringLiteral("abc"), QStringLiteral("--pdf"), pdf},
        {QStringLiteral("print-sample"), QStringLiteral("--template"), QStringLiteral("1")},
        {QStringLiteral("print-sample"), QStringLiteral("--template"), QStringLiteral("1"), QStringLiteral("--pdf"), pdf,
         QStringLiteral("--printer"), QStringLiteral("p")},
        {QStringLiteral("print-sample"), QStringLiteral("--template"), QStringLiteral("4242"), QStringLiteral("--pdf"), pdf},
        {QStringLiteral("print-sample"), QStringLiteral("--template"), QStringLiteral("1"), QStringLiteral("--pdf"),
         root.path() + QStringLiteral("/no/such/dir/x.pdf")},
        {QStringLiteral("print-sample"), QStringLiteral("--template"), QStringLiteral("1"), QStringLiteral("--bogus")},
    };
    for (const QStringList &args : mistakes) {
        const ProgramResult r = runProgram(QStringList{QStringLiteral("--data"), root.path()} + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(errorLines(r).size(), 1) << r.err.toStdString();
    }
    const ProgramResult unknown = runProgram({QStringLiteral("--data"), root.path(), QStringLiteral("print-sample"),
                                              QStringLiteral("--template"), QStringLiteral("4242"),
                                              QStringLiteral("--pdf"), pdf});
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("4242")));
    EXPECT_FALSE(QFile::exists(pdf));

    // --data may also follow the command.
    const ProgramResult after = runProgram({QStringLiteral("print-sample"), QStringLiteral("--template"),
                                            QStringLiteral("4242"), QStringLiteral("--pdf"), pdf,
                                            QStringLiteral("--data"), root.path()});
    EXPECT_EQ(after.exitCode, 2);
    EXPECT_TRUE(after.err.contains(QStringLiteral("4242")));
}

} // namespace
} // namespace billprint::test
