#include "link/line_registry.h"

#include "link/device_line.h"
#include "link/traced_line.h"

namespace qz {

void LineRegistry::addNamed(const QString& name, Maker maker)
{
    named_[name] = std::move(maker);
}

bool LineRegistry::isNamed(const QString& name) const
{
    return named_.count(name) != 0;
}

QStringList LineRegistry::namedLines() const
{
    QStringList out;
    for (const auto& [name, maker] : named_)
        out << name;
    return out;
}

std::unique_ptr<LineBackend> LineRegistry::make(const QString& name) const
{
    auto line = makeUntraced(name);
    if (trace_)
        return std::make_unique<TracedLine>(std::move(line), *trace_, traceLock_);
    return line;
}

std::unique_ptr<LineBackend> LineRegistry::makeUntraced(const QString& name) const
{
    auto it = named_.find(name);
    if (it != named_.end() && it->second) {
        if (auto line = it->second())
            return line;
    }
    return std::make_unique<DeviceLine>();
}

} // namespace qz
