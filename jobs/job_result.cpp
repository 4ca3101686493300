#include "jobs/job_result.h"

#include "jobs/job_texts.h"
#include "link/link_texts.h"
#include "support_tools/raw_dump.h"

namespace qz {

void addFinding(Findings& findings, FindingKind kind, int place)
{
    for (Finding& f : findings) {
        if (f.kind == kind) {
            ++f.count;
            return;
        }
    }
    findings << Finding{kind, 1, place};
}

Messages findingMessages(const Findings& findings)
{
    Messages out;
    for (const Finding& f : findings) {
        switch (f.kind) {
        case FindingKind::ImpossibleDate:
            out << Message{f.count == 1 ? texts::measurementsDateError()
                                        : texts::measurementsDateErrors(f.count, f.first),
                           MessageSymbol::Warning};
            break;
        case FindingKind::DamagedBlock:
            out << Message{texts::damagedBlock(f.first), MessageSymbol::Warning};
            break;
        case FindingKind::BatteryLow:
            out << Message{texts::lowBattery(), MessageSymbol::Warning};
            break;
        case FindingKind::BlocksMissed:
            out << Message{missedBlocksText(f.count, f.of), MessageSymbol::Warning};
            break;
        }
    }
    return out;
}

} // namespace qz
