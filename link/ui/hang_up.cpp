#include "link/ui/hang_up.h"

#include "link/link_report.h"
#include "link/modem_dialer.h"
#include "link/ui/wait_cursor.h"

namespace qz {

LinkStatus hangUpModem(LoggerProtocol& port, Prompt& prompt)
{
    const LinkReport report(port, prompt);
    const WaitCursor busy;
    return ModemDialer(port).hangUp();
}

} // namespace qz
