#include "ui/maskedit.h"

#include <rtl/errors.h>

namespace ui {

namespace {
bool isInputChar(QChar c) {
    switch (c.unicode()) {
    case 'L':
    case 'l':
    case 'A':
    case 'a':
    case 'C':
    case 'c':
    case '0':
    case '9':
    case '#': return true;
    default: return false;
    }
}

// Characters with a meaning in Qt's input masks, which a literal must escape.
bool isQtMaskChar(QChar c) {
    static const QString qtMeta = QStringLiteral("AaNnXx90DdHhBb#><!\\;[]{}");
    return qtMeta.contains(c);
}

QChar qtEquivalent(QChar c) {
    switch (c.unicode()) {
    case 'L': return QLatin1Char('A');
    case 'l': return QLatin1Char('a');
    case 'A': return QLatin1Char('N');
    case 'a': return QLatin1Char('n');
    case 'C': return QLatin1Char('X');
    case 'c': return QLatin1Char('x');
    case '0': return QLatin1Char('9');
    case '9': return QLatin1Char('0');
    default: return c;  // '#'
    }
}
}  // namespace

EditMask::EditMask(const QString& mask) {
    // Split "mask;keep;blank". The last two parts are optional.
    QString body = mask;
    const QStringList parts = [&] {
        // Only unescaped ';' split.
        QStringList out;
        QString cur;
        for (int i = 0; i < mask.size(); ++i) {
            if (mask[i] == QLatin1Char('\\') && i + 1 < mask.size()) {
                cur += mask[i];
                cur += mask[++i];
            } else if (mask[i] == QLatin1Char(';')) {
                out << cur;
                cur.clear();
            } else {
                cur += mask[i];
            }
        }
        out << cur;
        return out;
    }();
    body = parts.value(0);
    if (parts.size() > 1) keepLiterals_ = parts[1].trimmed() != QLatin1String("0");
    if (parts.size() > 2 && !parts[2].isEmpty()) blank_ = parts[2][0];

    // Case switches are kept as pseudo slots of zero width in qtInputMask
    // only; they take no position of the text.
    for (int i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == QLatin1Char('!')) {
            leadingBlanks_ = true;
            continue;
        }
        if (c == QLatin1Char('>') || c == QLatin1Char('<')) {
            Slot s;
            s.literal = true;
            s.ch = c;
            s.required = true;  // marks a case switch (no position)
            if (c == QLatin1Char('<') && i + 1 < body.size() && body[i + 1] == QLatin1Char('>')) {
                s.ch = QLatin1Char('!');
                ++i;
            }
            slots_.push_back(s);
            continue;
        }
        Slot s;
        if (c == QLatin1Char('\\') && i + 1 < body.size()) {
            s.literal = true;
            s.ch = body[++i];
        } else if (isInputChar(c)) {
            s.ch = c;
            s.required =
                c == QLatin1Char('L') || c == QLatin1Char('A') || c == QLatin1Char('C') || c == QLatin1Char('0');
        } else {
            s.literal = true;
            s.ch = c == QLatin1Char('_') ? QLatin1Char(' ') : c;
        }
        slots_.push_back(s);
    }
}

namespace {
bool isCaseSwitch(bool literal, bool required, QChar ch) {
    return literal && required && (ch == QLatin1Char('>') || ch == QLatin1Char('<') || ch == QLatin1Char('!'));
}
}  // namespace

QString EditMask::qtInputMask() const {
    if (slots_.empty()) return {};
    QString out;
    for (const Slot& s : slots_) {
        if (isCaseSwitch(s.literal, s.required, s.ch)) out += s.ch;
        else if (s.literal) {
            if (isQtMaskChar(s.ch)) out += QLatin1Char('\\');
            out += s.ch;
        } else {
            out += qtEquivalent(s.ch);
        }
    }
    out += QLatin1Char(';');
    out += blank_;
    return out;
}

QString EditMask::textFromDisplay(const QString& display) const {
    QString out;
    QString run;  // input characters of the current field
    auto flush = [&] {
        if (run.isEmpty()) return;
        QString filled;
        for (QChar c : run)
            if (c != QLatin1Char(' ')) filled += c;
        const QString pad(run.size() - filled.size(), QLatin1Char(' '));
        // Missing characters: as leading blanks with '!', else as the edit
        // holds them (which is trailing after typing from the left).
        out += leadingBlanks_ ? pad + filled : run;
        run.clear();
    };
    int pos = 0;
    for (const Slot& s : slots_) {
        if (isCaseSwitch(s.literal, s.required, s.ch)) continue;
        const QChar shown = pos < display.size() ? display[pos] : blank_;
        ++pos;
        const QChar c = (shown == blank_ || shown.isNull()) ? QLatin1Char(' ') : shown;
        if (s.literal) {
            flush();
            if (keepLiterals_) out += s.ch;
        } else if (s.required) {
            flush();  // only runs of optional positions move their blanks
            out += c;
        } else {
            run += c;
        }
    }
    flush();
    return out;
}

bool EditMask::isComplete(const QString& display) const {
    int pos = 0;
    for (const Slot& s : slots_) {
        if (isCaseSwitch(s.literal, s.required, s.ch)) continue;
        const QChar shown = pos < display.size() ? display[pos] : blank_;
        ++pos;
        if (!s.literal && s.required && (shown == blank_ || shown == QLatin1Char(' '))) return false;
    }
    return true;
}

bool EditMask::isBlank(const QString& display) const {
    int pos = 0;
    for (const Slot& s : slots_) {
        if (isCaseSwitch(s.literal, s.required, s.ch)) continue;
        const QChar shown = pos < display.size() ? display[pos] : blank_;
        ++pos;
        if (!s.literal && shown != blank_ && shown != QLatin1Char(' ')) return false;
    }
    return true;
}

QString maskIncompleteMessage() { return QStringLiteral("入力が完全ではありません。すべての桁を入力してください。"); }

MaskEdit::MaskEdit(const QString& name, const QString& editMask, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    setEditMask(editMask);
}

void MaskEdit::setEditMask(const QString& editMask) {
    maskText_ = editMask;
    mask_ = EditMask(editMask);
    setInputMask(mask_.qtInputMask());
}

QString MaskEdit::text() const {
    if (mask_.isEmpty()) return QLineEdit::text();
    return mask_.textFromDisplay(QLineEdit::displayText());
}

void MaskEdit::setText(const QString& text) {
    QLineEdit::setText(text);
    setModified(false);
}

void MaskEdit::validateOnExit() {
    if (mask_.isEmpty() || !isModified()) return;
    const QString shown = QLineEdit::displayText();
    if (!mask_.isComplete(shown)) throw rtl::ConversionError(maskIncompleteMessage().toStdString());
}

}  // namespace ui
