// `billprint print-sample`: the sample bill of every delivered template,
// printed to PDF by the program and read back with pdftotext. Every value
// must start where its template says, offsets included, and the characters
// of a digit-box field must sit one pitch apart.

#include "bills/print_renderer.h"
#include "bills/print_sample.h"
#include "recording_output.h"
#include "render_fixtures.h"
#include "render_pdf_words.h"

#include <QFile>
#include <algorithm>
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
                placements.push_back({item.CtlName, pieces.at(k), x, y, size, field->CtlFontName});
                continue;
            }
            std::vector<Placement> spread;
            const QString piece = pieces.at(k);
            for (int i = 0; i < piece.size(); ++i) {
                if (piece.at(i).isSpace())
                    continue;
                spread.push_back({item.CtlName, QString(piece.at(i)), x + i * field->FitParam.toInt(), y, size,
                                  field->CtlFontName});
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
    return expectedX(p.x, p.size, 600) * 25.4 / 600;
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
                    return t.text == p.text && t.baseline.x() == expectedX(p.x, p.size, dpi)
                           && std::abs(t.baseline.y() - expectedBaseline(p.y, p.size, dpi)) < 1e-6
                           && t.font.pointSize() == effectivePointSize(p.size)
                           && t.font.family() == resolvePrintFace(p.face);
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
            if (line.startsWith(QStringLiteral("billprint:")))
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
