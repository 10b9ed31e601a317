// The dialogs' number fields. The user may type anything; the value is checked
// only when the dialog reads the field, with the messages "Please enter a
// positive integer." (not a number) and "Please enter an integer between %1 and
// %2." (outside the field's range), after which the field has the focus again.
#pragma once

#include <QAbstractSpinBox>
#include <QLineEdit>

#include <optional>

namespace plix {

struct NumberRange
{
    int low;
    int high;
};

// The value of a number field's text, or nothing with the message that refuses it.
std::optional<int> ParseNumberField(const QString& text, std::optional<NumberRange> range,
                                    QString* message);

// A plain edit holding a non-negative integer (the line range of the Type page).
class CNumberEdit : public QLineEdit
{
    Q_OBJECT
  public:
    explicit CNumberEdit(QWidget* parent = nullptr);
    void SetValue(int value);
    // The number, or nothing after the refusal has been shown.
    std::optional<int> ReadOrComplain();

  signals:
    // The focus moved to another control of the dialog.
    void Left();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// An edit with a spin control beside it: the arrows step within the range, but
// typing is not restricted, as in the dialogs' other number fields.
class CSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
  public:
    CSpinEdit(int low, int high, QWidget* parent = nullptr);
    NumberRange Range() const { return range_; }
    void SetValue(int value);
    // Replaces the text as if the user had typed it.
    void SetText(const QString& text);
    std::optional<int> ReadOrComplain();
    void stepBy(int steps) override;
    QSize sizeHint() const override;

  signals:
    void Left();

  protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    NumberRange range_;
};

}  // namespace plix
