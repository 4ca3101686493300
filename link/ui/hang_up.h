#pragma once
// The Modem disconnection command and the hang-up at exit: the dialer's hang-up on a
// protocol object made for it, with the hourglass meanwhile. A port that does not open is
// told; what the modem answered is not (the command has nothing more to do).
#include "link/link_status.h"

namespace qz {

class LoggerProtocol;
class Prompt;

LinkStatus hangUpModem(LoggerProtocol& port, Prompt& prompt);

} // namespace qz
