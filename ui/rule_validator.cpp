#include "ui/rule_validator.h"

#include <QLineEdit>

namespace qz {

RuleValidator::RuleValidator(Rule rule, QObject* parent) : QValidator(parent), rule_(std::move(rule))
{}

QValidator::State RuleValidator::validate(QString& text, int&) const
{
    const QString why = rule_ ? rule_(text) : QString();
    if (why.isEmpty())
        return Acceptable;
    refusal_ = why;
    return Invalid;
}

RuleValidator* guardField(QLineEdit* field, RuleValidator::Rule rule,
                          std::function<void(const QString&)> told)
{
    auto* validator = new RuleValidator(std::move(rule), field);
    field->setValidator(validator);
    QObject::connect(field, &QLineEdit::inputRejected, field,
                     [validator, told = std::move(told)] { told(validator->refusal()); });
    return validator;
}

QString firstCharacterNotKept(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() <= 0xFF)
            continue;
        // A character beyond the basic plane comes as two halves: name it whole.
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            return text.mid(i, 2);
        return QString(text[i]);
    }
    return {};
}

QString loggerTextRefusal(const QString& what, int longest, const QString& text)
{
    if (const QString c = firstCharacterNotKept(text); !c.isEmpty())
        return QStringLiteral("%1 cannot hold the character %2").arg(what, c);
    if (text.size() > longest)
        return QStringLiteral("%1 has at most %2 characters").arg(what).arg(longest);
    return {};
}

} // namespace qz
