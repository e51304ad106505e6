// The one seam for every message box, question, error box and file dialog.
//
// Windows call these functions only, never QMessageBox or QFileDialog. In
// normal runs they show Qt dialogs; a test installs ScriptedDialogs, queues
// answers ("Yes", "No", "Cancel", a file path) and afterwards reads back the
// text, caption, icon and buttons of everything that was shown.
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

namespace ui {

enum class Icon { None, Information, Warning, Question, Stop };
enum class Answer { Ok, Yes, No, Cancel };

enum class DialogKind { Message, Question, Error, OpenFile, SaveFile, Directory };

// What a dialog showed (and, once answered, how it was answered).
struct DialogRecord {
    DialogKind kind = DialogKind::Message;
    QString caption;
    QString text;    // message text; for file dialogs: the start folder
    QString filter;  // file dialogs only
    Icon icon = Icon::None;
    QStringList buttons;  // captions in order; the first listed is the default
    QString answer;       // "OK", "Yes", "No", "Cancel", or the chosen path
};

// A plain message: button OK, no icon, the application title as caption.
void showMessage(const QString& text);
// A message with its own caption and icon (button OK).
void showMessage(const QString& text, const QString& caption, Icon icon);

// Yes/No question: buttons "はい(&Y)", "いいえ(&N)", Yes the default.
// An empty caption means the application title.
bool askYesNo(const QString& text, const QString& caption = {}, Icon icon = Icon::Question);
// Yes/No/Cancel question ("はい(&Y)", "いいえ(&N)", "キャンセル"), Yes the default.
Answer askYesNoCancel(const QString& text, const QString& caption = {}, Icon icon = Icon::Question);

// The application's error box: stop icon, the application title, OK.
void showError(const QString& text);

// File dialogs; an empty result means the user cancelled.
QString openFileName(QWidget* parent, const QString& caption, const QString& folder = {}, const QString& filter = {});
QString saveFileName(QWidget* parent, const QString& caption, const QString& folder = {}, const QString& filter = {});
// A save dialog offering several file types (";;"-separated in `filter`):
// `selectedFilter` receives the type the user chose (the first by default).
QString saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                     QString* selectedFilter);
QString existingFolder(QWidget* parent, const QString& caption, const QString& folder = {});

// The button captions the seam uses.
QString yesCaption();     // "はい(&Y)"
QString noCaption();      // "いいえ(&N)"
QString cancelCaption();  // "キャンセル"

// Test double: while alive, every dialog is recorded instead of shown and
// questions and file dialogs take their answers from the queue. A question
// asked with an empty queue takes its default button (Yes), a file dialog
// is cancelled; both are counted in unanswered(). Scripts nest: the newest
// one is in force.
class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // "Yes", "No", "Cancel" for questions; a path (or "" to cancel) for file dialogs.
    ScriptedDialogs& answer(const QString& reply);
    ScriptedDialogs& answer(Answer reply);
    // A file dialog's path together with the file type chosen in it.
    ScriptedDialogs& answerFile(const QString& path, const QString& fileType);

    const std::vector<DialogRecord>& shown() const { return shown_; }
    QStringList texts() const;
    QStringList captions() const;
    const DialogRecord& last() const;  // throws std::logic_error when nothing was shown
    int unanswered() const { return unanswered_; }
    int pending() const { return static_cast<int>(queue_.size()); }
    void clear();

    // Used by the seam.
    QString take(const DialogRecord& request, const QString& fallback);
    void record(DialogRecord record) { shown_.push_back(std::move(record)); }
    QString takeFileType();

private:
    std::deque<QString> queue_;
    std::deque<QString> fileTypes_;
    std::vector<DialogRecord> shown_;
    int unanswered_ = 0;
    ScriptedDialogs* previous_ = nullptr;
};

}  // namespace ui
