#include "ui/controls.h"

#include "ui/guard.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace ui {

ComboBox::ComboBox(const QString& name, QWidget* parent, bool editable) : QComboBox(parent) {
    setObjectName(name);
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    if (editable) connect(lineEdit(), &QLineEdit::textEdited, this, [this] { guard([this] { fireChange(false); }); });
    connect(this, &QComboBox::activated, this, [this] { guard([this] { fireChange(true); }); });
}

void ComboBox::setText(const QString& text) {
    QSignalBlocker block(this);
    if (isEditable()) setEditText(text);
    else setCurrentIndex(findText(text));
}

void ComboBox::setItems(const QStringList& items) {
    QSignalBlocker block(this);
    const QString keep = currentText();
    clear();
    addItems(items);
    if (isEditable()) setEditText(keep);
}

void ComboBox::fireChange(bool chosen) {
    userChanged(chosen);
    if (onChange_) onChange_();
}

void onUserClick(QAbstractButton* button, std::function<void()> handler) {
    QObject::connect(button, &QAbstractButton::clicked, button, [h = std::move(handler)] { guard([&] { h(); }); });
}

RadioGroup::RadioGroup(const QString& name, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    setObjectName(name);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        emit userPicked(id);
        guard([this] {
            if (onClick_) onClick_();
        });
    });
}

void RadioGroup::setItems(const QStringList& captions, int columns) {
    for (QAbstractButton* b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    delete layout();
    items_ = captions;
    auto* grid = new QGridLayout(this);
    const int cols = columns < 1 ? 1 : columns;
    const int rows = (static_cast<int>(captions.size()) + cols - 1) / cols;
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], this);
        b->setObjectName(objectName() + QStringLiteral("_") + QString::number(i));
        group_->addButton(b, i);
        grid->addWidget(b, rows ? i % rows : i, rows ? i / rows : 0);
    }
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = group_->button(index)) {
        b->setChecked(true);
        return;
    }
    // No item: clear the exclusive group.
    group_->setExclusive(false);
    for (QAbstractButton* b : group_->buttons()) b->setChecked(false);
    group_->setExclusive(true);
}

QAbstractButton* RadioGroup::button(int index) const { return group_->button(index); }

namespace {
QString stripMnemonic(QString text) {
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) text.remove(i, 1);  // "&&" keeps one '&'
    }
    return text.trimmed();
}
}  // namespace

void bindLabel(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    // Qt names an input after its buddy label; set the name as well for
    // controls whose accessible interface does not look at buddies.
    if (control->accessibleName().isEmpty() && accessibleNameOf(control).isEmpty())
        control->setAccessibleName(stripMnemonic(label->text()));
}

QLabel* makeLabel(const QString& name, const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    if (control) bindLabel(label, control);
    return label;
}

QString accessibleNameOf(QWidget* widget) {
    if (!widget) return {};
    if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget))
        return iface->text(QAccessible::Name);
    return {};
}

QStringList unnamedInputs(QWidget* root) {
    QStringList out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QTextEdit*>(w) ||
                           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                           qobject_cast<QAbstractButton*>(w);
        if (!input) continue;
        // Parts of a composite (the line edit of a combo, a spin box's edit,
        // a grid's in-place editor) are named through their owner.
        if (w->focusProxy() || qobject_cast<QComboBox*>(w->parentWidget()) ||
            qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
            continue;
        bool insideView = false;
        for (QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
            if (qobject_cast<QAbstractItemView*>(p)) insideView = true;
        if (insideView) continue;
        if (accessibleNameOf(w).trimmed().isEmpty()) out << w->objectName();
    }
    return out;
}

}  // namespace ui
