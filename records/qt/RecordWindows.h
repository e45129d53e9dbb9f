// The record windows themselves, for the Run functions of RecordDialogs.h and for tests
// that drive their controls. Controls with identifiers carry the object names "ctl<id>".
#pragma once

#include <list>
#include <memory>
#include <QDialog>
#include <string>
#include <vector>

#include "platform/BackgroundTask.h"
#include "records/SectionFile.h"
#include "records/qt/RecordDialogs.h"

class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace engine {
class SaveJob;
}

namespace recordsqt {

class RelatedFileFetch;

// "QdxComment": edit ("commentEdit"), "登録(Ctrl+S)" ("registerButton"), "キャンセル".
class CommentEditor : public QDialog {
public:
    CommentEditor(QWidget* owner, engine::SaveJob& job);
    // Writes the comment and ends with 1; a comment that cannot be stored is reported and
    // the window stays open with the text.
    void Register();

private:
    engine::SaveJob& m_job;
    QPlainTextEdit* m_edit = nullptr;
};

// "QdxLinkAdd": name 1013, target 1014, check 1017, "追加" 1015, "キャンセル" 1016, and the
// progress bar 1018 (hidden). A dropped URL fills the target, and its page title, fetched on
// a background thread, the name; dropped files fill the target and their name.
class LinkAddWindow : public QDialog {
public:
    enum Control { NameEdit = 1013, TargetEdit = 1014, AddButton = 1015, CancelButton = 1016, DownloadCheck = 1017,
                   ProgressBar = 1018 };

    LinkAddWindow(QWidget* owner, engine::SaveJob& job);
    ~LinkAddWindow() override;

    // "追加": checks the fields, adds the link and ends with 1, or tells why not and stays.
    void Add();
    void DropText(const std::string& text);
    void DropFiles(const std::vector<std::string>& paths);
    // True while a page title is being fetched.
    bool FetchingTitle() const { return m_fetchesRunning > 0; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    void reject() override;

private:
    void StartTitleFetch(const std::string& url);
    void StartFileDownload(const std::string& name, const std::string& url);
    void OnDownloadCode(int code, int64_t value);
    void AddLinkAndClose(const std::string& name, const std::string& target);
    void SetBusy(bool busy);
    void TakeTitle(unsigned generation, const std::string& title);
    void Warn(const QString& text);

    engine::SaveJob& m_job;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_target = nullptr;
    QCheckBox* m_download = nullptr;
    QProgressBar* m_progress = nullptr;
    std::list<platform::BackgroundTask> m_fetches;
    unsigned m_generation = 0;
    int m_fetchesRunning = 0;
    QString m_nameAtDrop;
    std::unique_ptr<RelatedFileFetch> m_fileDownload;
    std::string m_downloadName;
    std::string m_downloadPath;
    bool m_busy = false;
};

// "QdxLinkDel": the links with check boxes ("linkList"), "全て選択" ("checkAll"),
// "全て非選択" ("uncheckAll"), "削除する" ("deleteButton"), "キャンセル" ("cancelButton").
class LinkDelWindow : public QDialog {
public:
    LinkDelWindow(QWidget* owner, engine::SaveJob& job);
    void CheckAll(bool on);
    // Deletes the ticked links (the rest are renumbered) and ends with 1; nothing ticked
    // ends with 0 and leaves the record as it is.
    void Delete();

private:
    engine::SaveJob& m_job;
    records::SectionFile m_record;
    QListWidget* m_list = nullptr;
};

// "QdxLinkAction": the link's name and target in "detailEdit" inside the group "詳細", and
// "閉じる" ("closeButton"). After `openMs` the target is opened; `closeMs` after a successful
// open the window ends itself with 1. A target that is not found is shown ("warningText")
// and the window stays.
class LinkActionWindow : public QDialog {
public:
    struct Delays {
        int openMs = 1000;
        int closeMs = 5000;
    };

    LinkActionWindow(QWidget* owner, const records::RelatedLink& link, TargetOpener opener, Delays delays);
    LinkActionWindow(QWidget* owner, const records::RelatedLink& link, TargetOpener opener)
        : LinkActionWindow(owner, link, std::move(opener), Delays{}) {}
    // The timed step, done once: 1 when the target was opened.
    int OpenTarget();
    // A window that has ended opens nothing any more.
    void done(int result) override;

private:
    records::RelatedLink m_link;
    TargetOpener m_opener;
    Delays m_delays;
    QTimer* m_openTimer = nullptr;   // 1024
    QTimer* m_closeTimer = nullptr;  // 1025
    QLabel* m_warningIcon = nullptr;
    QLabel* m_warning = nullptr;
    bool m_tried = false;
    bool m_opened = false;
};

// Shows `window` modally: the driver acts first, a window it ended gives its result; without
// a display `headless` decides (0 when empty); otherwise the window waits for the user.
int RunRecordWindow(QDialog& window, const WindowDriver& driver, const std::function<int()>& headless);

}  // namespace recordsqt
