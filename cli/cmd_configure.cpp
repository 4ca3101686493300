// quorzk-cli configure: the Configuration command without windows, for preparing many
// loggers alike. The logger is read as the Configuration command reads it, the options go
// through the configuration dialog's rules, and the send is the Config button's.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "config/config_texts.h"
#include "config/configuration_rules.h"
#include "config/delayed_start.h"
#include "config/fixed_inputs.h"
#include "config/inputs_csv.h"
#include "config/send_configuration.h"
#include "jobs/configure_job.h"
#include "jobs/device_read_job.h"
#include "jobs/job_messages.h"
#include "link/link_texts.h"
#include "model/datetime_number.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "platform/clock.h"
#include "platform/program_folder.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <array>
#include <cstring>
#include <optional>

namespace qz::cli {

namespace {

// --start-at's form, also the form of the start limit told.
const QString kStartAtForm = QStringLiteral("yyyy-MM-dd hh:mm:ss");

struct ConfigureOptions {
    int intervalSeconds = -1;
    StopChoice stop = StopChoice::Unchanged;
    bool hasComment = false;
    QString comment;
    StartRequest start;
    QString startText; // as given, for the usage check
    QString startRefusal; // the delayed start dialog's refusal of the start asked for
    QString inputsFile;
    LinkOptions link;
    bool yes = false;
};

// Latin-1 without control characters: what the logger's comment field holds and shows.
bool storable(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF || c.category() == QChar::Other_Control)
            return false;
    return true;
}

// SECONDS, or MM:SS with SS below 60.
bool parseInterval(const QString& text, int& seconds)
{
    static const QRegularExpression plain(QStringLiteral("^\\d{1,5}$"));
    static const QRegularExpression minSec(QStringLiteral("^(\\d{1,3}):(\\d{2})$"));
    if (plain.match(text).hasMatch()) {
        seconds = text.toInt();
        return true;
    }
    const auto m = minSec.match(text);
    if (!m.hasMatch() || m.captured(2).toInt() > 59)
        return false;
    seconds = m.captured(1).toInt() * 60 + m.captured(2).toInt();
    return true;
}

// The start options through the delayed start dialog's rules; a refusal's message, or empty.
// A start option in a form it does not take is a usage error, given in error.
QString applyStart(ConfigureOptions& o, QString& error)
{
    static const QRegularExpression at(
        QStringLiteral("^--start-at (\\d{4})-(\\d{2})-(\\d{2})[ T](\\d{2}):(\\d{2}):(\\d{2})$"));
    static const QRegularExpression after(QStringLiteral("^--start-after (\\d{1,2}):(\\d{1,2}):(\\d{1,2})$"));
    if (o.startText.startsWith(QLatin1String("--start-at "))) {
        const auto m = at.match(o.startText);
        if (!m.hasMatch()) {
            error = QStringLiteral("--start-at takes \"YYYY-MM-DD hh:mm:ss\"");
            return {};
        }
        o.start.delayed = true;
        o.start.plan.mode = DelayedStart::Mode::Date;
        const StartCheck check = checkStartFields(
            m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt(),
            m.captured(5).toInt(), m.captured(6).toInt(), o.start.plan.startInstant);
        return startRefusal(check);
    }
    if (o.startText.startsWith(QLatin1String("--start-after "))) {
        const auto m = after.match(o.startText);
        if (!m.hasMatch()) {
            error = QStringLiteral("--start-after takes DD:HH:MM");
            return {};
        }
        o.start.delayed = true;
        o.start.plan.mode = DelayedStart::Mode::Delay;
        const DelayCheck check = checkDelay(m.captured(1).toInt(), m.captured(2).toInt(),
                                            m.captured(3).toInt(), o.start.plan.delay);
        return delayRefusal(check, {});
    }
    return {};
}

// The options; a usage error's exit status when the command cannot run. A start the delayed
// start dialog would refuse is no usage error: its message is kept in startRefusal.
std::optional<int> parseOptions(const QStringList& args, ConfigureOptions& o)
{
    CommandLine line(usage::kConfigure);
    line.addOption({"interval"},
                   QStringLiteral("the recording interval, 1 second to 60 minutes: SECONDS, or MM:SS"),
                   QStringLiteral("SECONDS|MM:SS"));
    line.addOption({"stop"},
                   QStringLiteral("full: stop when the memory is full; cyclic: overwrite the oldest data"),
                   QStringLiteral("full|cyclic"));
    line.addOption({"comment"},
                   QStringLiteral("the recording's comment, up to 50 characters (default: the logger's)"),
                   QStringLiteral("TEXT"));
    line.addOption({"start"}, QStringLiteral("start recording at once (the default)"), QStringLiteral("now"));
    line.addOption({"start-at"},
                   QStringLiteral("start at that time of the logger's clock, which is set to the computer's: "
                                  "later than now and less than a year ahead"),
                   QStringLiteral("\"YYYY-MM-DD hh:mm:ss\""));
    line.addOption({"start-after"},
                   QStringLiteral("start after that delay from the moment of sending (at most 30:23:59)"),
                   QStringLiteral("DD:HH:MM"));
    line.addOption({"inputs"},
                   QStringLiteral("set the inputs from a CSV file: the header line "
                                  "input,active,function,unit,max,min and a row per input"),
                   QStringLiteral("FILE.csv"));
    line.addOption({"yes"}, QStringLiteral("restart a logger that is recording"));
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return done;
    if (const QString error = readLinkOptions(line, o.link); !error.isEmpty())
        return line.usageError(error);
    if (const auto refused = line.refuseArgumentsPast(0))
        return refused;
    if (line.isSet("interval") && !parseInterval(line.value("interval"), o.intervalSeconds))
        return line.usageError(
            QStringLiteral("--interval takes SECONDS or MM:SS, not '%1'").arg(line.value("interval")));
    if (line.isSet("stop")) {
        const QString v = line.value("stop");
        if (v == "full")
            o.stop = StopChoice::MemoryFull;
        else if (v == "cyclic")
            o.stop = StopChoice::Cyclic;
        else
            return line.usageError(QStringLiteral("--stop takes full or cyclic, not '%1'").arg(v));
    }
    if (line.isSet("comment")) {
        o.hasComment = true;
        o.comment = line.value("comment");
        if (o.comment.size() > int(mem::kRecordNameSize))
            return line.usageError(QStringLiteral("--comment takes at most 50 characters"));
        if (!storable(o.comment))
            return line.usageError(QStringLiteral("--comment has characters the logger cannot hold"));
    }
    int starts = 0;
    for (const char* name : {"start", "start-at", "start-after"}) {
        const QStringList given = line.values(name);
        starts += int(given.size());
        if (!given.isEmpty())
            o.startText = QStringLiteral("--%1 %2").arg(name, given.constLast());
    }
    if (line.isSet("start") && line.value("start") != "now")
        return line.usageError(QStringLiteral("--start takes now, not '%1'").arg(line.value("start")));
    o.inputsFile = line.value("inputs");
    o.yes = line.isSet("yes");
    if (o.intervalSeconds < 0)
        return line.usageError(QStringLiteral("--interval SECONDS|MM:SS is required"));
    if (o.stop == StopChoice::Unchanged)
        return line.usageError(QStringLiteral("--stop full|cyclic is required"));
    if (starts > 1)
        return line.usageError(QStringLiteral("give one of --start, --start-at and --start-after"));
    // The start options' own form comes next, then the port.
    QString error;
    o.startRefusal = applyStart(o, error);
    if (error.isEmpty())
        error = choosePort(o.link);
    if (!error.isEmpty())
        return line.usageError(error);
    return std::nullopt;
}

// As the configuration dialog of such a model offers no Scaling.
QString fixedInputsRefusal(const QString& model)
{
    return QStringLiteral("The inputs of the %1 are fixed (its configuration has no Scaling): --inputs "
                          "cannot change them; nothing was sent")
        .arg(model);
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

void printSent(const std::array<std::uint8_t, mem::kDeviceImageSize>& image, const LoggerModel& model,
               bool delayed)
{
    const ImageReader r = ImageReader::deviceImage(ConstByteView{image.data(), image.size()});
    QTextStream out(stdout);
    out << "Serial number:      " << r.serialNumber() << "\n";
    out << "Model:              " << model.description << " (device code " << r.deviceCode() << ")\n";
    out << "Interval:           " << r.interval() << " s (" << twoDigits(r.interval() / 60) << ":"
        << twoDigits(r.interval() % 60) << ")\n";
    out << "Stop:               " << (r.stopMode() != 0 ? "when the memory is full" : "cyclic recording")
        << "\n";
    const auto s = r.startStamp();
    out << "Start:              " << (delayed ? "" : "now, ") << "20" << twoDigits(s[0]) << "-"
        << twoDigits(s[1]) << "-" << twoDigits(s[2]) << " " << twoDigits(s[3]) << ":" << twoDigits(s[4])
        << ":" << twoDigits(s[5]) << "\n";
    out << "Comment:            " << r.recordName().trimmed() << "\n";
    QStringList active;
    for (int i = 0; i < mem::kInputs; ++i)
        if (r.isInputRecorded(i))
            active << QStringLiteral("%1 %2 (%3, %4 .. %5)")
                          .arg(i + 1)
                          .arg(r.inputName(i).trimmed(), r.inputUnit(i).trimmed(), r.scaleLowText(i),
                               r.scaleHighText(i));
    out << "Active inputs:      " << (active.isEmpty() ? QStringLiteral("none") : active.join(", ")) << "\n";
    out << "Recording duration: " << recordingDurationText(ConstByteView{image.data(), image.size()}) << "\n";
}

// The logger's header and clock, asked to connect once: --yes goes on without a second ping.
DeviceReadResult readDevice(LoggerProtocol& logger, Progress& progress, Prompt& prompt)
{
    DeviceReadResult r = deviceReadJob(logger, ConnectPolicy::Ask, progress);
    prompt.tell(messagesOf(r));
    if (r.question == Question::Connect && prompt.confirm(*questionOf(r))) {
        r = deviceReadJob(logger, ConnectPolicy::GoOn, progress);
        prompt.tell(messagesOf(r));
    }
    return r;
}

// The send, read back afterwards; a recording logger is restarted on --yes only.
ConfigureResult send(LoggerProtocol& logger, const std::array<std::uint8_t, mem::kDeviceImageSize>& image,
                     const StartRequest& start, Progress& progress, Prompt& prompt)
{
    ConfigurePolicy policy;
    policy.verify = true;
    ConfigureResult r = configureJob(logger, image, start, policy, progress);
    prompt.tell(messagesOf(r));
    if (r.question == Question::RestartRecording && prompt.confirm(*questionOf(r))) {
        policy.restart = Decision::Yes;
        r = configureJob(logger, image, start, policy, progress);
        prompt.tell(messagesOf(r));
    }
    return r;
}

} // namespace

int runConfigure(const QStringList& args)
{
    QTextStream err(stderr);
    ConfigureOptions o;
    if (const auto done = parseOptions(args, o))
        return *done;
    const LinkOptions& link = o.link;
    QString refusal = o.startRefusal;
    const bool yes = o.yes;
    // A start the logger's alarm cannot hold (it has no year) is refused before the logger
    // is asked, with the limit in the option's own form.
    if (refusal.isEmpty() && o.start.delayed && o.start.plan.mode == DelayedStart::Mode::Date) {
        SystemClock clock;
        const double now = toDateTimeNumber(clock.localNow());
        if (!withinStartLimit(o.start.plan.startInstant, now))
            refusal = startTooFarRefusal(startLimit(now), kStartAtForm);
    }

    // Refusals before anything is read or written: the same rules and words as the dialogs.
    if (refusal.isEmpty()) {
        const IntervalCheck check = checkInterval(o.intervalSeconds, 1);
        refusal = intervalRefusal(check, QStringLiteral("1"));
    }
    InputsCsv inputs;
    if (refusal.isEmpty() && !o.inputsFile.isEmpty()) {
        QFile f(o.inputsFile);
        if (!f.open(QIODevice::ReadOnly)) {
            refusal = QStringLiteral("cannot read %1: %2").arg(o.inputsFile, f.errorString());
        } else {
            inputs = parseInputsCsv(f.readAll());
            if (!inputs.ok())
                refusal = o.inputsFile + QStringLiteral(": ") + inputs.error;
        }
    }
    if (!refusal.isEmpty()) {
        err << QString(refusal).replace(QLatin1Char('\r'), QLatin1Char('\n')) << "\n";
        return 1;
    }

    CliLink cli(link);
    if (!cli.call(link.port)) {
        cli.finish();
        return 1;
    }
    StderrPrompt prompt(yes);
    TerminalProgress progress;
    std::array<std::uint8_t, mem::kDeviceImageSize> image{};
    const ByteView view{image.data(), image.size()};
    bool done = false;
    const bool delayed = o.start.delayed;
    LoggerModel model;
    {
        auto logger = cli.open(link.port);
        const DeviceReadResult read = readDevice(*logger, progress, prompt);
        if (read.status == DeviceReadStatus::Read) {
            image = read.image;
            model =
                DeviceCatalog(ProgramFolder::forApplication())
                    .lookUp(ImageReader::deviceImage(ConstByteView{image.data(), image.size()}).deviceCode());
            if (!model.accepted)
                prompt.tell(texts::notAQuorvant(), PromptSymbol::Error);
        }
        const bool fixedInputs =
            read.status == DeviceReadStatus::Read && model.accepted && !o.inputsFile.isEmpty()
            && hasFixedInputs(
                ImageReader::deviceImage(ConstByteView{image.data(), image.size()}).deviceCode());
        if (fixedInputs)
            prompt.tell(fixedInputsRefusal(model.description), PromptSymbol::Error);
        if (read.status == DeviceReadStatus::Read && model.accepted && !fixedInputs) {
            storeInputSettings(view, inputs.settings);
            ConfigurationEntry entry;
            entry.intervalSeconds = o.intervalSeconds;
            entry.comment = o.hasComment
                ? o.comment
                : ImageReader::deviceImage(ConstByteView{image.data(), image.size()}).recordName();
            entry.stop = o.stop;
            // The start is checked before the entries and the logger's run state, as the
            // Config button does; the clock record itself is built by the send.
            std::array<std::uint8_t, mem::kDeviceImageSize> trial = image;
            const StartProgram planned =
                programTimeVars(ByteView{trial.data(), trial.size()}, cli.clock(), delayed, o.start.plan);
            const IntervalCheck check = storeConfiguration(view, entry);
            if (!planned.inFuture) {
                prompt.tell(texts::startElapsed(), PromptSymbol::Error);
            } else if (!planned.withinLimit) {
                prompt.tell(startTooFarRefusal(startLimit(planned.now.asDateTime()), kStartAtForm),
                            PromptSymbol::Error);
            } else if (check != IntervalCheck::Ok) {
                prompt.tell(intervalRefusal(check, QStringLiteral("1")), PromptSymbol::Warning);
            } else {
                const ConfigureResult sent = send(*logger, image, o.start, progress, prompt);
                done = sent.status == ConfigureStatus::Sent;
                if (done)
                    image = sent.image;
            }
        }
    }
    if (done)
        printSent(image, model, delayed);
    const bool traced = cli.finish();
    return done && traced ? 0 : 1;
}

} // namespace qz::cli
