#pragma once
// A line edit's rule as the user types: an entry the rule refuses does not go in, and the
// rule says why, so the window can tell it beside the field instead of dropping keys
// without a word (QLineEdit::inputRejected follows each refusal).
#include <QString>
#include <QValidator>

#include <functional>

class QLineEdit;

namespace qz {

class RuleValidator final : public QValidator {
    Q_OBJECT
public:
    // rule: why a text is refused, or an empty string when it is taken.
    using Rule = std::function<QString(const QString& text)>;
    RuleValidator(Rule rule, QObject* parent);

    State validate(QString& text, int& position) const override;
    // Why the last refused text was refused.
    const QString& refusal() const { return refusal_; }

private:
    Rule rule_;
    mutable QString refusal_;
};

// Puts the rule on the field and calls told with its reason each time it refuses an entry.
RuleValidator* guardField(QLineEdit* field, RuleValidator::Rule rule,
                          std::function<void(const QString&)> told);

// The logger keeps text in single bytes (Latin-1): the first character it cannot hold, as
// the user sees it, or an empty string.
QString firstCharacterNotKept(const QString& text);

// The rule of a text field of the logger: what ("The comment", "A function name") holds at
// most longest characters, each one the logger can keep.
//   "The comment has at most 50 characters"
//   "The comment cannot hold the character €"
QString loggerTextRefusal(const QString& what, int longest, const QString& text);

} // namespace qz
