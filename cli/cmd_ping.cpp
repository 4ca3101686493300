// quorzk-cli ping: whether a logger answers on the port (a clock read, as the Download
// command's first step).
#include "cli/commands.h"
#include "cli/link_common.h"

#include <QTextStream>

namespace qz::cli {

int runPing(const QStringList& args)
{
    const LinkOptions o = ParseLinkOptions(args, false);
    QTextStream err(stderr);
    if (!o.ok) {
        err << "quorzk-cli ping: " << o.error << "\nusage: quorzk-cli ping --port PORT\n";
        return 2;
    }
    CliLink link;
    StderrPrompt prompt(false);
    auto quorvant = link.open(o.port, prompt);
    if (quorvant->Ping()) {
        QTextStream(stdout) << "logger answers on " << o.port << "\n";
        return 0;
    }
    err << "no logger answers on " << o.port << "\n";
    return 1;
}

} // namespace qz::cli
