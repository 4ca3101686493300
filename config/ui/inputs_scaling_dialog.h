#pragma once
// "Quorvant Inputs Scaling": the eight inputs of the logger as a table edited in place
// (recorded or not, function, unit, maximum and minimum scale). OK checks the scale
// values and stores the table into the device image; Cancel shows the image again.
// Modeless.
#include "config/inputs_table.h"
#include "model/byte_view.h"
#include "platform/program_folder.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QTableWidget;

namespace qz {

class Prompt;

class InputsScalingDialog final : public QDialog {
    Q_OBJECT
public:
    // The table's columns after the input number.
    enum Column {
        ActiveColumn,
        FunctionColumn,
        UnitColumn,
        MaxColumn,
        MinColumn,
        ColumnCount
    };

    InputsScalingDialog(Prompt& prompt, ProgramFolder folder, QWidget* parent = nullptr);

    // Binds to the image, names the model in the caption and fills the table; false when
    // the catalogue does not accept the model.
    bool initialize(ByteView deviceImage);
    // The image into the table.
    void updateScalingGrid();
    void showDialog();

    QTableWidget* grid() const { return grid_; }
    QCheckBox* checkBox(int input) const { return boxes_[std::size_t(input)]; }
    // The rows as the table holds them now.
    InputRows rows() const;

    // OK: stores the table when every scale value is a number the logger can hold,
    // otherwise tells the first that is not and stays open.
    void accept() override;
    // Cancel: the table shows the image again, then the dialog hides.
    void reject() override;

signals:
    void helpRequested(int context);

private:
    Prompt& prompt_;
    ProgramFolder folder_;
    QString baseCaption_;
    ByteView image_;
    InputRows shown_; // what updateScalingGrid put into the table
    QTableWidget* grid_;
    QLabel* note_;
    std::array<QCheckBox*, mem::kInputs> boxes_{};
};

} // namespace qz
