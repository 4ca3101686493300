#pragma once
// A message for the user as a value: its text and its symbol. Work that runs without a
// person (a logger job, on a worker thread or in a script) returns its messages; the window
// shows them in message boxes, the command-line tool prints them.
#include <QList>
#include <QString>

namespace qz {

enum class MessageSymbol {
    Warning,
    Error,
    Information,
    Confirmation
};

struct Message {
    QString text;
    MessageSymbol symbol = MessageSymbol::Warning;

    bool operator==(const Message&) const = default;
};

using Messages = QList<Message>;

} // namespace qz
