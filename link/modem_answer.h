#pragma once
// Reads a modem's answers while a call is set up. Modems frame a result as CR LF, the
// word, CR LF, and a driver hands it over in whatever pieces it likes: a word counts once
// its line has ended (with CR or LF), however many pieces it came in.
#include "link/dial_outcome.h"

#include <QByteArray>

namespace qz {

class ModemAnswerReader {
public:
    // Takes the bytes that came. The first finished line that holds a result word
    // decides: CONNECT, BUSY, NO CARRIER, NO DIAL (looked for in that order). RING and
    // other lines (an echo, OK, a modem's report of its carrier before CONNECT) are
    // passed over: Waiting. What follows a deciding line is dropped.
    DialOutcome feed(const QByteArray& bytes);
    void clear() { line_.clear(); }

private:
    QByteArray line_; // the line not yet ended
};

} // namespace qz
