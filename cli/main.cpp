// quorzk-cli: the program's commands without windows.
#include "cli/commands.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    // Each command adds its row here.
    {"help", "help                      this text", nullptr},
};

int usage(FILE* out)
{
    QTextStream s(out);
    s << "usage: quorzk-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const auto& c : kCommands)
        s << "  " << c.usage << "\n";
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(stderr);
    const QString name = args.takeFirst();
    for (const auto& c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run ? c.run(args) : usage(stdout);
    }
    QTextStream(stderr) << "quorzk-cli: unknown command '" << name << "'\n";
    return usage(stderr);
}
