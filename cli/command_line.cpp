#include "cli/command_line.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace qz::cli {

namespace {

constexpr int kWidth = 79;
const QString kProgram = QStringLiteral("quorzk-cli");
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

// How an option was written on the command line, for naming it back; the parser keeps
// only the bare name.
QString asWritten(const QString& name, const QStringList& args)
{
    for (const QString& a : args) {
        if (a == QLatin1String("--"))
            break;
        if (a == u'-' + name || a == QStringLiteral("--") + name
            || a.startsWith(QStringLiteral("--") + name + u'='))
            return a.section(u'=', 0, 0);
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString optionNames(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& n : option.names())
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += u' ' + option.valueName();
    return text;
}

// Words on lines of at most width columns (a longer word stands alone), the first line
// beginning at column start, the others indented.
QString joinWords(const QStringList& words, int width, int indent, int start)
{
    QString out;
    qsizetype column = start;
    bool lineEmpty = true;
    for (const QString& w : words) {
        if (!lineEmpty && column + 1 + w.size() > width) {
            out += u'\n' + QString(indent, u' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += u' ';
            ++column;
        }
        out += w;
        column += w.size();
        lineEmpty = false;
    }
    return out;
}

// The runs of text between blanks that lie outside quotes and inside at most depth
// brackets, an option and its value kept together.
QStringList splitOutside(const QString& text, int depth)
{
    QStringList words;
    QString word;
    int level = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'[')
            ++level;
        else if (!quoted && c == u']')
            --level;
        if (c == u' ' && level <= depth && !quoted) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;
    // An option stays on the line of its value.
    QStringList glued;
    for (const QString& w : words) {
        const bool value = !w.startsWith(u'-') && !w.startsWith(u'[') && !w.startsWith(u'|');
        if (value && !glued.isEmpty() && glued.constLast().contains(QLatin1String("--"))
            && !glued.constLast().contains(u' ') && !glued.constLast().endsWith(u']'))
            glued.last() += u' ' + w;
        else
            glued << w;
    }
    return glued;
}

} // namespace

QString wrapSynopsis(const QString& text, int width, int indent)
{
    QStringList words;
    for (const QString& word : splitOutside(text, 0)) {
        // A group too long for any line breaks between its own parts.
        if (word.size() > width - indent)
            words << splitOutside(word, 1);
        else
            words << word;
    }
    return joinWords(words, width, indent, 0);
}

QString wrapText(const QString& text, int width, int indent)
{
    return joinWords(text.split(u' ', Qt::SkipEmptyParts), width, indent, indent);
}

CommandLine::CommandLine(QString name, QString synopsis, QString summary)
    : name_(std::move(name)), synopsis_(std::move(synopsis)), summary_(std::move(summary))
{
    // "-port" reads as --port, not as -p -o -r -t.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

void CommandLine::addOption(const QStringList& names, const QString& description, const QString& valueName)
{
    QCommandLineOption option(names, description, valueName);
    parser_.addOption(option);
    options_ << option;
}

std::optional<int> CommandLine::parse(const QStringList& args)
{
    // Listed last in the help, after the command's own options.
    if (!helpAdded_) {
        helpAdded_ = true;
        addOption({QStringLiteral("h"), kHelp}, QStringLiteral("print this help and exit"));
        addOption({kVersion}, QStringLiteral("print the program's version and exit"));
    }
    const bool parsed = parser_.parse(QStringList{kProgram + u' ' + name_} + args);
    // Asking for help wins over anything else on the line.
    if (parser_.isSet(kHelp)) {
        QTextStream(stdout) << help();
        return 0;
    }
    if (parsed && parser_.isSet(kVersion)) {
        QTextStream(stdout) << kProgram << ' ' << QCoreApplication::applicationVersion() << "\n";
        return 0;
    }
    if (parsed)
        return std::nullopt;
    const QStringList unknown = parser_.unknownOptionNames();
    QString what;
    if (!unknown.isEmpty()) {
        what = QStringLiteral("unknown option '%1'").arg(asWritten(unknown.constFirst(), args));
    } else {
        // A missing or unexpected value: the parser's sentence, as a clause.
        what = parser_.errorText();
        if (what.endsWith(u'.'))
            what.chop(1);
        if (!what.isEmpty())
            what[0] = what[0].toLower();
    }
    QTextStream(stderr) << kProgram << ' ' << name_ << ": " << what << "; see '" << kProgram << ' ' << name_
                        << " --help'\n";
    return 2;
}

int CommandLine::usageError(const QString& error) const
{
    QTextStream(stderr) << kProgram << ' ' << name_ << ": " << error << "\n" << usage();
    return 2;
}

std::optional<int> CommandLine::refuseArgumentsPast(qsizetype allowed) const
{
    const QStringList arguments = positional();
    if (arguments.size() <= allowed)
        return std::nullopt;
    return usageError(QStringLiteral("unexpected argument '%1'").arg(arguments[allowed]));
}

QString CommandLine::usage() const
{
    const QString start = QStringLiteral("usage: ") + kProgram + u' ' + name_ + u' ';
    return wrapSynopsis(start + synopsis_, kWidth, int(start.size())) + u'\n';
}

QString CommandLine::help() const
{
    QString out = usage() + u'\n' + wrapText(summary_, kWidth, 0) + QStringLiteral("\n\noptions:\n");
    // Descriptions line up after the names, unless a name is too long for the column.
    constexpr int kMaxColumn = 24;
    int column = 0;
    for (const QCommandLineOption& o : options_)
        column = std::max(column, int(optionNames(o).size()) + 4);
    column = std::min(column, kMaxColumn);
    for (const QCommandLineOption& o : options_) {
        QString line = QStringLiteral("  ") + optionNames(o);
        if (line.size() + 2 > column)
            line += u'\n' + QString(column, u' ');
        else
            line = line.leftJustified(column);
        out += line + wrapText(o.description(), kWidth, column) + u'\n';
    }
    return out;
}

} // namespace qz::cli
