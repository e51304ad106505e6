// Masked edits with the mask language of the windows' designs:
// "mask;keepLiterals;blank", where 0 is a required digit, 9 an optional
// digit, # an optional digit or sign, L/l a required/optional letter, A/a a
// required/optional letter or digit, C/c a required/optional character,
// > upper case, < lower case, <> no case change, \ escapes the next character,
// ! keeps missing optional characters as leading blanks (else trailing), and
// every other character is a literal kept in place. (Qt's own input masks
// give 0 and 9 the opposite meanings; this class translates.)
//
// text() is always of full length: an empty "!99/99/00;1;_" reads "  /  /  ".
#pragma once

#include "ui/form.h"

#include <QLineEdit>

#include <vector>

namespace ui {

// The parsed form of a mask, usable without a widget.
class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString& mask);

    bool isEmpty() const { return slots_.empty(); }
    QString qtInputMask() const;  // the same mask in Qt's language
    bool keepsLiterals() const { return keepLiterals_; }
    QChar blank() const { return blank_; }
    int length() const { return static_cast<int>(slots_.size()); }

    // From the edit's full display text (blanks shown as the blank
    // character) to the text the program reads.
    QString textFromDisplay(const QString& display) const;
    // True when every required position of the display text is filled.
    bool isComplete(const QString& display) const;
    // True when no input position is filled.
    bool isBlank(const QString& display) const;

private:
    struct Slot {
        bool literal = false;
        QChar ch;  // the literal, or the mask character of an input
        bool required = false;
    };
    std::vector<Slot> slots_;
    bool keepLiterals_ = true;
    bool leadingBlanks_ = false;
    QChar blank_ = QLatin1Char('_');
};

class MaskEdit : public QLineEdit, public ExitValidator {
    Q_OBJECT
public:
    MaskEdit(const QString& name, const QString& editMask = {}, QWidget* parent = nullptr);

    void setEditMask(const QString& editMask);
    QString editMask() const { return maskText_; }
    const EditMask& mask() const { return mask_; }

    // The text the program reads: full length, literals kept as the mask says,
    // missing characters as blanks. setText fills the positions from the start.
    QString text() const;
    void setText(const QString& text);
    // What the edit shows (blanks as the blank character).
    QString editText() const { return QLineEdit::displayText(); }

    // On exit, a changed text with an empty required position is refused.
    void validateOnExit() override;

private:
    QString maskText_;
    EditMask mask_;
};

// The message of a refused masked input.
QString maskIncompleteMessage();

}  // namespace ui
