// The export's fast date-time field gives exactly the date value's export stamp of each
// measurement's time, across days, months, leap days, centuries and locales.
#include "recording/export_stamp.h"

#include "model/logger_date.h"
#include "recording_fixture.h"

namespace qz::test {
namespace {

using ExportStamp = RecordingTest;

void expectSameStamps(const RecordingData& r, int lastMeasurement, const char* what)
{
    for (int form = 0; form <= 6; ++form) { // 6: no form, nothing written
        ExportStamper stamper(r.reader(), form);
        for (int k = 1; k <= lastMeasurement; k += (k < 200 ? 1 : 97)) {
            QByteArray fast;
            stamper.append(fast, k);
            LoggerDate d;
            d.setDateTime(r.reader().recordDateTime(k));
            ASSERT_EQ(fast.toStdString(), d.exportStamp(form).toUtf8().toStdString())
                << what << " form " << form << " measurement " << k;
        }
    }
}

TEST_F(ExportStamp, MatchesDateValueStamp)
{
    const struct {
        int yy, mo, dd, hh, mi, ss;
        int period, samples;
        const char* what;
    } cases[] = {
        {0, 2, 28, 23, 59, 58, 1, 1, "leap day, 1 s"},
        {99, 12, 31, 23, 0, 0, 1, 90, "century, 90 s"},
        {79, 12, 31, 12, 0, 0, 60, 60, "last year, hourly"},
        {80, 1, 1, 0, 0, 0, 255, 65535, "longest interval"},
        {5, 6, 15, 10, 0, 0, 59, 61, "3599 s"},
        {1, 3, 5, 14, 7, 9, 0, 10, "no interval"},
    };
    for (const auto& c : cases) {
        auto r =
            load(coldStore().start(c.yy, c.mo, c.dd, c.hh, c.mi, c.ss).interval(c.period, c.samples).build());
        expectSameStamps(*r, r->measurementCount() + 5000, c.what);
    }
}

TEST_F(ExportStamp, MatchesWithDecimalComma)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto r = load(coldStore().build());
    expectSameStamps(*r, 3000, "decimal comma");
}

TEST_F(ExportStamp, ImpossibleStampFallsBackToDateValue)
{
    QByteArray image = coldStore().build();
    image[385 + 1] = 0x13; // month 13 in the oldest block's stamp
    auto r = load(image);
    expectSameStamps(*r, 300, "month 13");
}

} // namespace
} // namespace qz::test
