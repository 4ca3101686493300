#include "config/inputs_table.h"

#include "config/config_texts.h"
#include "model/image_reader.h"
#include "model/image_writer.h"
#include "model/real48.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace qz {

InputRows inputRowsOf(ConstByteView image)
{
    const ImageReader reader = ImageReader::deviceImage(image);
    InputRows rows;
    for (int i = 0; i < mem::kInputs; ++i) {
        InputRow& r = rows[std::size_t(i)];
        r.active = reader.isInputRecorded(i);
        r.function = reader.inputName(i);
        r.unit = reader.inputUnit(i);
        r.maxText = reader.scaleHighText(i);
        r.minText = reader.scaleLowText(i);
    }
    return rows;
}

namespace {

// Whether text is a number in the locale's form that no double holds: the locale's reading
// gives infinity (too large) or 0 (too small) for it, and says it failed.
bool beyondDouble(const QString& text, const QLocale& locale)
{
    QByteArray plain;
    qsizetype i = 0;
    const auto take = [&](const QString& sign, char as) {
        if (sign.isEmpty() || !QStringView(text).mid(i).startsWith(sign, Qt::CaseInsensitive))
            return false;
        plain += as;
        i += sign.size();
        return true;
    };
    while (i < text.size()) {
        if (text[i].unicode() >= '0' && text[i].unicode() <= '9')
            plain += char(text[i++].unicode());
        else if (!take(locale.decimalPoint(), '.') && !take(locale.negativeSign(), '-')
                 && !take(locale.exponential(), 'e') && !(i == 0 && take(locale.positiveSign(), '+')))
            return false;
    }
    if (plain.startsWith('+'))
        plain.remove(0, 1);
    double probe = 0;
    const auto [end, error] = std::from_chars(plain.constData(), plain.constData() + plain.size(), probe);
    return error == std::errc::result_out_of_range && end == plain.constData() + plain.size()
        && !plain.isEmpty();
}

} // namespace

ScaleCheck parseScale(const QString& text, const QLocale& locale, double& value)
{
    QLocale strict(locale);
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double v = strict.toDouble(trimmed, &ok);
    if (!ok) {
        if (std::isinf(v))
            return ScaleCheck::OutOfRange;
        return beyondDouble(trimmed, locale) ? ScaleCheck::TooSmall : ScaleCheck::NotANumber;
    }
    if (std::isnan(v))
        return ScaleCheck::NotANumber;
    std::uint8_t probe[kReal48Size];
    if (!doubleToReal48(v, probe))
        return ScaleCheck::OutOfRange;
    // The 6-byte real would hold it as 0: a scale the user did not ask for.
    if (v != 0 && std::fabs(v) < real48Min())
        return ScaleCheck::TooSmall;
    value = v;
    return ScaleCheck::Ok;
}

QString InputsRefusal::message() const
{
    switch (check) {
    case ScaleCheck::Ok:
        return {};
    case ScaleCheck::NotANumber:
        return texts::notAValidNumber(trimmedText);
    case ScaleCheck::OutOfRange:
        return texts::scaleOutOfRange(trimmedText);
    case ScaleCheck::TooSmall:
        return texts::scaleTooSmall(trimmedText);
    }
    return {};
}

InputsRefusal settingsFromRows(const InputRows& rows, const InputRows& shown, ConstByteView image,
                               const QLocale& locale, std::array<InputSetting, mem::kInputs>& settings)
{
    const ImageReader reader = ImageReader::deviceImage(image);
    std::array<InputSetting, mem::kInputs> out;
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputRow& row = rows[std::size_t(i)];
        const InputRow& was = shown[std::size_t(i)];
        InputSetting& s = out[std::size_t(i)];
        s.input = i;
        s.active = row.active;
        s.function = row.function;
        s.unit = row.unit;
        struct Cell {
            const QString& text;
            const QString& shownText;
            double stored;
            double& value;
            bool max;
        } cells[] = {{row.maxText, was.maxText, reader.scaleHigh(i), s.scaleHigh, true},
                     {row.minText, was.minText, reader.scaleLow(i), s.scaleLow, false}};
        for (Cell& c : cells) {
            if (c.text == c.shownText) {
                c.value = c.stored;
                continue;
            }
            const ScaleCheck check = parseScale(c.text, locale, c.value);
            if (check != ScaleCheck::Ok)
                return InputsRefusal{check, i, c.max, c.text.trimmed()};
        }
    }
    settings = out;
    return {};
}

void storeInputSettings(ByteView image, std::span<const InputSetting> settings)
{
    ImageWriter writer = ImageWriter::deviceImage(image);
    std::uint8_t mask = ImageReader::deviceImage(image).inputMask();
    for (const InputSetting& s : settings) {
        if (s.input < 0 || s.input >= mem::kInputs)
            continue;
        writer.setInputName(s.input, s.function);
        writer.setInputUnit(s.input, s.unit);
        writer.setScaleHigh(s.input, s.scaleHigh);
        writer.setScaleLow(s.input, s.scaleLow);
        const auto bit = std::uint8_t(1u << s.input);
        mask = std::uint8_t(s.active ? mask | bit : mask & ~bit);
    }
    std::array<std::uint8_t, mem::kInputs> flags{};
    int count = 0;
    for (int i = 0; i < mem::kInputs; ++i) {
        flags[std::size_t(i)] = (mask >> i) & 1u;
        count += flags[std::size_t(i)];
    }
    writer.setInputMask(flags);
    writer.setInputCount(std::uint8_t(count));
}

} // namespace qz
