// quorzk-cli: the program's commands without windows.
#include "cli/commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    // Each command adds its row here.
    {"help", "help                      this text (also --help, -h)", nullptr},
    {"download",
     "download --port PORT --output FILE.qrv [--verify] [--keep-partial]\n"
     "         [--force] [--yes] [--trace FILE]\n"
     "                            download a logger's recording (PORT: a device, or sim)",
     qz::cli::runDownload},
    {"ping",
     "ping --port PORT [--trace FILE]\n"
     "                            whether a logger answers",
     qz::cli::runPing},
    {"status",
     "status --port PORT [--trace FILE]\n"
     "                            identification, clock, run state and battery",
     qz::cli::runStatus},
    {"configure",
     "configure --port PORT --interval SECONDS|MM:SS --stop full|cyclic [--comment TEXT]\n"
     "                            [--start now | --start-at \"YYYY-MM-DD hh:mm:ss\" | --start-after "
     "DD:HH:MM]\n"
     "                            [--inputs FILE.csv] [--yes] [--trace FILE]\n"
     "                            prepare and start a logger's next recording",
     qz::cli::runConfigure},
    {"stop",
     "stop --port PORT [--yes] [--trace FILE]\n"
     "                            stop a running logger (without --yes: tell its run state)",
     qz::cli::runStop},
    {"readings",
     "readings --port PORT [--count N] [--every SECONDS] [--raw] [--csv] [--trace FILE]\n"
     "                            the logger's current readings, one per period (default\n"
     "                            1 s) until Ctrl-C",
     qz::cli::runReadings},
    {"collect",
     "collect --fleet FLEET.ini [--store URL] [--json]\n"
     "                            read every logger of a fleet file into the store, only\n"
     "                            what is new; a table (or JSON) of what became of each",
     qz::cli::runCollect},
    {"store",
     "store loggers [--store URL] [--json]\n"
     "store export --logger SERIAL|LABEL [--from \"YYYY-MM-DD hh:mm:ss\"] [--to ...]\n"
     "         [--output FILE [--force]] [--store URL]\n"
     "                            the store's loggers with their last collection; a\n"
     "                            logger's measurements as comma-separated values",
     qz::cli::runStore},
    {"info", "info FILE.qrv             information text of a recording file", qz::cli::runInfo},
    {"export",
     "export FILE.qrv --kind text|excel|lotus|nodate|csv [--output OUT [--force]]\n"
     "                            text export of a recording file (to standard output\n"
     "                            without --output; --force replaces an existing OUT;\n"
     "                            csv: comma-separated, ISO 8601 times, '.' decimals)",
     qz::cli::runExport},
    {"plot",
     "plot FILE.qrv --output FILE.png|FILE.svg|FILE.pdf [--size WxH] [--force]\n"
     "         [--from \"YYYY-MM-DD hh:mm:ss\"] [--to \"YYYY-MM-DD hh:mm:ss\"]\n"
     "                            the graph of a recording file as the graph window draws\n"
     "                            it (PDF: the printed A4 page); --size in pixels (default\n"
     "                            800x600), --from/--to choose the measurements shown\n"
     "plot [--store URL] --logger SERIAL|LABEL --output FILE.png|FILE.svg|FILE.pdf [...]\n"
     "                            the same from the fleet store: a logger's measurements\n"
     "                            of --from/--to",
     qz::cli::runPlot},
    {"dump",
     "dump --port PORT --output FILE.qrv [--trace FILE] [--force]\n"
     "                            every block of a logger's memory, untested, as a\n"
     "                            recording file with the logger's own header",
     qz::cli::runDump},
    {"hexdump",
     "hexdump FILE.qrv | --port PORT [--address HEX] [--length N] [--clock]\n"
     "                            memory as hexadecimal lines, 16 bytes each (--clock:\n"
     "                            then the logger's clock record)",
     qz::cli::runHexdump},
};

int usage(FILE* out)
{
    QTextStream s(out);
    s << "usage: quorzk-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const auto& c : kCommands)
        s << "  " << c.usage << "\n";
    s << "\n--trace FILE writes every byte sent to and received from the logger, time-stamped,\n"
         "as hex lines (> to the logger, < from it).\n"
         "--verify reads the header and every block twice, so that no line error passes\n"
         "unseen (about twice the time); --keep-partial keeps the blocks before a damaged\n"
         "block; --force replaces an existing output file.\n"
         "--dial NUMBER [--pulse] [--init FILE.mdm] (every command with --port) reaches the\n"
         "logger through a telephone modem on PORT: dial, run the command, hang up.\n"
         "--store URL is sqlite:PATH (default sqlite:~/.local/share/quorzk/fleet.sqlite, or\n"
         "the fleet file's [Store] Url=).\n";
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing needs the GUI's fonts but no screen: plot runs headless unless told otherwise.
    const bool drawing = argc > 1 && qstrcmp(argv[1], "plot") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = drawing ? std::make_unique<QGuiApplication>(argc, argv)
                                                    : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage(stderr);
    const QString name = args.takeFirst();
    const auto asksHelp = [](const QString& a) {
        return a == QLatin1String("--help") || a == QLatin1String("-h");
    };
    if (asksHelp(name) || std::any_of(args.begin(), args.end(), asksHelp))
        return usage(stdout);
    for (const auto& c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run ? c.run(args) : usage(stdout);
    }
    QTextStream(stderr) << "quorzk-cli: unknown command '" << name << "'\n";
    return usage(stderr);
}
