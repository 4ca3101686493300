// The desktop program: the main window over the real platform services.
#include "app/ui/document_dialogs.h"
#include "app/ui/main_window.h"
#include "app/ui/simulated_logger.h"
#include "graph/graph_fonts.h"
#include "jobs/threaded_job_runner.h"
#include "link/line_registry.h"
#include "link/wire_trace.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "ui/message_box_prompt.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorzk"));
    qz::setUpFontSubstitutions();

    qz::SystemClock clock;
    qz::QtEventPump pump;
    qz::MessageBoxPrompt prompt;
    qz::QtDocumentDialogs dialogs;
    qz::LineRegistry lines;
    // QUORZK_TRACE=FILE: every byte to and from the logger, for support staff.
    const auto trace = qz::WireTrace::fromEnvironment(clock);
    if (trace) {
        trace->onWriteFailed([path = trace->path()](const QString& reason) {
            qWarning("quorzk: cannot write the wire trace %s: %s", qUtf8Printable(path),
                     qUtf8Printable(reason));
        });
        lines.setTrace(trace.get());
    }
    qz::SimulatedLogger simulated;
    // A damaged saved state is told on the window's thread, once the job that found it ran.
    simulated.registerIn(lines, clock, [&prompt](const QString& text) {
        QMetaObject::invokeMethod(
            qApp, [&prompt, text] { prompt.tell(text, qz::PromptSymbol::Warning); }, Qt::QueuedConnection);
    });
    // A worker per port; ended (its jobs cancelled, its threads joined) before the lines,
    // the simulated logger and the clock they use.
    qz::ThreadedJobRunner jobs;

    qz::MainWindow form(
        qz::AppServices{prompt, clock, pump, qz::ProgramFolder::forApplication(), dialogs, lines, jobs});
    prompt.setParent(&form);
    form.show();
    // Recording files named on the command line (or by the file manager) open as by Open,
    // each in its own graph window.
    form.openRecordings(QApplication::arguments().mid(1));
    return app.exec();
}
