// The record navigator: ten buttons in the fixed order first, prior, next,
// last, insert, delete, edit, post, cancel, refresh. Buttons carry captions
// (no pictures; the caption is also the hint), take no focus, follow the
// dataset's state, and run hooks before and after each action. Delete asks
// "削除しますか？" first.
#pragma once

#include "ui/datalink.h"

#include <QPushButton>
#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>

namespace ui {

enum class NavButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
inline constexpr int navButtonCount = 10;

class DBNavigator : public QWidget, public DataAware {
    Q_OBJECT
public:
    explicit DBNavigator(const QString& name, QWidget* parent = nullptr);
    ~DBNavigator() override;

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const override { return source_; }

    // The ten captions in button order.
    void setCaptions(const QStringList& captions);
    QStringList captions() const;
    void setVisibleButtons(std::initializer_list<NavButton> buttons);
    QPushButton* button(NavButton which) const { return buttons_[static_cast<size_t>(which)]; }

    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    // Runs before an action; throwing (the silent abort) cancels it.
    void setBeforeAction(std::function<void(NavButton)> hook) { before_ = std::move(hook); }
    // Runs after an action completed.
    void setOnClick(std::function<void(NavButton)> hook) { after_ = std::move(hook); }

    // What a click on a button does (hooks included; errors propagate).
    void btnClick(NavButton which);
    // Enables the buttons by the dataset's state.
    void updateButtons();

    static QString deleteQuestion();  // "削除しますか？"
    // Object names of the buttons: nbFirst ... nbRefresh.
    static QString buttonName(NavButton which);

private:
    void attach();
    void detach();
    db::DataSource* source_ = nullptr;
    int observers_[2] = {0, 0};
    std::array<QPushButton*, navButtonCount> buttons_{};
    bool confirmDelete_ = true;
    std::function<void(NavButton)> before_;
    std::function<void(NavButton)> after_;
};

}  // namespace ui
