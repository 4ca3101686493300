#include "sim/logger_state.h"

#include <QCryptographicHash>
#include <QBuffer>
#include <QDataStream>

namespace qz::sim {

namespace {

const QByteArray kMagic = QByteArrayLiteral("QZSIMLOG");
constexpr quint32 kFormat = 1;
constexpr qsizetype kHashSize = 32;

QByteArray hashOf(const QByteArray& bytes, qsizetype size)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.constData(), size), QCryptographicHash::Sha256);
}

void put(QDataStream& out, const LoggerState& s)
{
    out.writeRawData(reinterpret_cast<const char*>(s.memory.data()), int(s.memory.size()));
    out << qint64(s.elapsedUs) << qint64(s.offsetUs) << quint8(s.control) << quint8(s.byte7)
        << quint8(s.byte15);
    for (std::uint8_t b : s.start)
        out << quint8(b);
    out << quint8(s.runState) << qint64(s.alarmUs);

    out << quint64(s.sensors.seed);
    for (int k : s.sensors.kinds)
        out << qint32(k);
    for (int h : s.sensors.held)
        out << qint32(h);
    out << qint32(s.sensors.battery);

    const RecorderState& r = s.recorder;
    out << qint32(r.setup.inputs);
    for (int o : r.setup.order)
        out << qint32(o);
    out << qint32(r.setup.recordsPerBlock) << qint32(r.setup.blocks) << r.setup.cyclic
        << qint64(r.setup.intervalUs);
    out << r.active << r.full << r.wrapped << qint32(r.block) << qint32(r.recordsInBlock) << qint64(r.records)
        << qint64(r.nextUs);
}

template <class T, class Wire> void get(QDataStream& in, T& value)
{
    Wire w{};
    in >> w;
    value = T(w);
}

void take(QDataStream& in, LoggerState& s)
{
    s.memory.assign(Logger::kMemorySize, 0);
    if (in.readRawData(reinterpret_cast<char*>(s.memory.data()), int(s.memory.size())) != int(s.memory.size()))
        in.setStatus(QDataStream::ReadPastEnd);
    get<std::int64_t, qint64>(in, s.elapsedUs);
    get<std::int64_t, qint64>(in, s.offsetUs);
    get<std::uint8_t, quint8>(in, s.control);
    get<std::uint8_t, quint8>(in, s.byte7);
    get<std::uint8_t, quint8>(in, s.byte15);
    for (std::uint8_t& b : s.start)
        get<std::uint8_t, quint8>(in, b);
    get<std::uint8_t, quint8>(in, s.runState);
    get<std::int64_t, qint64>(in, s.alarmUs);

    get<std::uint64_t, quint64>(in, s.sensors.seed);
    for (int& k : s.sensors.kinds)
        get<int, qint32>(in, k);
    for (int& h : s.sensors.held)
        get<int, qint32>(in, h);
    get<int, qint32>(in, s.sensors.battery);

    RecorderState& r = s.recorder;
    get<int, qint32>(in, r.setup.inputs);
    for (int& o : r.setup.order)
        get<int, qint32>(in, o);
    get<int, qint32>(in, r.setup.recordsPerBlock);
    get<int, qint32>(in, r.setup.blocks);
    in >> r.setup.cyclic;
    get<std::int64_t, qint64>(in, r.setup.intervalUs);
    in >> r.active >> r.full >> r.wrapped;
    get<int, qint32>(in, r.block);
    get<int, qint32>(in, r.recordsInBlock);
    get<std::int64_t, qint64>(in, r.records);
    get<std::int64_t, qint64>(in, r.nextUs);
}

} // namespace

QByteArray encodeSavedLogger(const SavedLogger& saved)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        out.writeRawData(kMagic.constData(), int(kMagic.size()));
        out << kFormat << qint64(saved.savedAtMs);
        put(out, saved.logger);
    }
    return bytes + hashOf(bytes, bytes.size());
}

SavedLoggerRead decodeSavedLogger(const QByteArray& bytes)
{
    SavedLoggerRead r;
    const qsizetype body = bytes.size() - kHashSize;
    if (body <= kMagic.size() || !bytes.startsWith(kMagic) || bytes.mid(body) != hashOf(bytes, body))
        return r;
    QDataStream in(bytes.left(body));
    in.setVersion(QDataStream::Qt_6_4);
    in.skipRawData(int(kMagic.size()));
    quint32 format = 0;
    qint64 savedAt = 0;
    in >> format >> savedAt;
    if (format != kFormat)
        return r;
    take(in, r.saved.logger);
    r.saved.savedAtMs = savedAt;
    // The whole state, nothing after it, and one a logger can be in.
    if (in.status() != QDataStream::Ok || !in.atEnd() || !Logger().restore(r.saved.logger))
        return r;
    r.status = SavedLoggerStatus::Read;
    return r;
}

} // namespace qz::sim
