// quorzk-cli: the program's commands without windows.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/usage_texts.h"
#include "link/wire_trace.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

using qz::cli::usage::Text;

struct Command {
    const Text& text;
    int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    // Each command adds its row here.
    {qz::cli::usage::kDownload, qz::cli::runDownload}, {qz::cli::usage::kPing, qz::cli::runPing},
    {qz::cli::usage::kStatus, qz::cli::runStatus},     {qz::cli::usage::kConfigure, qz::cli::runConfigure},
    {qz::cli::usage::kStop, qz::cli::runStop},         {qz::cli::usage::kReadings, qz::cli::runReadings},
    {qz::cli::usage::kCollect, qz::cli::runCollect},   {qz::cli::usage::kStore, qz::cli::runStore},
    {qz::cli::usage::kInfo, qz::cli::runInfo},         {qz::cli::usage::kExport, qz::cli::runExport},
    {qz::cli::usage::kPlot, qz::cli::runPlot},         {qz::cli::usage::kDump, qz::cli::runDump},
    {qz::cli::usage::kHexdump, qz::cli::runHexdump},
};

const Command* find(const QString& name)
{
    for (const auto& c : kCommands)
        if (name == QLatin1String(c.text.name))
            return &c;
    return nullptr;
}

// The summary's first sentence, for the list of commands.
QString firstSentence(const char* summary)
{
    const QString text = QString::fromUtf8(summary);
    const qsizetype end = text.indexOf(QLatin1String(". "));
    return end < 0 ? text : text.left(end + 1);
}

int usage(FILE* out)
{
    QTextStream s(out);
    s << "usage: quorzk-cli COMMAND [OPTIONS]\n"
         "       quorzk-cli COMMAND --help     what a command does, and its options\n"
         "       quorzk-cli --version\n\ncommands:\n";
    for (const auto& c : kCommands) {
        s << "  " << qz::cli::wrapSynopsis(QString::fromUtf8(c.text.name) + u' ' + c.text.synopsis, 79, 6)
          << "\n";
        s << "      " << qz::cli::wrapText(firstSentence(c.text.summary), 79, 6) << "\n";
    }
    const QString notes =
        QStringLiteral("Without --port, a logger command uses the port chosen in the program's Options "
                       "(QUORZK.INI), and says so. --trace FILE appends every byte sent to and received "
                       "from the logger to FILE, time-stamped, as hex lines (> to the logger, < from it); "
                       "at %1 MiB FILE becomes FILE.1 and a new FILE begins. --dial NUMBER [--pulse] "
                       "[--init FILE.mdm] (every command with --port) reaches the logger through a "
                       "telephone modem on PORT: dial, run the command, hang up. --port sim is the "
                       "program's simulated logger, which keeps what each command sent it; --sim-reset "
                       "starts it afresh.")
            .arg(qz::WireTrace::kRotationBytes / (1024 * 1024));
    s << "\n" << qz::cli::wrapText(notes, 79, 0) << "\n";
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing needs the GUI's fonts but no screen: plot runs headless unless told otherwise.
    const bool drawing = argc > 1 && qstrcmp(argv[1], "plot") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a desktop session the GUI's start warns that it has no runtime folder; the
    // drawing keeps nothing there, so a private one serves for the run.
    std::unique_ptr<QTemporaryDir> runtime;
    if (drawing && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime = std::make_unique<QTemporaryDir>();
        if (runtime->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    std::unique_ptr<QCoreApplication> app = drawing ? std::make_unique<QGuiApplication>(argc, argv)
                                                    : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorzk-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORZK_VERSION));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage(stderr);
    const QString name = args.takeFirst();
    if (name == QLatin1String("--version")) {
        QTextStream(stdout) << "quorzk-cli " << QCoreApplication::applicationVersion() << "\n";
        return 0;
    }
    // help COMMAND is COMMAND --help.
    if (name == QLatin1String("help") && !args.isEmpty()) {
        if (const Command* c = find(args.constFirst()))
            return c->run({QStringLiteral("--help")});
    }
    if (name == QLatin1String("help") || name == QLatin1String("--help") || name == QLatin1String("-h"))
        return usage(stdout);
    if (const Command* c = find(name))
        return c->run(args);
    QTextStream(stderr) << "quorzk-cli: unknown command '" << name << "'\n";
    return usage(stderr);
}
