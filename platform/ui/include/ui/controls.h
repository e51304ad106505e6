// Plain controls with the change semantics the windows rely on, and the
// accessibility ties between labels and inputs.
#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>

#include <functional>

class QCheckBox;
class QAbstractButton;

namespace ui {

// A combo box whose change handler fires on the user's typing and
// choosing only; setting the text or the index from code never fires it.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(const QString& name, QWidget* parent = nullptr, bool editable = true);

    void setOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

    // The shown text; for a list-only combo, setText selects the matching item
    // (none when no item matches).
    QString text() const { return currentText(); }
    void setText(const QString& text);
    void setItems(const QStringList& items);

protected:
    // Runs on the user's change before the change handler (data-aware
    // combos store the value here, so the handler sees it).
    virtual void userChanged(bool chosen) { (void)chosen; }

private:
    void fireChange(bool chosen);
    std::function<void()> onChange_;
};

// Handler of the user's clicks on a check box or button; toggling it from
// code (setChecked) does not fire it.
void onUserClick(QAbstractButton* button, std::function<void()> handler);

// A titled group of radio buttons, one of which is the item index (-1 none).
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& name, const QString& caption, QWidget* parent = nullptr);

    void setItems(const QStringList& captions, int columns = 1);
    QStringList items() const { return items_; }
    int itemIndex() const;
    void setItemIndex(int index);  // from code: fires no handler
    QAbstractButton* button(int index) const;

    // Fires when the user picks an item.
    void setOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

signals:
    void userPicked(int index);

private:
    QButtonGroup* group_;
    QStringList items_;
    std::function<void()> onClick_;
};

// Ties a label to its control: the label's mnemonic focuses the control and
// screen readers name the control by the label's text (which stays current
// when the label's text changes later).
void bindLabel(QLabel* label, QWidget* control);
// A label with a buddy, made and tied in one go.
QLabel* makeLabel(const QString& name, const QString& text, QWidget* control, QWidget* parent);

// The accessible name a screen reader gets for a widget (empty when none).
QString accessibleNameOf(QWidget* widget);
// Input controls under root (edits, combos, spin boxes, grids, check boxes
// and buttons without text) that have no accessible name: their objectNames.
QStringList unnamedInputs(QWidget* root);

}  // namespace ui
