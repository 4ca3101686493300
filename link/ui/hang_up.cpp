#include "link/ui/hang_up.h"

#include "link/link_failure.h"
#include "link/modem_dialer.h"
#include "link/ui/wait_cursor.h"
#include "platform/prompt.h"

namespace qz {

LinkStatus hangUpModem(LoggerProtocol& port, Prompt& prompt)
{
    const LinkWatch watch(port, [&prompt](const LinkFailure& f) { prompt.tell(*linkMessage(f)); });
    const WaitCursor busy;
    return ModemDialer(port).hangUp();
}

} // namespace qz
