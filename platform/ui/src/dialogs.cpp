#include "ui/dialogs.h"

#include "ui/app.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <stdexcept>

namespace ui {

namespace {

ScriptedDialogs* currentScript = nullptr;

QString captionOr(const QString& caption) { return caption.isEmpty() ? appTitle() : caption; }

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Stop: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString answerName(Answer a) {
    switch (a) {
    case Answer::Ok: return QStringLiteral("OK");
    case Answer::Yes: return QStringLiteral("Yes");
    case Answer::No: return QStringLiteral("No");
    case Answer::Cancel: return QStringLiteral("Cancel");
    }
    return {};
}

// Shows a real box; buttons given as (caption, answer) with the first the default.
Answer runBox(const DialogRecord& r, const std::vector<Answer>& answers) {
    QMessageBox box(qtIcon(r.icon), r.caption, r.text, QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<QAbstractButton*> buttons;
    for (int i = 0; i < r.buttons.size(); ++i) {
        const Answer a = answers[static_cast<size_t>(i)];
        QMessageBox::ButtonRole role = a == Answer::No       ? QMessageBox::NoRole
                                       : a == Answer::Cancel ? QMessageBox::RejectRole
                                       : a == Answer::Yes    ? QMessageBox::YesRole
                                                             : QMessageBox::AcceptRole;
        QPushButton* b = box.addButton(r.buttons[i], role);
        if (i == 0) box.setDefaultButton(b);
        buttons.push_back(b);
    }
    if (answers.back() == Answer::Cancel || answers.size() == 1) box.setEscapeButton(buttons.back());
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return answers[i];
    return answers.back();
}

Answer present(DialogRecord r, const std::vector<Answer>& answers) {
    if (currentScript) {
        Answer result = answers.front();
        if (r.kind == DialogKind::Question) {
            const QString reply = currentScript->take(r, answerName(answers.front()));
            result = answers.front();
            for (Answer a : answers)
                if (reply.compare(answerName(a), Qt::CaseInsensitive) == 0) result = a;
            // "Cancel" scripted for a box without Cancel reads as its last button.
            if (reply.compare(QStringLiteral("Cancel"), Qt::CaseInsensitive) == 0 && result != Answer::Cancel)
                result = answers.back();
        }
        r.answer = answerName(result);
        currentScript->record(std::move(r));
        return result;
    }
    return runBox(r, answers);
}

}  // namespace

QString yesCaption() { return QStringLiteral("はい(&Y)"); }
QString noCaption() { return QStringLiteral("いいえ(&N)"); }
QString cancelCaption() { return QStringLiteral("キャンセル"); }

void showMessage(const QString& text) { showMessage(text, appTitle(), Icon::None); }

void showMessage(const QString& text, const QString& caption, Icon icon) {
    DialogRecord r;
    r.kind = DialogKind::Message;
    r.caption = captionOr(caption);
    r.text = text;
    r.icon = icon;
    r.buttons = {QStringLiteral("OK")};
    present(std::move(r), {Answer::Ok});
}

bool askYesNo(const QString& text, const QString& caption, Icon icon) {
    DialogRecord r;
    r.kind = DialogKind::Question;
    r.caption = captionOr(caption);
    r.text = text;
    r.icon = icon;
    r.buttons = {yesCaption(), noCaption()};
    return present(std::move(r), {Answer::Yes, Answer::No}) == Answer::Yes;
}

Answer askYesNoCancel(const QString& text, const QString& caption, Icon icon) {
    DialogRecord r;
    r.kind = DialogKind::Question;
    r.caption = captionOr(caption);
    r.text = text;
    r.icon = icon;
    r.buttons = {yesCaption(), noCaption(), cancelCaption()};
    return present(std::move(r), {Answer::Yes, Answer::No, Answer::Cancel});
}

void showError(const QString& text) {
    DialogRecord r;
    r.kind = DialogKind::Error;
    r.caption = appTitle();
    r.text = text;
    r.icon = Icon::Stop;
    r.buttons = {QStringLiteral("OK")};
    present(std::move(r), {Answer::Ok});
}

namespace {
QString fileDialog(DialogKind kind, QWidget* parent, const QString& caption, const QString& folder,
                   const QString& filter, QString* selectedFilter = nullptr) {
    DialogRecord r;
    r.kind = kind;
    r.caption = caption;
    r.text = folder;
    r.filter = filter;
    if (currentScript) {
        r.answer = currentScript->take(r, QString());
        if (selectedFilter) {
            const QString chosen = currentScript->takeFileType();
            *selectedFilter = chosen.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : chosen;
        }
        currentScript->record(r);
        return r.answer;
    }
    switch (kind) {
    case DialogKind::OpenFile: return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    case DialogKind::SaveFile: return QFileDialog::getSaveFileName(parent, caption, folder, filter, selectedFilter);
    default: return QFileDialog::getExistingDirectory(parent, caption, folder);
    }
}
}  // namespace

QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
    return fileDialog(DialogKind::OpenFile, parent, caption, folder, filter);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
    return fileDialog(DialogKind::SaveFile, parent, caption, folder, filter);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                     QString* selectedFilter) {
    return fileDialog(DialogKind::SaveFile, parent, caption, folder, filter, selectedFilter);
}

QString existingFolder(QWidget* parent, const QString& caption, const QString& folder) {
    return fileDialog(DialogKind::Directory, parent, caption, folder, {});
}

// ---- ScriptedDialogs

ScriptedDialogs::ScriptedDialogs() : previous_(currentScript) { currentScript = this; }

ScriptedDialogs::~ScriptedDialogs() {
    if (currentScript == this) currentScript = previous_;
}

ScriptedDialogs& ScriptedDialogs::answer(const QString& reply) {
    queue_.push_back(reply);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answer(Answer reply) { return answer(answerName(reply)); }

ScriptedDialogs& ScriptedDialogs::answerFile(const QString& path, const QString& fileType) {
    fileTypes_.push_back(fileType);
    return answer(path);
}

QString ScriptedDialogs::takeFileType() {
    if (fileTypes_.empty()) return {};
    QString t = fileTypes_.front();
    fileTypes_.pop_front();
    return t;
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const auto& r : shown_) out << r.text;
    return out;
}

QStringList ScriptedDialogs::captions() const {
    QStringList out;
    for (const auto& r : shown_) out << r.caption;
    return out;
}

const DialogRecord& ScriptedDialogs::last() const {
    if (shown_.empty()) throw std::logic_error("no dialog was shown");
    return shown_.back();
}

void ScriptedDialogs::clear() {
    queue_.clear();
    shown_.clear();
    unanswered_ = 0;
}

QString ScriptedDialogs::take(const DialogRecord&, const QString& fallback) {
    if (queue_.empty()) {
        ++unanswered_;
        return fallback;
    }
    QString reply = queue_.front();
    queue_.pop_front();
    return reply;
}

}  // namespace ui
