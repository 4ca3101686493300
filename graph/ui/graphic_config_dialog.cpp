#include "graph/ui/graphic_config_dialog.h"

#include "graph/graph_colours.h"
#include "model/image_reader.h"
#include "model/values.h"
#include "ui/colour_chooser.h"
#include "ui/internal_messages.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace qz {

namespace {

constexpr int kHelpContext = 19;

QString trimmed(const QString& text)
{
    return trimLeadingBlanks(trimTrailingBlanks(text));
}

// A caption shows '&' as it is, not as a shortcut mark.
QString literal(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void setTextColour(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(role, c);
    w->setPalette(p);
}

} // namespace

QString plotCaption(int input, const QString& name, const QString& unit)
{
    return QString::number(input + 1).leftJustified(1) + u' ' + trimmed(name).leftJustified(9) + u' '
        + trimmed(unit).leftJustified(6);
}

GraphicConfigDialog::GraphicConfigDialog(ColourChooser& chooser, QWidget* parent)
    : QDialog(parent), chooser_(chooser)
{
    setObjectName(QStringLiteral("GraphicConfig"));
    setWindowTitle(QStringLiteral("ZK300 Graphic Configuration"));
    setModal(false);

    auto* plot = new QGroupBox(QStringLiteral("Plot"), this);
    plot->setObjectName(QStringLiteral("GroupBox1"));
    auto* left = new QGroupBox(QStringLiteral("Left Scale"), this);
    left->setObjectName(QStringLiteral("GroupBox2"));
    auto* right = new QGroupBox(QStringLiteral("Right Scale"), this);
    right->setObjectName(QStringLiteral("GroupBox3"));
    plot_ = makeBoxes(plot, 2);
    left_ = makeBoxes(left, 10);
    right_ = makeBoxes(right, 19);
    // The Plot captions are columns of number, name and unit.
    QFont fixed(QStringLiteral("Courier New"), 9);
    fixed.setStyleHint(QFont::TypeWriter);
    for (QCheckBox* box : plot_)
        box->setFont(fixed);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    autoScale_ = new QCheckBox(QStringLiteral("Auto Scaling"), panel);
    autoScale_->setObjectName(QStringLiteral("CheckBox1"));
    autoScale_->setChecked(true);
    ownScales_ = new QCheckBox(QStringLiteral("Each input on its own scale"), panel);
    ownScales_->setObjectName(QStringLiteral("OwnScalesBox"));
    grid_ = new QCheckBox(QStringLiteral("Grid lines"), panel);
    grid_->setObjectName(QStringLiteral("GridBox"));
    grid_->setChecked(true);
    align_ = new QCheckBox(QStringLiteral("Align recordings at their starts"), panel);
    align_->setObjectName(QStringLiteral("AlignBox"));
    auto* panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(autoScale_, 0, 0);
    panelLayout->addWidget(ownScales_, 0, 1);
    panelLayout->addWidget(grid_, 1, 0);
    panelLayout->addWidget(align_, 1, 1);
    // The axis inputs choose the scales shown when each input has its own; they stay
    // editable for that drawing whichever is shown.
    for (QWidget* group : {static_cast<QWidget*>(left), static_cast<QWidget*>(right)})
        group->setToolTip(QStringLiteral("The scales drawn with \"Each input on its own scale\""));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    connect(ok, &QPushButton::clicked, this, &GraphicConfigDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &GraphicConfigDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(plot, 2);
    boxes->addWidget(left, 1);
    boxes->addWidget(right, 1);
    auto* body = new QVBoxLayout;
    body->addLayout(boxes);
    body->addWidget(panel);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    for (int i = 0; i < mem::kInputs; ++i) {
        connect(left_[std::size_t(i)], &QCheckBox::clicked, this,
                [this, i] { axisBoxClicked(left_, leftInput_, i); });
        connect(right_[std::size_t(i)], &QCheckBox::clicked, this,
                [this, i] { axisBoxClicked(right_, rightInput_, i); });
    }
    applyColours();
}

GraphicConfigDialog::Boxes GraphicConfigDialog::makeBoxes(QWidget* group, int firstNumber)
{
    Boxes boxes{};
    auto* layout = new QVBoxLayout(group);
    for (int i = 0; i < mem::kInputs; ++i) {
        auto* box = new QCheckBox(QString::number(i + 1), group);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(firstNumber + i));
        box->installEventFilter(this);
        layout->addWidget(box);
        boxes[std::size_t(i)] = box;
    }
    return boxes;
}

void GraphicConfigDialog::setUp(const ImageReader& reader, const DisplaySettings& settings,
                                const ColourTable& colours, int recordings)
{
    settings_ = settings;
    colours_ = colours;
    autoScale_->setChecked(settings.autoScale);
    ownScales_->setChecked(settings.ownScales);
    grid_->setChecked(settings.grid);
    align_->setChecked(settings.alignStarts);
    align_->setEnabled(recordings > 1);
    applyColours();
    leftInput_ = settings.leftAxisInput;
    rightInput_ = settings.rightAxisInput;
    for (int i = 0; i < mem::kInputs; ++i) {
        const std::size_t n = std::size_t(i);
        for (QCheckBox* box : {plot_[n], left_[n], right_[n]})
            box->setChecked(false);
        plot_[n]->setText(QString::number(i + 1));
        const bool enabled = settings.enabled[n];
        for (QCheckBox* box : {plot_[n], left_[n], right_[n]})
            box->setEnabled(enabled);
        if (!enabled) {
            left_[n]->setText(QString());
            right_[n]->setText(QString());
            continue;
        }
        plot_[n]->setChecked(settings.shown[n]);
        plot_[n]->setText(literal(plotCaption(i, reader.inputName(i), reader.inputUnit(i))));
        left_[n]->setText(literal(reader.inputName(i)));
        right_[n]->setText(literal(reader.inputName(i)));
    }
    if (leftInput_ >= 0 && leftInput_ < mem::kInputs)
        left_[std::size_t(leftInput_)]->setChecked(true);
    if (rightInput_ >= 0 && rightInput_ < mem::kInputs)
        right_[std::size_t(rightInput_)]->setChecked(true);
}

void GraphicConfigDialog::axisBoxClicked(const Boxes& boxes, int& selected, int input)
{
    // Checking a box unchecks the one selected before; unchecking it leaves none.
    if (input != selected) {
        if (selected >= 0 && selected < mem::kInputs)
            boxes[std::size_t(selected)]->setChecked(false);
        selected = input;
    }
    for (const QCheckBox* box : boxes)
        if (box->isChecked())
            return;
    selected = -1;
}

void GraphicConfigDialog::chooseColour(int input)
{
    const std::size_t entry = std::size_t(1 + input);
    if (const auto chosen = chooser_.chooseColour(this, colourFromBgr(colours_[entry]))) {
        colours_[entry] = bgrFromColour(*chosen);
        applyColours();
    }
}

void GraphicConfigDialog::applyColours()
{
    for (int i = 0; i < mem::kInputs; ++i) {
        const QColor c = colourFromBgr(colours_[std::size_t(1 + i)]);
        for (QCheckBox* box : {plot_[std::size_t(i)], left_[std::size_t(i)], right_[std::size_t(i)]})
            setTextColour(box, c);
    }
}

bool GraphicConfigDialog::eventFilter(QObject* watched, QEvent* event)
{
    // A greyed box belongs to an input that was not recorded: it has no colour to choose.
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isEnabled()) {
        for (int i = 0; i < mem::kInputs; ++i) {
            const std::size_t n = std::size_t(i);
            if (watched == plot_[n] || watched == left_[n] || watched == right_[n]) {
                chooseColour(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void GraphicConfigDialog::accept()
{
    for (int i = 0; i < mem::kInputs; ++i)
        settings_.shown[std::size_t(i)] = plot_[std::size_t(i)]->isChecked();
    settings_.leftAxisInput = leftInput_;
    settings_.rightAxisInput = rightInput_;
    settings_.autoScale = autoScale_->isChecked();
    settings_.ownScales = ownScales_->isChecked();
    settings_.grid = grid_->isChecked();
    settings_.alignStarts = align_->isChecked();
    // A target closed meanwhile is gone: the message goes nowhere.
    postInternal(target_, kMsgApplyGraphicConfig);
    QDialog::accept();
}

} // namespace qz
