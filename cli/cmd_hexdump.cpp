// quorzk-cli hexdump: memory as the service panel shows it, sixteen bytes a line, from a
// recording file (image addresses, past its 8-byte signature) or from a logger (its
// 16-bit addresses, read 128 bytes at a time), and the logger's clock record.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/memory_job.h"
#include "model/memory_image.h"
#include "support_tools/dump_address.h"
#include "support_tools/hex_lines.h"
#include "support_tools/memory_reads.h"

#include <QTextStream>

#include <optional>

namespace qz::cli {

namespace {

constexpr int kMaxLength = int(kLoggerAddressSpace);

struct HexdumpOptions {
    QString file;
    LinkOptions link;
    std::uint32_t address = 0;
    int length = int(kDumpLength);
    bool clock = false;
};

// The options; a usage error's exit status when the command cannot run. Without a file the
// memory is a logger's, on the port given or saved.
std::optional<int> parseHexdumpOptions(const QStringList& args, HexdumpOptions& o)
{
    CommandLine line(usage::kHexdump);
    line.addOption({"address"}, QStringLiteral("where the dump begins, in hexadecimal (default 0000)"),
                   QStringLiteral("HEX"));
    line.addOption(
        {"length"},
        QStringLiteral("how many bytes it shows, 0 to %1 (default %2)").arg(kMaxLength).arg(kDumpLength),
        QStringLiteral("N"));
    line.addOption({"clock"}, QStringLiteral("then print the logger's clock record"));
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return done;
    if (const QString error = readLinkOptions(line, o.link); !error.isEmpty())
        return line.usageError(error);
    const QStringList files = line.positional();
    if (const auto refused = line.refuseArgumentsPast(1))
        return refused;
    o.file = files.value(0);
    if (line.isSet("address")) {
        const std::optional<std::uint32_t> address = parseHexAddress(line.value("address"));
        if (!address)
            return line.usageError(
                QStringLiteral("--address needs a hexadecimal address, not '%1'").arg(line.value("address")));
        o.address = *address;
    }
    if (line.isSet("length")) {
        bool ok = false;
        o.length = line.value("length").toInt(&ok);
        if (!ok || o.length < 0 || o.length > kMaxLength)
            return line.usageError(QStringLiteral("--length needs a number of bytes, 0..%1").arg(kMaxLength));
    }
    o.clock = line.isSet("clock");
    const bool fromFile = !o.file.isEmpty();
    if (fromFile && !o.link.port.isEmpty())
        return line.usageError(QStringLiteral("give either a recording file or --port PORT"));
    if (fromFile && (o.clock || !o.link.trace.isEmpty() || o.link.dial.wanted()))
        return line.usageError(QStringLiteral("--clock, --trace and --dial need --port"));
    if (!fromFile && o.address >= kLoggerAddressSpace)
        return line.usageError(QStringLiteral("--address of a logger is 0000..FFFF"));
    if (!fromFile) {
        if (const QString error =
                choosePort(o.link, QStringLiteral("give either a recording file or --port PORT"));
            !error.isEmpty())
            return line.usageError(error);
    }
    return std::nullopt;
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
    CliLink link(o.link);
    if (!link.call(o.link.port)) {
        link.finish();
        return 1;
    }
    StderrPrompt prompt(false);
    bool ok = true;
    {
        auto logger = link.open(o.link.port);
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
    const bool traced = link.finish();
    return ok && traced ? 0 : 1;
}

} // namespace

int runHexdump(const QStringList& args)
{
    HexdumpOptions o;
    if (const auto done = parseHexdumpOptions(args, o))
        return *done;
    return o.file.isEmpty() ? dumpLogger(o) : dumpFile(o);
}

} // namespace qz::cli
