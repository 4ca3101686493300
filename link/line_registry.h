#pragma once
// Chooses the line behind a port name: an in-process line registered under its name (the
// simulated logger, "sim"), otherwise the serial device at that path.
#include "link/line_backend.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace qz {

class WireTrace;

class LineRegistry {
public:
    using Maker = std::function<std::unique_ptr<LineBackend>()>;

    // The name under which the program offers its simulated logger.
    static QString simulatedPortName() { return QStringLiteral("sim"); }

    // Registers an in-process line; a later registration of the same name replaces it.
    void addNamed(const QString& name, Maker maker);
    bool isNamed(const QString& name) const;
    QStringList namedLines() const;

    // A fresh, closed line for the port name; with a trace set, the line writes into it.
    std::unique_ptr<LineBackend> make(const QString& name) const;

    // The wire trace every line made from now on writes into (none: nullptr). The trace
    // must outlive the lines.
    void setTrace(WireTrace* trace) { trace_ = trace; }

private:
    std::unique_ptr<LineBackend> makeUntraced(const QString& name) const;

    std::map<QString, Maker> named_;
    WireTrace* trace_ = nullptr;
    // Lines are made and used on the ports' workers: their writes into the trace take turns.
    std::shared_ptr<std::mutex> traceLock_ = std::make_shared<std::mutex>();
};

} // namespace qz
