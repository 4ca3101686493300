#pragma once
// One command's command line: its options on a QCommandLineParser, its usage line and
// --help text, and usage errors told alike by every command (messages go to standard
// error, exit status 2).
#include "cli/usage_texts.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qz::cli {

class CommandLine {
public:
    // name: the command ("download"); synopsis: its arguments as one line, wrapped where
    // it is shown; summary: what it does, for --help.
    CommandLine(QString name, QString synopsis, QString summary);
    explicit CommandLine(const usage::Text& text)
        : CommandLine(QString::fromUtf8(text.name), QString::fromUtf8(text.synopsis),
                      QString::fromUtf8(text.summary))
    {}

    const QString& name() const { return name_; }

    // An option with a value when valueName is given, a switch otherwise. The first of
    // names is the one to ask for. --help (-h) and --version come with every command.
    void addOption(const QStringList& names, const QString& description, const QString& valueName = {});

    // Parses what follows the command's name. An exit status when the command is done
    // already: 0 after --help or --version (printed on standard output), 2 after an
    // unknown option or an option without its value (told in one line that points to
    // --help). Nothing when the command runs.
    std::optional<int> parse(const QStringList& args);

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    // The value given last.
    QString value(const QString& name) const { return parser_.value(name); }
    QStringList values(const QString& name) const { return parser_.values(name); }
    QStringList positional() const { return parser_.positionalArguments(); }

    // Tells error and the usage line on standard error; returns 2, the usage error status.
    int usageError(const QString& error) const;
    // The usage error of the first argument past the allowed count, when there is one.
    std::optional<int> refuseArgumentsPast(qsizetype allowed) const;

    // "usage: quorzk-cli NAME SYNOPSIS", wrapped.
    QString usage() const;
    // The usage line, the summary and every option with its description.
    QString help() const;

private:
    QString name_;
    QString synopsis_;
    QString summary_;
    QList<QCommandLineOption> options_;
    QCommandLineParser parser_;
    bool helpAdded_ = false;
};

// text broken into lines of at most width columns at blanks outside brackets and quotes
// (so "[--dial NUMBER [--pulse]]" stays whole), each line after the first indented by
// indent blanks.
QString wrapSynopsis(const QString& text, int width, int indent);
// Prose broken into lines of at most width columns, for a place that begins at column
// indent: the lines after the first are indented as far.
QString wrapText(const QString& text, int width, int indent);

} // namespace qz::cli
