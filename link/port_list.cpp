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
    int osError = 0;
    return portOpens(name, lines, osError);
}

bool portOpens(const QString& name, const LineRegistry& lines, int& osError)
{
    osError = 0;
    if (name.isEmpty())
        return false;
    auto line = lines.make(name);
    if (!line->open(name)) {
        osError = line->openError();
        return false;
    }
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
