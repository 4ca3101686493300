#include "link/port_list.h"

#include <QSerialPortInfo>

namespace qz {

QStringList availablePorts()
{
    QStringList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out << info.systemLocation();
    out.sort();
    return out;
}

bool portExists(const QString& name, const LineRegistry& lines)
{
    if (name.isEmpty())
        return false;
    auto line = lines.make(name);
    if (!line->open(name))
        return false;
    line->close();
    return true;
}

QString firstAvailablePort(const LineRegistry& lines)
{
    for (const QString& name : availablePorts()) {
        if (portExists(name, lines))
            return name;
    }
    return {};
}

} // namespace qz
