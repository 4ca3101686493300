#include "app/ui/document_dialogs.h"
#include "app/ui/status_image.h"
#include "support/scripted_pump.h"
#include "ui/message_box_prompt.h"
#include "ui/progress_dialog.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qz {

TEST(FormGauge, HoldsTheBarInsideItsRangeAndShowsCancelOnlyWhenAsked)
{
    test::ScriptedPump pump;
    ProgressDialog gauge(pump);
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(gauge.position(), 0);
    EXPECT_FALSE(gauge.cancelVisible());
    gauge.setCaption("Downloading Quorvant ...");
    EXPECT_EQ(gauge.windowTitle(), "Downloading Quorvant ...");
    const std::pair<int, int> positions[] = {{55, 55}, {-5, 0}, {100, 100}, {140, 100}};
    for (const auto& [given, shown] : positions) {
        gauge.setPosition(given);
        EXPECT_EQ(gauge.position(), shown) << given;
    }
    gauge.setMaximum(500);
    gauge.setPosition(420);
    EXPECT_EQ(gauge.position(), 420);
    gauge.setCancelEnabled(true);
    EXPECT_TRUE(gauge.cancelVisible());
    // The line under Cancel, whole, neither over the button nor over the bar.
    gauge.setText("Block 37 of 508, 1:02:05 left");
    EXPECT_EQ(gauge.text(), "Block 37 of 508, 1:02:05 left");
    const auto* line = gauge.findChild<QLabel*>("GaugeText");
    ASSERT_TRUE(line);
    EXPECT_LE(line->fontMetrics().horizontalAdvance(gauge.text()), line->width());
    EXPECT_FALSE(line->geometry().intersects(gauge.findChild<QPushButton*>("CancelBtn")->geometry()));
    EXPECT_FALSE(line->geometry().intersects(gauge.findChild<QWidget*>("Gauge")->geometry()));
}

TEST(FormGauge, CancelIsSeenAfterPendingEventsAndClearedOnHide)
{
    test::ScriptedPump pump;
    ProgressDialog gauge(pump);
    gauge.setCancelEnabled(true);
    auto* cancel = gauge.findChild<QPushButton*>("CancelBtn");
    ASSERT_NE(cancel, nullptr);
    // The click arrives while the dialog processes pending events.
    pump.onCall(2, [cancel] { cancel->click(); });
    EXPECT_FALSE(gauge.cancelled());
    EXPECT_TRUE(gauge.cancelled());
    EXPECT_EQ(pump.calls(), 2);
    gauge.dismiss();
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_FALSE(gauge.cancelled());
}

TEST(MessageBoxPrompt, ShowsCarriageReturnsAsNewLinesAndNamesItsSymbols)
{
    EXPECT_EQ(MessageBoxPrompt::displayText("Low Battery \r  (< 3.3 V) "), "Low Battery \n  (< 3.3 V) ");
    EXPECT_EQ(MessageBoxPrompt::displayText("a\r\nb"), "a\nb");
    EXPECT_EQ(MessageBoxPrompt::captionFor(PromptSymbol::Error), "Error");
    EXPECT_EQ(MessageBoxPrompt::captionFor(PromptSymbol::Warning), "Warning");
    EXPECT_EQ(MessageBoxPrompt::captionFor(PromptSymbol::Confirmation), "Confirm");
    EXPECT_EQ(MessageBoxPrompt::captionFor(PromptSymbol::Information), "Information");
}

TEST(DocumentDialogs, ReadBarFiltersAndCheckExtensions)
{
    EXPECT_EQ(nameFilters("Quorvant files (*.qrv)|*.qrv|All files (*.*)|*.*|"),
              QStringList({"Quorvant files (*.qrv)", "All files (*.*)"}));
    EXPECT_EQ(nameFilters("Bitmap files (*.bmp)|*.bmp"), QStringList({"Bitmap files (*.bmp)"}));
    EXPECT_EQ(nameFilters(""), QStringList());

    struct Case {
        const char* name;
        const char* ext;
        bool matches;
    };
    const Case cases[] = {
        {"/data/run.qrv", "qrv", true}, {"/data/RUN.QRV", "qrv", true},  {"/data/run.qrv.txt", "qrv", false},
        {"/data/run", "qrv", false},    {"/data.qrv/run", "qrv", false}, {"graph.bmp", "bmp", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hasExtension(c.name, c.ext), c.matches) << c.name;

    EXPECT_EQ(withExtension("/data/field/run.qrv", "bmp"), "run.bmp");
    EXPECT_EQ(withExtension("/data/field/run.v2.qrv", "txt"), "run.v2.txt");
    EXPECT_EQ(withExtension("/data/field/run", "bmp"), "run.bmp");
    EXPECT_EQ(baseFileName("/data/field/run.qrv"), "run.qrv");
    EXPECT_EQ(baseFileName(""), "");
}

TEST(StatusImage, DrawsOneColumnPerDrawnInputAfterTheTimeColumn)
{
    StatusImage status;
    status.resize(700, 29);
    EXPECT_TRUE(status.isCleared());
    StatusReadout readout;
    readout.texts = {"05/03/26 14:07:09 ", " 21.5", "  3.0 ", "-18.25"};
    readout.units = {"",
                     " \xb0"
                     "C ",
                     "%",
                     "\xb0"
                     "C"};
    readout.colours.fill(0);
    readout.colours[0] = 0x000000FF; // red time column
    readout.colours[1] = 0x00FF0000; // blue input 1
    readout.drawn = {true, false, true, true, false, false, false, false};
    status.drawStatus(readout);
    EXPECT_FALSE(status.isCleared());
    ASSERT_EQ(status.columns().size(), 3);
    EXPECT_LT(status.columns()[0], status.columns()[1]);
    // Columns are equally wide: units are set in seven characters.
    EXPECT_EQ(status.columns()[1] - status.columns()[0], status.columns()[2] - status.columns()[1]);
    bool red = false, blue = false;
    for (int x = 0; x < status.image().width(); ++x)
        for (int y = 0; y < status.image().height(); ++y) {
            const QColor c = status.image().pixelColor(x, y);
            red |= c.red() > 200 && c.green() < 80 && c.blue() < 80;
            blue |= c.blue() > 200 && c.red() < 80 && c.green() < 80;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);

    status.clearStatus();
    EXPECT_TRUE(status.isCleared());
    EXPECT_TRUE(status.columns().isEmpty());
}

TEST(StatusImage, ShortReadoutListsDrawWithoutReadingPastThem)
{
    StatusImage status;
    status.resize(400, 29);
    StatusReadout readout;
    readout.texts = {"12:00"};
    readout.drawn.fill(true);
    status.drawStatus(readout);
    EXPECT_EQ(status.columns().size(), 8);
    readout.texts.clear();
    status.drawStatus(readout);
    EXPECT_TRUE(status.isCleared());
}

} // namespace qz
