#include "store/store_csv.h"

#include "model/image_reader.h"
#include "model/number_pattern.h"
#include "model/values.h"
#include "platform/safe_file.h"
#include "recording/csv_export.h"
#include "recording/scaling.h"

#include <QDate>

#include <array>

namespace qz {

namespace {

constexpr qsizetype kFlushSize = 1 << 16;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The columns and value fields of a recording's inputs, as its recording file exports them.
struct CsvColumns {
    QByteArray header;
    std::vector<int> inputs;
    // Each input's 256 possible fields, formatted once.
    std::vector<std::array<QByteArray, 256>> fields;
};

CsvColumns columnsOf(const StoredRecording& r)
{
    CsvColumns c;
    const ImageReader header = ImageReader::header(
        {reinterpret_cast<const std::uint8_t*>(r.header.constData()), std::size_t(r.header.size())});
    QString line = QStringLiteral("time");
    for (const StoredInput& in : r.inputs) {
        line += QLatin1Char(',') + csvField(csvColumnName(in.name, in.unit, in.input));
        const double low = header.scaleLow(in.input);
        const double high = header.scaleHigh(in.input);
        const Conversion conversion =
            makeConversion(low, high, header.calLow(in.input), header.calHigh(in.input));
        const int decimals = csvDecimals(conversion);
        std::array<QByteArray, 256> fields;
        for (int raw = 0; raw < 256; ++raw)
            fields[std::size_t(raw)] = ',' + csvNumber(conversion.physical(raw), decimals);
        c.inputs.push_back(in.input);
        c.fields.push_back(fields);
    }
    c.header = line.toUtf8();
    return c;
}

} // namespace

void IsoStamper::append(QByteArray& out, LoggerSeconds t)
{
    const std::int64_t day = floorDiv(t, 86400);
    if (day != day_) {
        day_ = day;
        const QDate d = QDate::fromJulianDay(day + 2440588);
        date_ = QStringLiteral("%1-%2-%3T")
                    .arg(d.year(), 4, 10, QLatin1Char('0'))
                    .arg(d.month(), 2, 10, QLatin1Char('0'))
                    .arg(d.day(), 2, 10, QLatin1Char('0'))
                    .toLatin1();
    }
    const int s = int(t - day * 86400);
    const int parts[3] = {s / 3600, s / 60 % 60, s % 60};
    char time[8];
    for (int i = 0; i < 3; ++i) {
        time[3 * i] = char('0' + parts[i] / 10);
        time[3 * i + 1] = char('0' + parts[i] % 10);
        if (i < 2)
            time[3 * i + 2] = ':';
    }
    out += date_;
    out.append(time, 8);
}

CsvExportResult exportStoredCsv(FleetStore& store, const std::vector<StoredRecording>& recordings,
                                LoggerSeconds from, LoggerSeconds to, QIODevice& out)
{
    CsvExportResult result;
    QByteArray buffer;
    IsoStamper stamp;
    QByteArray lastHeader;
    const auto flush = [&] {
        if (result.writeError.isEmpty()
            && !writeAll(out, buffer.constData(), buffer.size(), result.writeError))
            return false;
        buffer.clear();
        return result.writeError.isEmpty();
    };
    for (const StoredRecording& r : recordings) {
        if (r.last < from || r.origin > to)
            continue;
        const CsvColumns c = columnsOf(r);
        if (c.header != lastHeader) {
            buffer += c.header;
            buffer += "\r\n";
            lastHeader = c.header;
        }
        result.store = store.measurements(r, from, to, [&](LoggerSeconds t, const std::array<int, 8>& raw) {
            if (!result.writeError.isEmpty())
                return;
            stamp.append(buffer, t);
            for (std::size_t i = 0; i < c.inputs.size(); ++i) {
                const int v = raw[std::size_t(c.inputs[i])];
                if (v >= 0 && v < 256)
                    buffer += c.fields[i][std::size_t(v)];
                else
                    buffer += ',';
            }
            buffer += "\r\n";
            ++result.rows;
            if (buffer.size() >= kFlushSize)
                flush();
        });
        if (!result.store.ok() || !result.writeError.isEmpty())
            return result;
    }
    flush();
    return result;
}

} // namespace qz
