#include "store/store_image.h"

#include "model/byte_view.h"
#include "model/image_reader.h"
#include "model/values.h"

#include <QDate>

#include <algorithm>

namespace qz {

namespace {

struct Row {
    LoggerSeconds time;
    std::array<std::uint8_t, mem::kInputs> raw; // by byte of the record
};

void writeStamp(std::uint8_t* block, LoggerSeconds t)
{
    const QDate d = QDate::fromJulianDay(t / 86400 + 2440588);
    const int s = int(t % 86400);
    const int fields[6] = {d.year() % 100, d.month(), d.day(), s / 3600, s / 60 % 60, s % 60};
    for (int i = 0; i < 6; ++i)
        block[mem::kBlockStamp + std::size_t(i)] = intToBcd(fields[i]);
}

// The lowest and highest of each byte of the records in [from, to), in the order they came.
void extremes(const std::vector<Row>& rows, std::size_t from, std::size_t to, int width, Row& early,
              Row& late)
{
    for (int b = 0; b < width; ++b) {
        std::size_t lo = from, hi = from;
        for (std::size_t k = from; k < to; ++k) {
            if (rows[k].raw[std::size_t(b)] < rows[lo].raw[std::size_t(b)])
                lo = k;
            if (rows[k].raw[std::size_t(b)] > rows[hi].raw[std::size_t(b)])
                hi = k;
        }
        early.raw[std::size_t(b)] = rows[std::min(lo, hi)].raw[std::size_t(b)];
        late.raw[std::size_t(b)] = rows[std::max(lo, hi)].raw[std::size_t(b)];
    }
}

} // namespace

StoredImage storedImage(FleetStore& store, const StoredRecording& recording, LoggerSeconds from,
                        LoggerSeconds to)
{
    StoredImage out;
    if (recording.header.size() < int(mem::kHeaderSize) || recording.step <= 0) {
        out.error = QStringLiteral("the store holds no header for this recording");
        return out;
    }
    QByteArray image(int(mem::kImageSize), '\0');
    std::copy(recording.header.begin(), recording.header.begin() + int(mem::kHeaderSize), image.begin());
    const ByteView view{reinterpret_cast<std::uint8_t*>(image.data()), std::size_t(image.size())};
    const ImageReader header = ImageReader::header(view);
    const int width = header.recordWidth();
    const int rpb = header.recordsPerBlock();
    const int blocks = std::clamp(header.memoryBlocks(), 1, mem::kMaxBlocks);
    // Each stored input's byte in the record.
    std::vector<std::pair<int, int>> bytes; // input, position
    for (const StoredInput& in : recording.inputs)
        bytes.emplace_back(in.input, header.recordPosition(in.input));

    // The newest run of consecutive measurements in the range.
    std::vector<Row> rows;
    const StoreResult read =
        store.measurements(recording, from, to, [&](LoggerSeconds t, const std::array<int, 8>& raw) {
            if (!rows.empty() && t != rows.back().time + recording.step) {
                rows.clear();
                out.cut = true;
            }
            Row r{t, {}};
            for (const auto& [input, position] : bytes)
                r.raw[std::size_t(position)] = std::uint8_t(std::clamp(raw[std::size_t(input)], 0, 255));
            rows.push_back(r);
        });
    if (!read.ok()) {
        out.error = read.message;
        return out;
    }
    out.measurements = std::int64_t(rows.size());
    if (rows.size() < 2) {
        out.error = QStringLiteral("fewer than two measurements lie in the range");
        return out;
    }
    out.first = rows.front().time;
    out.last = rows.back().time;

    // Longer than the memory holds: a stretch of `per` measurements becomes two records.
    const std::size_t room = std::size_t(blocks) * std::size_t(rpb);
    std::vector<Row> drawn;
    std::int64_t step = recording.step;
    if (rows.size() <= room) {
        drawn = std::move(rows);
    } else {
        const std::size_t per = 2 * ((rows.size() + room - 1) / room);
        step = std::int64_t(per / 2) * recording.step;
        for (std::size_t k = 0; k < rows.size(); k += per) {
            Row early{0, {}}, late{0, {}};
            extremes(rows, k, std::min(rows.size(), k + per), width, early, late);
            drawn.push_back(early);
            drawn.push_back(late);
        }
        out.perRecord = int(per / 2);
    }
    // The header's interval is the step of the records drawn.
    int period = 1;
    while (step / period > 65535 || step % period != 0) {
        if (++period > 255) {
            out.error = QStringLiteral("the range is too long to draw: choose a shorter one");
            return out;
        }
    }
    view.setU8(mem::kSamplingPeriod, std::uint8_t(period));
    view.setU8(mem::kSamplingReload, std::uint8_t(period));
    view.setU16(mem::kSamplesPerInterval, std::uint16_t(step / period));
    const std::int64_t used = (std::int64_t(drawn.size()) + rpb - 1) / rpb;
    view.setU16(mem::kBlocksUsed, std::uint16_t(used));
    view.setU16(mem::kFirstBlock, 0);
    const LoggerSeconds start = out.first;
    for (std::int64_t b = 0; b < used; ++b) {
        std::uint8_t* block = view.at(mem::blockAddress(int(b)), mem::kBlockSize);
        if (!block)
            break;
        const std::size_t first = std::size_t(b) * std::size_t(rpb);
        const std::size_t n = std::min<std::size_t>(std::size_t(rpb), drawn.size() - first);
        std::fill(block, block + mem::kBlockSize, std::uint8_t(0xFF));
        block[mem::kSampleBytes] = std::uint8_t(n * std::size_t(width));
        writeStamp(block, start + std::int64_t(first) * step - step);
        block[mem::kBatteryCount] = 0;
        for (std::size_t k = 0; k < n; ++k)
            std::copy_n(drawn[first + k].raw.begin(), width, block + mem::kSamples + k * std::size_t(width));
    }
    out.image = image;
    return out;
}

} // namespace qz
