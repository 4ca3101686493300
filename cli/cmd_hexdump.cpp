// quorzk-cli hexdump: memory as the service panel shows it, sixteen bytes a line, from a
// recording file (image addresses, past its 8-byte signature) or from a logger (its
// 16-bit addresses, read 128 bytes at a time), and the logger's clock record.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/memory_job.h"
#include "model/memory_image.h"
#include "support_tools/dump_address.h"
#include "support_tools/hex_lines.h"
#include "support_tools/memory_reads.h"

#include <QTextStream>

namespace qz::cli {

namespace {

const char kHexdumpUsage[] =
    "usage: quorzk-cli hexdump FILE.qrv [--address HEX] [--length N]\n"
    "       quorzk-cli hexdump --port PORT [--address HEX] [--length N] [--clock] [--trace FILE]\n"
    "                        [--dial NUMBER [--pulse] [--init FILE.mdm]]\n";

constexpr int kMaxLength = int(kLoggerAddressSpace);

struct HexdumpOptions {
    QString file;
    QString port;
    QString trace;
    std::uint32_t address = 0;
    int length = int(kDumpLength);
    bool clock = false;
    DialOptions dial;
    QString error;
};

HexdumpOptions parseHexdumpOptions(const QStringList& given)
{
    HexdumpOptions o;
    QStringList args = given;
    o.dial = takeDialOptions(args);
    o.error = o.dial.error;
    for (int i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--port") && hasValue) {
            o.port = args[++i];
        } else if (a == QLatin1String("--trace") && hasValue) {
            o.trace = args[++i];
        } else if (a == QLatin1String("--address") && hasValue) {
            const std::optional<std::uint32_t> address = parseHexAddress(args[++i]);
            if (address)
                o.address = *address;
            else
                o.error = QStringLiteral("--address needs a hexadecimal address, not '%1'").arg(args[i]);
        } else if (a == QLatin1String("--length") && hasValue) {
            bool ok = false;
            o.length = args[++i].toInt(&ok);
            if (!ok || o.length < 0 || o.length > kMaxLength)
                o.error = QStringLiteral("--length needs a number of bytes, 0..%1").arg(kMaxLength);
        } else if (a == QLatin1String("--clock")) {
            o.clock = true;
        } else if (!a.startsWith(QLatin1String("--")) && o.file.isEmpty()) {
            o.file = a;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (!o.error.isEmpty())
        return o;
    if (o.file.isEmpty() == o.port.isEmpty())
        o.error = QStringLiteral("give either a recording file or --port PORT");
    else if (!o.file.isEmpty() && (o.clock || !o.trace.isEmpty() || o.dial.wanted()))
        o.error = QStringLiteral("--clock, --trace and --dial need --port");
    else if (!o.port.isEmpty() && o.address >= kLoggerAddressSpace)
        o.error = QStringLiteral("--address of a logger is 0000..FFFF");
    return o;
}

void printLines(const QStringList& lines)
{
    QTextStream out(stdout);
    for (const QString& line : lines)
        out << line << "\n";
}

int dumpFile(const HexdumpOptions& o)
{
    const FileBytes got = readFileBytes(o.file, o.address, o.length);
    if (!got.ok) {
        QTextStream(stderr) << "quorzk-cli hexdump: cannot read " << o.file << ": " << got.reason << "\n";
        return 1;
    }
    printLines(hexDumpLines(got.bytes, o.address));
    if (int(got.bytes.size()) < o.length)
        QTextStream(stderr) << endOfFileLine(got.bytes.size()) << "\n";
    return 0;
}

int dumpLogger(const HexdumpOptions& o)
{
    CliLink link(o.trace, o.dial);
    if (!link.call(o.port)) {
        link.saveTrace(QStringLiteral("hexdump"));
        return 1;
    }
    StderrPrompt prompt(false);
    bool ok = true;
    {
        auto logger = link.open(o.port);
        const auto address = std::uint16_t(o.address);
        const MemoryReadResult got = memoryReadJob(*logger, address, o.length);
        // A port that does not open is told; a read that fails is said after the bytes.
        prompt.tell(messagesOf(static_cast<const JobResult&>(got)));
        printLines(hexDumpLines(got.got.bytes, address, kLoggerAddressSpace));
        if (got.link.status == LinkStatus::CannotOpen) {
            ok = false;
        } else if (got.got.status != LinkStatus::Ok) {
            ok = false;
            const std::uint32_t at = (address + std::uint32_t(got.got.bytes.size())) % kLoggerAddressSpace;
            prompt.tell(failedReadLine(got.got.status, at), PromptSymbol::Warning);
        } else if (o.clock) {
            const JobResult clock = clockReadJob(*logger);
            prompt.tell(messagesOf(clock));
            ok = clock.clock.read();
            if (ok)
                printLines({clockLine(clock.clock.logger)});
        }
    }
    const bool traced = link.saveTrace(QStringLiteral("hexdump"));
    return ok && traced ? 0 : 1;
}

} // namespace

int runHexdump(const QStringList& args)
{
    const HexdumpOptions o = parseHexdumpOptions(args);
    if (!o.error.isEmpty()) {
        QTextStream(stderr) << "quorzk-cli hexdump: " << o.error << "\n" << kHexdumpUsage;
        return 2;
    }
    return o.port.isEmpty() ? dumpFile(o) : dumpLogger(o);
}

} // namespace qz::cli
