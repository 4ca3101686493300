// The delayed start and inputs scaling dialogs: what they keep, what they refuse and what
// they store into the device image.
#include "dialog_rig.h"

#include "model/image_reader.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTableWidget>

namespace qz::test {
namespace {

using DelayedStartDialogTest = DialogTest;
using InputsScalingDialogTest = DialogTest;

TEST_F(DelayedStartDialogTest, TheDateFieldsFollowTheClockUntilTheUserTypes)
{
    ASSERT_TRUE(prepare());
    DelayedStartDialog* d = dialog_->delayedStart();
    d->showDialog();
    EXPECT_EQ(text("meDateStart", d), "05/03/26");
    d->hide();
    clock_.advance(3600'000);
    d->showDialog();
    EXPECT_EQ(text("meTimeStart", d), "15:07:09") << "not edited: refreshed";

    auto* date = child<QLineEdit>("meDateStart", d);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(date, &in);
    date->setText("24/12/26");
    d->hide();
    clock_.advance(3600'000);
    d->showDialog();
    EXPECT_EQ(text("meDateStart", d), "24/12/26") << "typed text is kept";
    EXPECT_TRUE(d->edited());
}

TEST_F(DelayedStartDialogTest, OkKeepsAValidStartAndRefusesAnInvalidOne)
{
    ASSERT_TRUE(prepare());
    DelayedStartDialog* d = dialog_->delayedStart();
    struct Case {
        const char* date;
        const char* time;
        const char* message; // empty: kept
    } cases[] = {
        {"06/03/26", "08:30:00", ""},
        {"29/02/01", "08:30:00", "Invalid Date"},
        {"06/03/26", "24:00:00", "Invalid Time"},
        {"  /  /  ", "08:30:00", "Invalid Date"},
        // The logger's alarm has no year: a year ahead or more would start too early.
        {"05/03/27", "14:07:09", "The Start Date/Time is too far ahead\rIt must be before 05/03/27 14:07:09"},
        {"01/06/30", "00:00:00", "The Start Date/Time is too far ahead\rIt must be before 05/03/27 14:07:09"},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        d->showDialog();
        child<QLineEdit>("meDateStart", d)->setText(c.date);
        child<QLineEdit>("meTimeStart", d)->setText(c.time);
        click("OKBtn", d);
        EXPECT_FALSE(d->isVisible()) << "hidden after OK in every case: " << c.date;
        const QStringList expected = *c.message ? QStringList{c.message} : QStringList{};
        EXPECT_EQ(prompt_.texts(), expected) << c.date << ' ' << c.time;
        // The first start stays: refusals keep it.
        LoggerDate start;
        start.setDateTime(d->plan().startInstant);
        EXPECT_EQ(start.dateText() + ' ' + start.timeText(), "06/03/26 08:30:00") << c.date;
        EXPECT_EQ(d->plan().mode, DelayedStart::Mode::Date);
    }
}

TEST_F(DelayedStartDialogTest, DelayModeShowsItsFieldsAndChecksThem)
{
    ASSERT_TRUE(prepare());
    DelayedStartDialog* d = dialog_->delayedStart();
    d->showDialog();
    click("rbDelay", d);
    EXPECT_EQ(text("lDate", d), "Days");
    EXPECT_EQ(text("lTime", d), "Mins");
    EXPECT_TRUE(child("lHours", d)->isVisibleTo(d));
    EXPECT_FALSE(child("meDateStart", d)->isVisibleTo(d));
    EXPECT_TRUE(child("meDelayDays", d)->isVisibleTo(d));
    EXPECT_EQ(d->plan().mode, DelayedStart::Mode::Delay);

    struct Case {
        const char* days;
        const char* hours;
        const char* minutes;
        const char* message;
    } cases[] = {
        {"30", "23", "59", ""},
        {"31", "00", "00", "The delay can be at most 30 days"},
        {"00", "24", "00", "The delay hours must be 0 to 23"},
        {"00", "00", "60", "The delay minutes must be 0 to 59"},
        {"", "00", "00", "'' is not a number of days, hours or minutes"},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        d->showDialog();
        child<QLineEdit>("meDelayDays", d)->setText(c.days);
        child<QLineEdit>("meDelayHours", d)->setText(c.hours);
        child<QLineEdit>("meDelayMinutes", d)->setText(c.minutes);
        click("OKBtn", d);
        EXPECT_FALSE(d->isVisible());
        const QStringList expected = *c.message ? QStringList{c.message} : QStringList{};
        EXPECT_EQ(prompt_.texts(), expected) << c.days << ':' << c.hours << ':' << c.minutes;
        if (*c.message) {
            EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
        }
        EXPECT_NEAR(d->plan().delay, 30 + 23 / 24.0 + 59 / 1440.0, 1e-9) << "the accepted delay stays";
    }

    click("rbDate", d);
    EXPECT_EQ(text("lDate", d), "Start");
    EXPECT_TRUE(child("meDateStart", d)->isVisibleTo(d));
    EXPECT_FALSE(child("lHours", d)->isVisibleTo(d));
}

TEST_F(DelayedStartDialogTest, CancelKeepsNothing)
{
    ASSERT_TRUE(prepare());
    DelayedStartDialog* d = dialog_->delayedStart();
    d->showDialog();
    child<QLineEdit>("meDateStart", d)->setText("06/03/26");
    click("CancelBtn", d);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->plan().startInstant, 0);
}

// The table's text in a cell (row = input 0..7).
QString cell(QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

TEST_F(InputsScalingDialogTest, TheTableShowsTheImagesInputs)
{
    ASSERT_TRUE(prepare());
    show();
    click("bSelPage2");
    InputsScalingDialog* s = dialog_->inputsScaling();
    ASSERT_TRUE(s->isVisible());
    QTableWidget* grid = s->grid();
    EXPECT_EQ(grid->objectName(), "StringGrid1");
    const QStringList headings = {"Act. ", " Function ", "Units", "Max Scale", "Min Scale"};
    for (int c = 0; c < grid->columnCount(); ++c)
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), headings[c]);
    const ImageReader image = ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()});
    for (int i = 0; i < mem::kInputs; ++i) {
        EXPECT_EQ(s->checkBox(i)->objectName(), QString("CheckBox%1").arg(i + 1));
        EXPECT_EQ(s->checkBox(i)->isChecked(), image.isInputRecorded(i)) << i;
        EXPECT_EQ(cell(grid, i, InputsScalingDialog::FunctionColumn), image.inputName(i)) << i;
        EXPECT_EQ(cell(grid, i, InputsScalingDialog::UnitColumn), image.inputUnit(i)) << i;
        EXPECT_EQ(cell(grid, i, InputsScalingDialog::MaxColumn), image.scaleHighText(i)) << i;
        EXPECT_EQ(cell(grid, i, InputsScalingDialog::MinColumn), image.scaleLowText(i)) << i;
    }
}

TEST_F(InputsScalingDialogTest, ABadScaleIsRefusedAndTheDialogStaysOpen)
{
    ASSERT_TRUE(prepare());
    InputsScalingDialog* s = dialog_->inputsScaling();
    s->showDialog();
    const auto before = image_;
    QTableWidget* grid = s->grid();
    struct Case {
        int row;
        int column;
        const char* text;
        const char* message;
    } cases[] = {
        {0, InputsScalingDialog::MaxColumn, "12,5", "12,5 Is not a valid number"},
        {2, InputsScalingDialog::MinColumn, " low ", "low Is not a valid number"},
        {5, InputsScalingDialog::MaxColumn, "3e38", "3e38 Is too large for a scale value (largest 1.7E38)"},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        const QString was = cell(grid, c.row, c.column);
        grid->item(c.row, c.column)->setText(c.text);
        click("OKBtn", s);
        EXPECT_EQ(prompt_.texts(), QStringList{c.message});
        EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
        EXPECT_TRUE(s->isVisible());
        EXPECT_TRUE(image_ == before) << c.text;
        EXPECT_EQ(cell(grid, c.row, c.column), c.text) << "the user's edit stays";
        grid->item(c.row, c.column)->setText(was);
    }
}

TEST_F(InputsScalingDialogTest, OkStoresTheTableAndCancelShowsTheImageAgain)
{
    ASSERT_TRUE(prepare());
    InputsScalingDialog* s = dialog_->inputsScaling();
    s->showDialog();
    QTableWidget* grid = s->grid();
    for (int i = 0; i < mem::kInputs; ++i)
        s->checkBox(i)->setChecked(i == 0 || i == 2 || i == 7);
    grid->item(7, InputsScalingDialog::FunctionColumn)->setText("Soil");
    grid->item(7, InputsScalingDialog::UnitColumn)->setText("kPa");
    grid->item(7, InputsScalingDialog::MaxColumn)->setText("12.5");
    grid->item(7, InputsScalingDialog::MinColumn)->setText("-0.5");
    click("OKBtn", s);
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_FALSE(s->isVisible());
    const ImageReader image = ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()});
    EXPECT_EQ(image.inputMask(), 0x85);
    EXPECT_EQ(image_[mem::kInputCount], 3);
    EXPECT_EQ(image.inputName(7), "Soil");
    EXPECT_EQ(image.inputUnit(7), "kPa");
    EXPECT_EQ(image.scaleHigh(7), 12.5);
    EXPECT_EQ(image.scaleLow(7), -0.5);

    // Edits that are cancelled are forgotten.
    s->showDialog();
    grid->item(7, InputsScalingDialog::FunctionColumn)->setText("Other");
    s->checkBox(1)->setChecked(true);
    click("CancelBtn", s);
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(cell(grid, 7, InputsScalingDialog::FunctionColumn), "Soil");
    EXPECT_FALSE(s->checkBox(1)->isChecked());
    EXPECT_EQ(image.inputMask(), 0x85);
}

TEST_F(InputsScalingDialogTest, ChoosingTheActCellTogglesItsBox)
{
    ASSERT_TRUE(prepare());
    InputsScalingDialog* s = dialog_->inputsScaling();
    s->showDialog();
    const bool was = s->checkBox(4)->isChecked();
    emit s->grid()->cellClicked(4, InputsScalingDialog::ActiveColumn);
    EXPECT_NE(s->checkBox(4)->isChecked(), was);
    emit s->grid()->cellClicked(4, InputsScalingDialog::UnitColumn);
    EXPECT_NE(s->checkBox(4)->isChecked(), was) << "other columns do not toggle";
}

} // namespace
} // namespace qz::test
