#include "settings/ui/number_edit.h"

#include <QFocusEvent>
#include <QFontMetrics>

#include <algorithm>

#include "settings/ui/dialog_message.h"

namespace plix {

namespace {

// A focus change caused by another window (a message box, another program) or
// by a pop-up menu is not the user leaving the field for another control.
bool LeavesForAnotherControl(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

std::optional<int> ReadField(QWidget* field, const QString& text, std::optional<NumberRange> range)
{
    QString message;
    std::optional<int> value = ParseNumberField(text, range, &message);
    if (!value) {
        ShowDialogMessage(field->window(), message);
        field->setFocus(Qt::OtherFocusReason);
    }
    return value;
}

}  // namespace

std::optional<int> ParseNumberField(const QString& text, std::optional<NumberRange> range,
                                    QString* message)
{
    const QString digits = text.trimmed();
    const bool allDigits =
        !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
    bool fits = false;
    const int value = allDigits ? digits.toInt(&fits) : 0;
    if (!allDigits || (!fits && !range)) {
        *message = QStringLiteral("Please enter a positive integer.");
        return std::nullopt;
    }
    // Digits too many for an int are simply far outside the range.
    if (range && (!fits || value < range->low || value > range->high)) {
        *message = QStringLiteral("Please enter an integer between %1 and %2.")
                       .arg(range->low)
                       .arg(range->high);
        return std::nullopt;
    }
    return value;
}

CNumberEdit::CNumberEdit(QWidget* parent) : QLineEdit(parent) {}

void CNumberEdit::SetValue(int value)
{
    setText(QString::number(value));
}

std::optional<int> CNumberEdit::ReadOrComplain()
{
    return ReadField(this, text(), std::nullopt);
}

void CNumberEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (LeavesForAnotherControl(event)) {
        emit Left();
    }
}

CSpinEdit::CSpinEdit(int low, int high, QWidget* parent)
    : QAbstractSpinBox(parent), range_{low, high}
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
}

void CSpinEdit::SetValue(int value)
{
    SetText(QString::number(value));
}

void CSpinEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
    update();
}

std::optional<int> CSpinEdit::ReadOrComplain()
{
    return ReadField(this, text(), range_);
}

void CSpinEdit::stepBy(int steps)
{
    // Stepping from text that is no number starts at the low end, as a spin
    // control does with an edit it cannot read.
    QString ignored;
    std::optional<int> value = ParseNumberField(text(), range_, &ignored);
    long long next = value ? static_cast<long long>(*value) + steps : range_.low;
    next = std::clamp<long long>(next, range_.low, range_.high);
    SetValue(static_cast<int>(next));
    selectAll();
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const
{
    if (!isEnabled() || isReadOnly()) {
        return StepNone;
    }
    QString ignored;
    std::optional<int> value = ParseNumberField(text(), range_, &ignored);
    if (!value) {
        return StepUpEnabled | StepDownEnabled;
    }
    StepEnabled enabled = StepNone;
    if (*value < range_.high) {
        enabled |= StepUpEnabled;
    }
    if (*value > range_.low) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

QSize CSpinEdit::sizeHint() const
{
    QSize hint = QAbstractSpinBox::sizeHint();
    const int digits =
        fontMetrics().horizontalAdvance(QString::number(range_.high) + QLatin1String("00"));
    hint.setWidth(std::max(hint.width(), digits + 24));
    return hint;
}

void CSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    if (LeavesForAnotherControl(event)) {
        emit Left();
    }
}

}  // namespace plix
