// `billprint convert ...` for scripts.
#include "app/convert_command.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QIODevice>
#include <QTextStream>

#include <ostream>
#include <vector>

using namespace billprint;

namespace {

QString q(const char *utf8) { return QString::fromUtf8(utf8); }

struct ConvertRun {
    int code = -1;
    QByteArray out; // bytes as a script would read them
    QByteArray err;
};

ConvertRun convert(const QStringList &args)
{
    ConvertRun run;
    {
        QTextStream out(&run.out, QIODevice::WriteOnly);
        QTextStream err(&run.err, QIODevice::WriteOnly);
        run.code = runConvertCommand(args, out, err);
    }
    return run;
}

QStringList words(const std::vector<const char *> &list)
{
    QStringList result;
    for (const char *w : list)
        result << q(w);
    return result;
}

struct OkCase {
    std::vector<const char *> args;
    const char *out; // UTF-8, every line ended by "\n"
};

std::ostream &operator<<(std::ostream &os, const OkCase &c)
{
    for (const char *a : c.args)
        os << '[' << a << ']';
    return os;
}

class ConvertCommandTest : public ::testing::TestWithParam<OkCase> {};

TEST_P(ConvertCommandTest, PrintsOneResultAsUtf8)
{
    const ConvertRun run = convert(words(GetParam().args));
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray(GetParam().out));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Capitals, ConvertCommandTest,
    ::testing::Values(OkCase{{"capitals", "1001.01"}, "壹仟零壹元零壹分\n"},
                      OkCase{{"capitals", "0"}, "零元整\n"},
                      OkCase{{"capitals", "1.005"}, "壹元零壹分\n"},
                      OkCase{{"capitals", "1234567.895"}, "壹佰贰拾叁万肆仟伍佰陆拾柒元玖角整\n"},
                      OkCase{{"capitals", "--", "-56.3"}, "负伍拾陆元叁角整\n"},
                      OkCase{{"--", "capitals", "-56.3"}, "负伍拾陆元叁角整\n"},
                      OkCase{{"capitals", "-56.3"}, "负伍拾陆元叁角整\n"},
                      OkCase{{"capitals", "9999999999999.99"},
                             "玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分\n"}));

INSTANTIATE_TEST_SUITE_P(
    Digits, ConvertCommandTest,
    ::testing::Values(OkCase{{"digits", "123.45", "5", "0.00"}, "零零壹贰叁肆伍\n"},
                      OkCase{{"digits", "123.45", "5", "0"}, "零零壹贰叁\n"},
                      OkCase{{"digits", "9.5", "3", "0.0"}, "零零玖伍\n"},
                      OkCase{{"digits", "123456.7", "5", "0.00"}, "超出位数限制\n"},
                      OkCase{{"digits", "1,234.5", "4", "0.00"}, "壹贰叁肆伍零\n"},
                      OkCase{{"digits", "0", "5", "0.00"}, "零\n"},
                      OkCase{{"digits", "7", "2", ""}, "零柒零零\n"},
                      OkCase{{"digits", "--", "-7", "2", "0"}, "超出位数限制\n"}));

INSTANTIATE_TEST_SUITE_P(
    Date, ConvertCommandTest,
    ::testing::Values(OkCase{{"date", "2026"}, "贰零贰陆\n"}, OkCase{{"date", "08"}, "零捌\n"},
                      OkCase{{"date", "10"}, "零壹拾\n"}, OkCase{{"date", "31"}, "叁拾壹\n"},
                      OkCase{{"date", "00"}, "\n"}, OkCase{{"date", "32"}, "\n"}));

INSTANTIATE_TEST_SUITE_P(
    Normalize, ConvertCommandTest,
    ::testing::Values(OkCase{{"normalize", "１２，３４５．６元"}, "12345.6\n"},
                      OkCase{{"normalize", "--", " -8,000。5 "}, "-8000.5\n"},
                      OkCase{{"normalize", "人民币"}, "\n"}, OkCase{{"normalize", ""}, "\n"},
                      OkCase{{"normalize", "--", "--"}, "--\n"}));

INSTANTIATE_TEST_SUITE_P(
    Break, ConvertCommandTest,
    ::testing::Values(OkCase{{"break", "3", "ab中文字cd"}, "ab中文\n字cd\n"},
                      OkCase{{"break", "3", "一二三四五六七"}, "一二三\n四五六\n七\n"},
                      OkCase{{"break", "3", "abc"}, "abc\n"},
                      OkCase{{"break", "3", ""}, ""}));

struct ErrorCase {
    std::vector<const char *> args;
};

std::ostream &operator<<(std::ostream &os, const ErrorCase &c)
{
    for (const char *a : c.args)
        os << '[' << a << ']';
    return os;
}

class ConvertCommandErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ConvertCommandErrorTest, OneLineOnStderrAndExitTwo)
{
    const ConvertRun run = convert(words(GetParam().args));
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    ASSERT_TRUE(run.err.endsWith('\n')) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_GT(run.err.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Usage, ConvertCommandErrorTest,
    ::testing::Values(ErrorCase{{}}, ErrorCase{{"--"}}, ErrorCase{{"roman", "12"}},
                      ErrorCase{{"Capitals", "12"}}));

INSTANTIATE_TEST_SUITE_P(
    MissingOrExtra, ConvertCommandErrorTest,
    ::testing::Values(ErrorCase{{"capitals"}}, ErrorCase{{"capitals", "1", "2"}},
                      ErrorCase{{"digits", "1"}}, ErrorCase{{"digits", "1", "5"}},
                      ErrorCase{{"digits", "1", "5", "0", "x"}}, ErrorCase{{"date"}},
                      ErrorCase{{"normalize"}}, ErrorCase{{"normalize", "--"}},
                      ErrorCase{{"break", "3"}}, ErrorCase{{"break"}}));

INSTANTIATE_TEST_SUITE_P(
    NotNumeric, ConvertCommandErrorTest,
    ::testing::Values(ErrorCase{{"capitals", "abc"}}, ErrorCase{{"capitals", ""}},
                      ErrorCase{{"capitals", "1,234"}}, ErrorCase{{"capitals", "1.2.3"}},
                      ErrorCase{{"capitals", "１２"}},
                      ErrorCase{{"digits", "abc", "5", "0"}}, ErrorCase{{"digits", "1", "x", "0"}},
                      ErrorCase{{"digits", "1", "2.5", "0"}}, ErrorCase{{"digits", "1", "", "0"}},
                      ErrorCase{{"digits", "1", "99999999999", "0"}},
                      ErrorCase{{"digits", "1", "1001", "0"}},
                      ErrorCase{{"date", "ab"}}, ErrorCase{{"date", ""}}, ErrorCase{{"date", "20a6"}},
                      ErrorCase{{"break", "x", "abc"}}, ErrorCase{{"break", "0", "abc"}},
                      ErrorCase{{"break", "--", "-1", "abc"}}));

// Amounts the capitals cannot express are refused, not garbled.
INSTANTIATE_TEST_SUITE_P(
    OutOfRange, ConvertCommandErrorTest,
    ::testing::Values(ErrorCase{{"capitals", "10000000000000"}},
                      ErrorCase{{"capitals", "--", "-10000000000000"}},
                      ErrorCase{{"capitals", "1e20"}}));

TEST(ConvertCommandMessages, NameTheProblem)
{
    EXPECT_TRUE(convert(words({"capitals"})).err.contains("AMOUNT"));
    EXPECT_TRUE(convert(words({"break", "3"})).err.contains("TEXT"));
    EXPECT_TRUE(convert(words({"capitals", "10000000000000"})).err.contains("range"));
    EXPECT_TRUE(convert(words({"capitals", "abc"})).err.contains("abc"));
}

} // namespace
