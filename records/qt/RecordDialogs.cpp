// Running the record windows: modally over their owner, or driven, or without a display.
#include "records/qt/RecordDialogs.h"

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/qt/RecordWindows.h"

namespace recordsqt {

int RunRecordWindow(QDialog& window, const WindowDriver& driver, const std::function<int()>& headless) {
    bool ended = false;
    QObject::connect(&window, &QDialog::finished, &window, [&ended] { ended = true; });
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    if (driver) driver(window);
    if (ended) return window.result();
    if (platformqt::IsHeadless()) {
        const int result = headless ? headless() : 0;
        window.hide();
        return result;
    }
    return window.exec();
}

int ShellOpenTarget(const std::string& target) { return platform::ShellOpen(target); }

int RunQdxComment(QWidget* owner, engine::SaveJob& job) { return RunQdxComment(owner, job, WindowDriver()); }
int RunQdxLinkAdd(QWidget* owner, engine::SaveJob& job) { return RunQdxLinkAdd(owner, job, WindowDriver()); }
int RunQdxLinkDel(QWidget* owner, engine::SaveJob& job) { return RunQdxLinkDel(owner, job, WindowDriver()); }
int RunQdxLinkAction(QWidget* owner, engine::SaveJob& job, int index) {
    return RunQdxLinkAction(owner, job, index, TargetOpener(), WindowDriver());
}

int RunQdxComment(QWidget* owner, engine::SaveJob& job, const WindowDriver& driver) {
    CommentEditor window(owner, job);
    return RunRecordWindow(window, driver, {});
}

int RunQdxLinkAdd(QWidget* owner, engine::SaveJob& job, const WindowDriver& driver) {
    LinkAddWindow window(owner, job);
    return RunRecordWindow(window, driver, {});
}

int RunQdxLinkDel(QWidget* owner, engine::SaveJob& job, const WindowDriver& driver) {
    LinkDelWindow window(owner, job);
    return RunRecordWindow(window, driver, {});
}

int RunQdxLinkAction(QWidget* owner, engine::SaveJob& job, int index, const TargetOpener& opener,
                     const WindowDriver& driver) {
    const std::string path = job.QdxPath();
    records::SectionFile record;
    records::RelatedLink link;
    if (index < 0 || !platform::IsRegularFile(path) || !record.Load(path) || index >= records::CountLinks(record) ||
        !records::ReadLink(record, index, link))
        return 0;
    LinkActionWindow window(owner, link, opener);
    return RunRecordWindow(window, driver, [&window, &link] {
        // Nobody could see the window: open at once, and say so when the target is missing.
        const int opened = window.OpenTarget();
        if (!opened)
            platformqt::ShowMessage(nullptr, "Sitrova",
                                    platformqt::FromQ(UiText::tr("指定されたファイルが見つかりません。\r\n%1")
                                                          .arg(platformqt::ToQ(link.target))),
                                    platformqt::IconWarning);
        return opened;
    });
}

}  // namespace recordsqt
