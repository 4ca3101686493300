#include "config/ui/inputs_scaling_dialog.h"

#include "config/config_texts.h"
#include "config/ui/dialog_texts.h"
#include "config/ui/model_caption.h"
#include "platform/prompt.h"
#include "ui/rule_validator.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qz {

namespace {

constexpr int kHelpContext = 9;
constexpr int kTableWidth = 480;
constexpr int kTableHeight = 252;

constexpr int kLongestScaleText = 8;

// The longest text of each column (the logger's field widths; scale values 8).
int longestText(int column)
{
    switch (column) {
    case InputsScalingDialog::FunctionColumn:
        return int(mem::kInputNameSize);
    case InputsScalingDialog::UnitColumn:
        return int(mem::kInputUnitSize);
    case InputsScalingDialog::MaxColumn:
    case InputsScalingDialog::MinColumn:
        return kLongestScaleText;
    default:
        return 0;
    }
}

// Why a cell's text cannot be stored as typed, or an empty string.
QString cellRefusal(int column, const QString& text)
{
    switch (column) {
    case InputsScalingDialog::FunctionColumn:
        return loggerTextRefusal(texts::functionWhat(), longestText(column), text);
    case InputsScalingDialog::UnitColumn:
        return loggerTextRefusal(texts::unitWhat(), longestText(column), text);
    case InputsScalingDialog::MaxColumn:
    case InputsScalingDialog::MinColumn:
        return text.size() > kLongestScaleText
            ? QStringLiteral("A scale value has at most %1 characters").arg(kLongestScaleText)
            : QString();
    default:
        return {};
    }
}

const char* columnName(int column)
{
    switch (column) {
    case InputsScalingDialog::FunctionColumn:
        return "Function";
    case InputsScalingDialog::UnitColumn:
        return "Units";
    case InputsScalingDialog::MaxColumn:
        return "Max Scale";
    default:
        return "Min Scale";
    }
}

// Cell editors that take what the logger's field holds, and say why they refuse a key.
class FieldDelegate final : public QStyledItemDelegate {
public:
    FieldDelegate(std::function<void(const QString&)> told, QObject* parent)
        : QStyledItemDelegate(parent), told_(std::move(told))
    {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int column = index.column();
            guardField(
                line, [column](const QString& text) { return cellRefusal(column, text); }, told_);
        }
        return editor;
    }

private:
    std::function<void(const QString&)> told_;
};

// The table; the Act. cell also answers the keyboard: Space toggles it, and moving onto it
// with the keys selects it as a click does.
class ScalingGrid final : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    std::function<void(int row)> toggleRow;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space && currentColumn() == InputsScalingDialog::ActiveColumn) {
            toggle(currentRow());
            return;
        }
        const QModelIndex before = currentIndex();
        QTableWidget::keyPressEvent(event);
        if (currentIndex() != before && currentColumn() == InputsScalingDialog::ActiveColumn)
            toggle(currentRow());
    }

private:
    void toggle(int row)
    {
        if (toggleRow && row >= 0)
            toggleRow(row);
    }
};

} // namespace

InputsScalingDialog::InputsScalingDialog(Prompt& prompt, ProgramFolder folder, QWidget* parent)
    : QDialog(parent), prompt_(prompt), folder_(std::move(folder))
{
    setObjectName(QStringLiteral("BtnRightDlg2"));
    baseCaption_ = texts::inputsScalingCaption();
    setWindowTitle(baseCaption_);

    auto* grid = new ScalingGrid(mem::kInputs, ColumnCount, this);
    grid->toggleRow = [this](int row) {
        if (row < mem::kInputs)
            boxes_[std::size_t(row)]->toggle();
    };
    grid_ = grid;
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lbNote"));
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Act. "), QStringLiteral(" Function "),
                                      QStringLiteral("Units"), QStringLiteral("Max Scale"),
                                      QStringLiteral("Min Scale")});
    QStringList numbers;
    for (int i = 1; i <= mem::kInputs; ++i)
        numbers << QString::number(i);
    grid_->setVerticalHeaderLabels(numbers);
    grid_->setItemDelegate(new FieldDelegate([this](const QString& why) { note_->setText(why); }, grid_));
    connect(grid_, &QTableWidget::cellChanged, note_, &QLabel::clear);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setFixedSize(kTableWidth, kTableHeight);
    // Columns in the proportions of the form: number, Act., Function, Units, Max, Min.
    const int widths[] = {629, 806, 2360, 1660, 2140, 2140};
    grid_->verticalHeader()->setFixedWidth(kTableWidth * widths[0] / 10000);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    for (int c = 0; c < ColumnCount; ++c)
        grid_->setColumnWidth(c, kTableWidth * widths[c + 1] / 10000 - 2);
    grid_->horizontalHeader()->setStretchLastSection(true);
    const int rowHeight = kTableHeight / 9 - 2;
    grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid_->horizontalHeader()->setFixedHeight(rowHeight);

    for (int i = 0; i < mem::kInputs; ++i) {
        auto* cell = new QWidget(grid_);
        auto* box = new QCheckBox(cell);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        auto* centre = new QHBoxLayout(cell);
        centre->setContentsMargins(0, 0, 0, 0);
        centre->setAlignment(Qt::AlignCenter);
        centre->addWidget(box);
        grid_->setCellWidget(i, ActiveColumn, cell);
        boxes_[std::size_t(i)] = box;
        auto* item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(i, ActiveColumn, item);
    }
    // Choosing the Act. cell of a row toggles its box.
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == ActiveColumn && row >= 0 && row < mem::kInputs)
            boxes_[std::size_t(row)]->toggle();
    });

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAutoDefault(false);
    auto* help = new QPushButton(tr("Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    help->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &InputsScalingDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &InputsScalingDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });

    auto* panel = new QHBoxLayout;
    panel->addStretch();
    panel->addWidget(ok);
    panel->addWidget(cancel);
    panel->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addWidget(note_);
    layout->addLayout(panel);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool InputsScalingDialog::initialize(ByteView image)
{
    image_ = image;
    const bool accepted = captionWithModel(this, baseCaption_, folder_, image).accepted;
    updateScalingGrid();
    return accepted;
}

void InputsScalingDialog::updateScalingGrid()
{
    shown_ = inputRowsOf(image_);
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputRow& r = shown_[std::size_t(i)];
        boxes_[std::size_t(i)]->setChecked(r.active);
        const QString texts[] = {r.function, r.unit, r.maxText, r.minText};
        for (int c = FunctionColumn; c <= MinColumn; ++c) {
            auto* item = new QTableWidgetItem(texts[c - FunctionColumn]);
            grid_->setItem(i, c, item);
        }
    }
}

InputRows InputsScalingDialog::rows() const
{
    InputRows out;
    for (int i = 0; i < mem::kInputs; ++i) {
        const auto text = [&](int c) {
            const QTableWidgetItem* item = grid_->item(i, c);
            return item ? item->text() : QString();
        };
        InputRow& r = out[std::size_t(i)];
        r.active = boxes_[std::size_t(i)]->isChecked();
        r.function = text(FunctionColumn);
        r.unit = text(UnitColumn);
        r.maxText = text(MaxColumn);
        r.minText = text(MinColumn);
    }
    return out;
}

void InputsScalingDialog::showDialog()
{
    show();
    raise();
    activateWindow();
}

void InputsScalingDialog::accept()
{
    // An edit still open belongs to the table.
    if (QWidget* editor = grid_->focusWidget(); editor && editor != grid_)
        grid_->setFocus();
    const InputRows table = rows();
    // Texts the logger would cut or change are refused with their input and the reason.
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputRow& r = table[std::size_t(i)];
        const std::pair<int, const QString*> cells[] = {{FunctionColumn, &r.function}, {UnitColumn, &r.unit}};
        for (const auto& [column, text] : cells) {
            if (const QString why = cellRefusal(column, *text); !why.isEmpty()) {
                prompt_.tell(QStringLiteral("Input %1: ").arg(i + 1) + why, PromptSymbol::Error);
                grid_->setCurrentCell(i, column);
                return;
            }
        }
    }
    std::array<InputSetting, mem::kInputs> settings;
    const InputsRefusal refusal = settingsFromRows(table, shown_, image_, QLocale(), settings);
    if (!refusal.ok()) {
        // The cell is named: a table of eight rows has many places for "10,5".
        const int column = refusal.maxScale ? MaxColumn : MinColumn;
        prompt_.tell(
            QStringLiteral("Input %1, %2: ").arg(refusal.input + 1).arg(QLatin1String(columnName(column)))
                + refusal.message(),
            PromptSymbol::Error);
        grid_->setCurrentCell(refusal.input, column);
        return;
    }
    storeInputSettings(image_, settings);
    updateScalingGrid();
    hide();
}

void InputsScalingDialog::reject()
{
    updateScalingGrid();
    note_->clear();
    hide();
}

} // namespace qz
