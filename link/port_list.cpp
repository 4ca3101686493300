#include "link/port_list.h"

#include <QSerialPortInfo>

namespace qz {

QStringList AvailablePorts()
{
    QStringList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out << info.systemLocation();
    out.sort();
    return out;
}

bool PortExists(const QString& name, const LineRegistry& lines)
{
    if (name.isEmpty())
        return false;
    auto line = lines.make(name);
    if (!line->open(name))
        return false;
    line->close();
    return true;
}

QString FirstAvailablePort(const LineRegistry& lines)
{
    for (const QString& name : AvailablePorts()) {
        if (PortExists(name, lines))
            return name;
    }
    return {};
}

} // namespace qz
