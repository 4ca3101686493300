#pragma once
// The eight inputs' settings as the inputs scaling table shows and edits them: whether
// each input is recorded, its function name, unit and two scale values.
#include "model/byte_view.h"
#include "model/memory_image.h"

#include <QLocale>
#include <QString>

#include <array>
#include <span>

namespace qz {

// One row of the table, as text.
struct InputRow {
    bool active = false;
    QString function; // up to 9 characters
    QString unit; // up to 5 characters
    QString maxText;
    QString minText;

    bool operator==(const InputRow&) const = default;
};
using InputRows = std::array<InputRow, mem::kInputs>;

// What is stored for one input.
struct InputSetting {
    int input = 0; // 0..7
    bool active = false;
    QString function;
    QString unit;
    double scaleHigh = 0;
    double scaleLow = 0;
};

// The rows of the image's inputs; the scale values in their short form ("100", "0.5").
InputRows inputRowsOf(ConstByteView deviceImage);

enum class ScaleCheck {
    Ok,
    NotANumber,
    OutOfRange, // beyond what the logger's 6-byte real holds (about 1.7E38), or beyond a double
    TooSmall, // not zero, but nearer to it than the 6-byte real's smallest (2^-128, about 2.94E-39)
};
// A scale text read with the locale's decimal separator (no group separators), blanks
// around it allowed. A number too large or too small is told as such whether or not a
// double holds it (1e400 is too large, 1e-400 too small).
ScaleCheck parseScale(const QString& text, const QLocale& locale, double& value);

struct InputsRefusal {
    ScaleCheck check = ScaleCheck::Ok;
    int input = -1; // 0..7
    bool maxScale = false; // the maximum's cell, else the minimum's
    QString trimmedText;

    bool ok() const { return check == ScaleCheck::Ok; }
    QString message() const;
};

// Checks the rows, input by input, the maximum before the minimum, and gives the first
// refusal. On success settings holds all eight inputs. A scale text still as it was shown
// (shown[i]) keeps the image's exact value: the short form may have lost digits.
InputsRefusal settingsFromRows(const InputRows& rows, const InputRows& shown, ConstByteView deviceImage,
                               const QLocale& locale, std::array<InputSetting, mem::kInputs>& settings);

// Stores each given input's name (9 characters), unit (5), scale values and active bit,
// then InputMask and InputCount from the active bits of all eight inputs. The scale
// values must be ones parseScale accepted.
void storeInputSettings(ByteView deviceImage, std::span<const InputSetting> settings);

} // namespace qz
