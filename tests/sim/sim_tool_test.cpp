// quorzk-sim as a serial device: the test opens the pseudo-terminal it prints with plain
// termios and exchanges frames through it. Waits here are only guards against a server
// that does not answer; the exchange itself takes microseconds.
#include <QProcess>
#include <QSet>
#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

QString simProgram()
{
    return QStringLiteral(QUORZK_BINARY_DIR "/quorzk-sim");
}

class SimServer {
public:
    explicit SimServer(const QStringList& args)
    {
        process.start(simProgram(), args);
        if (!process.waitForStarted(10000))
            return;
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~SimServer()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QProcess process;
    QString path;
};

int openRaw(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B19200);
    ::cfsetospeed(&t, B19200);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Reads count bytes, giving up after a generous guard time.
Bytes readBytes(int fd, std::size_t count)
{
    Bytes got;
    while (got.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            break;
        std::uint8_t buf[300];
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, count - got.size()));
        if (n <= 0)
            break;
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

// Sends a frame as the PC does, one byte after the echo of the previous one; returns the
// echoes followed by a reply of replyLength bytes.
Bytes exchange(int fd, const Bytes& frame, std::size_t replyLength)
{
    Bytes got;
    for (std::uint8_t b : frame) {
        if (::write(fd, &b, 1) != 1)
            return got;
        const Bytes echo = readBytes(fd, 1);
        got.insert(got.end(), echo.begin(), echo.end());
    }
    const Bytes reply = readBytes(fd, replyLength);
    got.insert(got.end(), reply.begin(), reply.end());
    return got;
}

bool checksumMatches(const Bytes& reply)
{
    if (reply.size() < 2)
        return false;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 2 < reply.size(); ++i)
        sum += reply[i];
    return (sum & 0xFFFF) == (reply[reply.size() - 2] | unsigned(reply.back()) << 8);
}

TEST(SimToolTest, HelpDocumentsTheOptions)
{
    QProcess p;
    p.start(simProgram(), {"--help"});
    ASSERT_TRUE(p.waitForFinished(10000));
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* option :
         {"--model",       "--memory", "--blocks",      "--inputs",   "--paced",
          "--speed",       "--fault",  "--byte-errors", "--silent",   "--modem",
          "--dial-result", "--rings",  "--dial-ms",     "--guard-ms", "--result-pieces-ms",
          "--slow-echoes", "--clock",  "--fleet",       "--serial",   "--running"})
        EXPECT_TRUE(help.contains(option)) << option;
    EXPECT_EQ(p.exitCode(), 0);
}

TEST(SimToolTest, RefusesABadOptionWithAMessage)
{
    QProcess p;
    p.start(simProgram(), {"--memory", "full"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("--memory"));
}

TEST(SimToolTest, ServesFramesOnAPseudoTerminalAcrossReopening)
{
    SimServer sim({"--model", "101", "--memory", "linear"});
    ASSERT_TRUE(sim.path.startsWith("/dev/")) << sim.path.toStdString();

    for (int round = 0; round < 2; ++round) {
        const int fd = openRaw(sim.path);
        ASSERT_GE(fd, 0) << "round " << round;
        const Bytes clockFrame = {'$', '#', '$', 'E'};
        const Bytes got = exchange(fd, clockFrame, 18);
        ASSERT_EQ(got.size(), 22u) << "round " << round;
        EXPECT_EQ(Bytes(got.begin(), got.begin() + 4), clockFrame) << "echo, no CR/LF change";
        EXPECT_TRUE(checksumMatches(Bytes(got.begin() + 4, got.end())));

        const Bytes identFrame = {'$', '#', '$', 'D', 0x00, 0x00, 0x08};
        const Bytes ident = exchange(fd, identFrame, 10);
        ASSERT_EQ(ident.size(), 17u);
        EXPECT_EQ(ident[7 + 6], 101) << "device code, low byte";
        EXPECT_TRUE(checksumMatches(Bytes(ident.begin() + 7, ident.end())));
        ::close(fd);
    }

    sim.process.terminate(); // SIGTERM
    ASSERT_TRUE(sim.process.waitForFinished(10000));
    EXPECT_EQ(sim.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.process.exitCode(), 0);
}

TEST(SimToolTest, FaultsFromTheCommandLine)
{
    SimServer sim({"--fault", "bad-checksum,frame=0"});
    ASSERT_FALSE(sim.path.isEmpty());
    const int fd = openRaw(sim.path);
    ASSERT_GE(fd, 0);
    const Bytes frame = {'$', '#', '$', 'E'};
    const Bytes first = exchange(fd, frame, 18);
    ASSERT_EQ(first.size(), 22u);
    EXPECT_FALSE(checksumMatches(Bytes(first.begin() + 4, first.end())));
    const Bytes second = exchange(fd, frame, 18);
    ASSERT_EQ(second.size(), 22u);
    EXPECT_TRUE(checksumMatches(Bytes(second.begin() + 4, second.end())));
    ::close(fd);
}

// A fleet: one pseudo-terminal per logger, each logger with its own serial number, and the
// memory of a running logger on a fast clock grows while it is served.
TEST(SimToolTest, AFleetServesEachLoggerOnItsOwnPseudoTerminal)
{
    QProcess p;
    p.start(simProgram(), {"--fleet", "3", "--model", "485", "--running", "--speed", "86400"});
    ASSERT_TRUE(p.waitForStarted(10000));
    QStringList paths;
    while (paths.size() < 3 && (p.canReadLine() || p.waitForReadyRead(10000)))
        while (p.canReadLine())
            paths << QString::fromLocal8Bit(p.readLine()).trimmed();
    ASSERT_EQ(paths.size(), 3);
    EXPECT_EQ(QSet<QString>(paths.begin(), paths.end()).size(), 3);
    const Bytes identFrame = {'$', '#', '$', 'D', 0x00, 0x00, 0x08};
    const Bytes clockFrame = {'$', '#', '$', 'E'};
    for (int i = 0; i < 3; ++i) {
        const int fd = openRaw(paths[i]);
        ASSERT_GE(fd, 0);
        const Bytes ident = exchange(fd, identFrame, 10);
        ASSERT_EQ(ident.size(), 17u);
        EXPECT_EQ(std::string(ident.begin() + 9, ident.begin() + 13), "SIM" + std::to_string(i));
        // A day of the logger's time passes in a second: its clock moves on between two reads.
        const Bytes before = exchange(fd, clockFrame, 18);
        const Bytes after = exchange(fd, clockFrame, 18);
        ASSERT_EQ(after.size(), 22u);
        EXPECT_NE(Bytes(before.begin() + 5, before.begin() + 10),
                  Bytes(after.begin() + 5, after.begin() + 10));
        ::close(fd);
    }
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(10000));
}

} // namespace
