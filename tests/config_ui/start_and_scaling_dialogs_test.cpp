// The delayed start and inputs scaling dialogs: what they keep, what they refuse and what
// they store into the device image.
#include "dialog_rig.h"

#include "model/image_reader.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace qz::test {
namespace {

using DelayedStartDialogTest = DialogTest;
using InputsScalingDialogTest = DialogTest;

TEST_F(DelayedStartDialogTest, TheFieldsProposeTheNextWholeHourUntilTheUserTypes)
{
    ASSERT_TRUE(prepare()); // 14:07:09
    DelayedStartDialog* d = dialog_->delayedStart();
    d->showDialog();
    EXPECT_EQ(text("meDateStart", d), "05/03/26");
    EXPECT_EQ(text("meTimeStart", d), "15:00:00") << "a start still to come";
    EXPECT_EQ(text("lDateFormat", d), "dd/mm/yy");
    EXPECT_EQ(text("lTimeFormat", d), "hh:mm:ss");
    d->hide();
    clock_.advance(3600'000);
    d->showDialog();
    EXPECT_EQ(text("meTimeStart", d), "16:00:00") << "not edited: refreshed";
    d->hide();
    clock_.setLocalNow(QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0)));
    d->showDialog();
    EXPECT_EQ(text("meDateStart", d), "01/01/27");
    EXPECT_EQ(text("meTimeStart", d), "00:00:00");

    auto* date = child<QLineEdit>("meDateStart", d);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(date, &in);
    date->setText("24/12/27");
    d->hide();
    clock_.advance(3600'000);
    d->showDialog();
    EXPECT_EQ(text("meDateStart", d), "24/12/27") << "typed text is kept while it is to come";
    EXPECT_TRUE(d->edited());
    d->hide();
    clock_.setLocalNow(QDateTime(QDate(2028, 1, 2), QTime(9, 15, 0)));
    d->showDialog();
    EXPECT_EQ(text("meDateStart", d), "02/01/28") << "a typed start that has passed is not offered";
    EXPECT_EQ(text("meTimeStart", d), "10:00:00");
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
        {"05/03/26", "14:07:09", "The Start Date/Time Elapsed..."}, // now
        {"05/03/26", "09:00:00", "The Start Date/Time Elapsed..."},
    };
    for (const auto& c : cases) {
        prompt_.clear();
        d->showDialog();
        child<QLineEdit>("meDateStart", d)->setText(c.date);
        child<QLineEdit>("meTimeStart", d)->setText(c.time);
        click("OKBtn", d);
        // A refusal leaves the dialog open on what was typed, to be put right.
        EXPECT_EQ(d->isVisible(), *c.message != 0) << c.date << ' ' << c.time;
        EXPECT_EQ(text("meTimeStart", d), c.time);
        const QStringList expected = *c.message ? QStringList{c.message} : QStringList{};
        EXPECT_EQ(prompt_.texts(), expected) << c.date << ' ' << c.time;
        if (*c.message) {
            EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
        }
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
        {"00", "00", "00", "The delay cannot be 0"}, // a start that would have passed when sent
    };
    for (const auto& c : cases) {
        prompt_.clear();
        d->showDialog();
        child<QLineEdit>("meDelayDays", d)->setText(c.days);
        child<QLineEdit>("meDelayHours", d)->setText(c.hours);
        child<QLineEdit>("meDelayMinutes", d)->setText(c.minutes);
        click("OKBtn", d);
        EXPECT_EQ(d->isVisible(), *c.message != 0) << c.days << ':' << c.hours << ':' << c.minutes;
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
        {0, InputsScalingDialog::MaxColumn, "12,5", "Input 1, Max Scale: 12,5 Is not a valid number"},
        {2, InputsScalingDialog::MinColumn, " low ", "Input 3, Min Scale: low Is not a valid number"},
        {5, InputsScalingDialog::MaxColumn, "3e38",
         "Input 6, Max Scale: 3e38 Is too large for a scale value (largest 1.7E38)"},
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
        EXPECT_EQ(grid->currentRow(), c.row) << "the cell is the current one";
        EXPECT_EQ(grid->currentColumn(), c.column);
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

TEST_F(InputsScalingDialogTest, TheActCellAnswersTheKeyboard)
{
    ASSERT_TRUE(prepare());
    InputsScalingDialog* s = dialog_->inputsScaling();
    s->showDialog();
    QApplication::setActiveWindow(s);
    QTableWidget* grid = s->grid();
    grid->setFocus();
    grid->setCurrentCell(2, InputsScalingDialog::FunctionColumn);
    std::array<bool, mem::kInputs> boxes{};
    for (int i = 0; i < mem::kInputs; ++i)
        boxes[std::size_t(i)] = s->checkBox(i)->isChecked();
    struct Step {
        Qt::Key key;
        int toggled; // the input whose box changed, or -1
    } steps[] = {
        {Qt::Key_Left, 2}, // onto the Act. cell: selected from the keyboard as by a click
        {Qt::Key_Space, 2}, // Space toggles it back
        {Qt::Key_Down, 3},   {Qt::Key_A, -1}, // typing is not editing there
        {Qt::Key_Right, -1}, // off the Act. column
        {Qt::Key_Space, -1},
    };
    for (const Step& step : steps) {
        QTest::keyClick(grid, step.key);
        if (step.toggled >= 0)
            boxes[std::size_t(step.toggled)] = !boxes[std::size_t(step.toggled)];
        for (int i = 0; i < mem::kInputs; ++i)
            EXPECT_EQ(s->checkBox(i)->isChecked(), boxes[std::size_t(i)])
                << "input " << i + 1 << " after key " << step.key;
    }
}

TEST_F(InputsScalingDialogTest, NamesAndUnitsTakeWhatTheLoggerKeeps)
{
    ASSERT_TRUE(prepare());
    InputsScalingDialog* s = dialog_->inputsScaling();
    s->showDialog();
    QApplication::setActiveWindow(s);
    QTableWidget* grid = s->grid();
    const auto edit = [&](int row, int column) {
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        EXPECT_NE(editor, nullptr);
        editor->selectAll();
        return editor;
    };
    QLineEdit* function = edit(0, InputsScalingDialog::FunctionColumn);
    ASSERT_NE(function, nullptr);
    QTest::keyClicks(function, "Temperature");
    EXPECT_EQ(function->text(), "Temperatu");
    EXPECT_EQ(text("lbNote", s), "A function name has at most 9 characters");
    QTest::keyClick(function, Qt::Key_Return);
    QApplication::processEvents(); // the editor commits on its next pass
    EXPECT_EQ(cell(grid, 0, InputsScalingDialog::FunctionColumn), "Temperatu");
    EXPECT_EQ(text("lbNote", s), "");

    QLineEdit* unit = edit(0, InputsScalingDialog::UnitColumn);
    ASSERT_NE(unit, nullptr);
    const QString was = unit->text();
    QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("€"));
    QApplication::sendEvent(unit, &euro);
    EXPECT_EQ(unit->text(), was);
    EXPECT_EQ(text("lbNote", s), QString::fromUtf8("A unit cannot hold the character €"));
    QTest::keyClick(unit, Qt::Key_Escape);

    // A text that came in some other way is refused by OK with its input.
    const auto before = image_;
    prompt_.clear();
    grid->item(3, InputsScalingDialog::UnitColumn)->setText(QString::fromUtf8("€/m³"));
    click("OKBtn", s);
    EXPECT_EQ(prompt_.texts(), QStringList{QString::fromUtf8("Input 4: A unit cannot hold the character €")});
    EXPECT_TRUE(s->isVisible());
    EXPECT_TRUE(image_ == before);
}

} // namespace
} // namespace qz::test
