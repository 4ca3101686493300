#include "recording/export_stamp.h"

#include "model/datetime_number.h"
#include "model/logger_date.h"

#include <QLocale>

#include <cstdio>

namespace qz {

namespace {

void appendTwoDigits(QByteArray& out, int v)
{
    out += char('0' + (v / 10) % 10);
    out += char('0' + v % 10);
}

// YYYY-MM-DD
void appendIsoDate(QByteArray& out, int year, int month, int day)
{
    appendTwoDigits(out, year / 100);
    appendTwoDigits(out, year % 100);
    out += '-';
    appendTwoDigits(out, month);
    out += '-';
    appendTwoDigits(out, day);
}

void appendTime(QByteArray& out, int hour, int minute, int second)
{
    appendTwoDigits(out, hour);
    out += ':';
    appendTwoDigits(out, minute);
    out += ':';
    appendTwoDigits(out, second);
}

} // namespace

ExportStamper::ExportStamper(const ImageReader& reader, int form)
    : reader_(reader), form_(form), decimalPoint_(QLocale().decimalPoint().toUtf8())
{
    // The instant of measurement 0 is the stamp itself; whole seconds from there on.
    LoggerDate base;
    const double start = reader.recordDateTime(0);
    if (start != 0 && base.setDateTime(start) && base.MSec == 0) {
        baseDate_ = QDate(base.Year, base.Month, base.Day);
        baseSecond_ = base.Hour * 3600 + base.Min * 60 + base.Sec;
        const int interval = reader.interval();
        step_ = interval >= 3600 ? 3600 : interval;
        exact_ = baseDate_.isValid();
    }
}

void ExportStamper::selectDay(std::int64_t day)
{
    if (day == day_)
        return;
    day_ = day;
    const QDate d = baseDate_.addDays(day);
    dateText_.clear();
    if (form_ == kIsoForm) {
        appendIsoDate(dateText_, d.year(), d.month(), d.day());
        dateText_ += 'T';
        return;
    }
    appendTwoDigits(dateText_, d.day());
    dateText_ += '/';
    appendTwoDigits(dateText_, d.month());
    dateText_ += '/';
    appendTwoDigits(dateText_, d.year() % 100);
    if (!encodeDate(d.year(), d.month(), d.day(), dayNumber_))
        dayNumber_ = 0;
}

void ExportStamper::append(QByteArray& out, int k)
{
    if (!exact_) {
        // No usable stamp: the date value's own conversion decides.
        LoggerDate d;
        d.setDateTime(reader_.recordDateTime(k));
        out += d.exportStamp(form_).toUtf8();
        return;
    }
    const std::int64_t second = baseSecond_ + step_ * k;
    selectDay(second / 86400);
    const int ofDay = int(second % 86400);
    const int hour = ofDay / 3600;
    const int minute = ofDay / 60 % 60;
    const int sec = ofDay % 60;
    const auto appendClock = [&] { appendTime(out, hour, minute, sec); };
    switch (form_) {
    case 0:
        out += dateText_;
        out += ' ';
        appendClock();
        out += '\t';
        break;
    case 1:
    case 2: {
        double time = 0;
        encodeTime(hour, minute, sec, 0, time);
        char text[64];
        const int n = std::snprintf(text, sizeof text, "%.9f", dayNumber_ + time);
        QByteArray number(text, n > 0 && n < int(sizeof text) ? n : 0);
        number.replace('.', decimalPoint_);
        out += number;
        out += form_ == 1 ? '\t' : ';';
        break;
    }
    case 3:
        appendClock();
        out += '\t';
        break;
    case 4:
        out += dateText_;
        out += '\t';
        break;
    case kIsoForm:
        out += dateText_;
        appendClock();
        break;
    default:
        break;
    }
}

} // namespace qz
