// quorzk-cli's usage: asked for, it is the output and the command succeeds; a command
// line it does not know is a usage error, told on standard error.
#include "cli_rig.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

struct UsageCase {
    const char* name;
    QStringList args;
    int exitCode;
    bool onStdout; // the text on standard output (else on standard error)
    QStringList says; // what the text holds
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.name;
}

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, GoesWhereItWasAskedFor)
{
    const UsageCase& c = GetParam();
    const CliRun r = cli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    const QString& text = c.onStdout ? r.out : r.err;
    for (const QString& part : c.says)
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in:\n" << text.toStdString();
    EXPECT_TRUE((c.onStdout ? r.err : r.out).isEmpty());
}

const QString kList = "usage: quorzk-cli COMMAND [OPTIONS]\n";
const QString kDownloadLine = "download [--port PORT] --output FILE.qrv [--verify] [--keep-partial]";
const QString kDownloadUsage = "usage: quorzk-cli download [--port PORT] --output FILE.qrv [--verify]\n";

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliUsage,
    ::testing::Values(
        UsageCase{"help", {"help"}, 0, true, {kList, kDownloadLine}},
        UsageCase{"long_option", {"--help"}, 0, true, {kList, kDownloadLine}},
        UsageCase{"short_option", {"-h"}, 0, true, {kList, kDownloadLine}},
        UsageCase{"after_a_command",
                  {"download", "--help"},
                  0,
                  true,
                  {kDownloadUsage, "\n  --keep-partial ", "\n  --trace FILE ", "\n  --version "}},
        UsageCase{"help_wins_over_an_error", {"download", "--bogus", "-h"}, 0, true, {kDownloadUsage}},
        UsageCase{"help_on_a_command",
                  {"help", "plot"},
                  0,
                  true,
                  {"usage: quorzk-cli plot FILE.qrv", "--size WxH"}},
        UsageCase{"version", {"--version"}, 0, true, {"quorzk-cli " QUORZK_VERSION "\n"}},
        UsageCase{
            "version_of_a_command", {"info", "--version"}, 0, true, {"quorzk-cli " QUORZK_VERSION "\n"}},
        UsageCase{"unknown_command", {"fetch"}, 2, false, {"quorzk-cli: unknown command 'fetch'\n", kList}},
        UsageCase{"no_command", {}, 2, false, {kList}}),
    [](const auto& info) { return std::string(info.param.name); });

// An option a command does not know, or one without its value: one line that names it and
// points to the command's help, and nothing runs.
TEST(CliUsage, AnUnknownOptionIsNamedInOneLine)
{
    QTemporaryDir dir;
    const QString trace = dir.filePath("t.txt");
    const struct {
        QStringList args;
        QString says;
    } cases[] = {
        {{"download", "--port", "sim", "--output", dir.filePath("x.qrv"), "--x", "--trace", trace},
         "quorzk-cli download: unknown option '--x'; see 'quorzk-cli download --help'\n"},
        {{"ping", "--port", "sim", "-q", "--trace", trace},
         "quorzk-cli ping: unknown option '-q'; see 'quorzk-cli ping --help'\n"},
        {{"ping", "--port", "sim", "--force=yes", "--trace", trace},
         "quorzk-cli ping: unknown option '--force'; see 'quorzk-cli ping --help'\n"},
        {{"info", "--verify", "x.qrv"},
         "quorzk-cli info: unknown option '--verify'; see 'quorzk-cli info --help'\n"},
        {{"status", "--trace", trace, "--port"},
         "quorzk-cli status: missing value after '--port'; see 'quorzk-cli status --help'\n"},
        {{"ping", "--port", "sim", "--trace", trace, "--pulse=1"},
         "quorzk-cli ping: unexpected value after '--pulse'; see 'quorzk-cli ping --help'\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.says);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(QFile::exists(trace)) << "no command ran";
}

// Every command answers --help with its own usage on standard output, its options listed.
TEST(CliUsage, EveryCommandHasItsHelp)
{
    for (const char* command : {"download", "ping", "status", "configure", "stop", "readings", "info",
                                "export", "plot", "dump", "hexdump"}) {
        const CliRun r = cli({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_TRUE(r.out.startsWith(QString("usage: quorzk-cli %1 ").arg(command))) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("\noptions:\n")) << command;
        EXPECT_TRUE(r.out.contains("\n  -h, --help ")) << command;
        EXPECT_EQ(r.err, "") << command;
        // Lines fit a terminal.
        for (const QString& line : r.out.split('\n'))
            EXPECT_LE(line.size(), 79) << command << ": " << line.toStdString();
    }
}

} // namespace
} // namespace qz::test
