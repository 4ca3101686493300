// quorzk-cli's usage: asked for, it is the output and the command succeeds; a command
// line it does not know is a usage error, told on standard error.
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString kCli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");

struct UsageCase {
    const char* name;
    QStringList args;
    int exitCode;
    bool onStdout; // the usage on standard output (else on standard error)
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.name;
}

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, GoesWhereItWasAskedFor)
{
    const UsageCase& c = GetParam();
    QProcess p;
    p.start(kCli, c.args);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), c.exitCode);
    const QByteArray out = p.readAllStandardOutput();
    const QByteArray err = p.readAllStandardError();
    const QByteArray& usage = c.onStdout ? out : err;
    EXPECT_TRUE(usage.contains("usage: quorzk-cli COMMAND [OPTIONS]\n")) << usage.toStdString();
    EXPECT_TRUE(usage.contains("  download --port PORT --output FILE.qrv [--verify] [--keep-partial]\n"));
    EXPECT_TRUE((c.onStdout ? err : out).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(CommandLines, CliUsage,
                         ::testing::Values(UsageCase{"help", {"help"}, 0, true},
                                           UsageCase{"long_option", {"--help"}, 0, true},
                                           UsageCase{"short_option", {"-h"}, 0, true},
                                           UsageCase{"after_a_command", {"download", "--help"}, 0, true},
                                           UsageCase{"unknown_command", {"fetch"}, 2, false},
                                           UsageCase{"no_command", {}, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
