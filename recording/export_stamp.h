#pragma once
// The date-time field that begins each exported line, for long exports: the same text as
// the date value's export stamp of the measurement's time, computed from whole seconds so
// that a line costs no calendar conversion and no formatting call.
#include "model/image_reader.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>

namespace qz {

class ExportStamper {
public:
    // The local date and time as YYYY-MM-DDThh:mm:ss, with no separator after it.
    static constexpr int kIsoForm = 5;

    // form: the export kind (0..5; any other form writes nothing).
    ExportStamper(const ImageReader& reader, int form);

    // Appends the field of measurement k (counted from 1), UTF-8.
    void append(QByteArray& out, int k);

private:
    void selectDay(std::int64_t day);

    const ImageReader& reader_;
    int form_;
    bool exact_ = false; // the oldest block's stamp is a real instant
    QDate baseDate_;
    std::int64_t baseSecond_ = 0; // second of the day of the stamp
    std::int64_t step_ = 0; // seconds between measurements
    QByteArray decimalPoint_;
    std::int64_t day_ = -1; // day offset the cached texts belong to
    QByteArray dateText_;
    double dayNumber_ = 0;
};

} // namespace qz
