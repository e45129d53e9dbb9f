// "AnalysisLit": what the page analysis says about a URL that is no HTML page. The URL-kind
// handlers decide the kind text and the message, and their steps may fetch a page, add to the
// message, offer the function button and change the input view's fields.
#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/UrlHandlers.h"
#include "app/qt/dialogs/DialogKit.h"
#include "app/qt/dialogs/DialogOpener.h"
#include "app/qt/dialogs/InfoDialogs.h"
#include "download/FileDownloader.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/Clock.h"
#include "platform/ConsoleText.h"
#include "platform/FileUtil.h"
#include "platform/PrivateTempFolder.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "records/Settings.h"
#include "platform/qt/UiText.h"

namespace appqt {

namespace {

using platformqt::FromQ;
using platformqt::ToQ;
using platformqt::ToQLines;

// Without a display nobody presses a button: the window waits this long for a page it
// fetches, then closes with what it has.
constexpr int kUnattendedLimitMs = 90000;

class AnalysisLitDialog : public QDialog {
public:
    AnalysisLitDialog(QWidget* owner, engine::SaveJob& job, const DialogArgs& args,
                      const app::UrlHandlerOptions& options)
        : QDialog(owner), m_fields(args.fields), m_iniPath(job.IniPath()), m_programFolder(job.ProgramFolder()) {
        if (m_programFolder.empty()) m_programFolder = platform::ProgramFolder();
        BuildControls();
        if (app::RegisterUrlHandlers(m_registry, options) == 1 && m_registry.Recognise(args.url) == 1) {
            m_kind->setText(ToQ(m_registry.KindText()));
            m_messageText = m_registry.Message();
        } else {
            m_kind->setText(UiText::tr("不明"));
            m_messageText = FromQ(UiText::tr("有効なURLを指定してください。"));
        }
        m_area->setPlainText(ToQLines(m_messageText));
        // The first step runs once the window is up, as a reply to its opening.
        QTimer::singleShot(0, this, [this, url = args.url] {
            Act(m_registry.RunNextStep(url, &m_fields, m_programFolder));
            QApplication::beep();
        });
    }

    ~AnalysisLitDialog() override { Release(); }

    // Without a display the window ends by itself once it would wait for a click.
    int exec() override {
        m_unattended = platformqt::IsHeadless();
        if (m_unattended) {
            QTimer::singleShot(0, this, [this] { EndIfUnattended(); });
            QTimer::singleShot(kUnattendedLimitMs, this, [this] { EndUnattended(); });
        }
        return QDialog::exec();
    }

    void done(int result) override {
        Release();
        QDialog::done(result);
    }

private:
    void BuildControls() {
        setObjectName(QStringLiteral("AnalysisLit"));
        setWindowTitle(UiText::tr("ページ解析エラー"));
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        auto* grid = new QGridLayout(this);
        grid->addWidget(new QLabel(UiText::tr("HTMLページ以外では、ページ解析は利用できません。"), this), 0, 0, 1, 2);
        grid->addWidget(new QLabel(UiText::tr("URLの種類："), this), 1, 0);
        m_kind = NewLabel(this, 1101, "");
        grid->addWidget(m_kind, 1, 1);
        m_area = new QPlainTextEdit(this);
        m_area->setObjectName(ControlName(1102));
        m_area->setReadOnly(true);
        grid->addWidget(m_area, 2, 0, 1, 2);
        auto* row = new QHBoxLayout;
        m_function = NewButton(this, 1103, "");
        m_function->setAutoDefault(false);
        m_function->setVisible(false);
        auto* ok = new QPushButton(UiText::tr("ＯＫ"), this);
        ok->setObjectName(QStringLiteral("ok"));
        ok->setDefault(true);
        row->addWidget(m_function);
        row->addStretch();
        row->addWidget(ok);
        grid->addLayout(row, 3, 0, 1, 2);
        grid->setColumnStretch(1, 1);
        connect(ok, &QPushButton::clicked, this, [this] { done(1); });
        connect(m_function, &QPushButton::clicked, this,
                [this] { Act(m_registry.RunNextStep("", &m_fields, m_programFolder)); });
        FinishDialog(this, 360, 240);
    }

    // The result bits of a step, in their order.
    void Act(int bits) {
        if (m_released) return;
        if (bits & app::StepDownload) StartDownload(m_registry.Text());
        if (bits & app::StepMessage) AppendMessage(m_registry.Message());
        if (bits & app::StepButton) {
            m_function->setText(ToQ(m_registry.Caption()));
            m_function->setVisible(true);
        }
        if (bits & app::StepClose) return done(1);
        EndIfUnattended();
    }

    void AppendMessage(const std::string& text) {
        m_messageText += text;
        m_area->setPlainText(ToQLines(m_messageText));
    }

    void StartDownload(const std::string& url) {
        DropDownload();
        if (!m_temp) m_temp = std::make_unique<platform::PrivateTempFolder>("sitrova-analysis-");
        if (m_temp->Path().empty())
            return AppendMessage(FromQ(UiText::tr("[Error]一時ファイルを作成できません。\r\n")));
        m_tempFile = m_temp->Path() + "targetYTube" + std::to_string(platform::TickCount()) + ".tmp";
        auto downloader = std::make_unique<download::FileDownloader>(url, m_tempFile);
        // A browser of its day, as for the files the user saves; no check plug-ins: this is
        // a page, not a file the user keeps.
        constexpr uint32_t kBrowserAgent = 0x801;
        constexpr uint32_t kRefererFolder = 2;
        downloader->ApplySettings(records::ReadSeriesError(m_iniPath));
        downloader->SetHeaders(kRefererFolder, url);
        downloader->SetAgent(kBrowserAgent, "");
        const unsigned generation = ++m_generation;
        const int started = downloader->Start([this, generation](int code, int64_t value) {
            QMetaObject::invokeMethod(this, [this, generation, code, value] { OnCode(generation, code, value); },
                                      Qt::QueuedConnection);
        });
        if (started != 1) return AppendMessage(FromQ(UiText::tr("[Error]ページを取得できませんでした。\r\n")));
        m_downloader = std::move(downloader);
        m_downloading = true;
    }

    void OnCode(unsigned generation, int code, int64_t) {
        if (generation != m_generation || m_released) return;
        if (code == download::CodeFinished) {
            m_downloading = false;
            return Act(m_registry.RunNextStep(m_tempFile, &m_fields, m_programFolder));
        }
        if (code == download::CodeFailed) {
            // No further step runs; the user is told instead of looking at a window that
            // seems to be busy for ever.
            m_downloading = false;
            AppendMessage(FromQ(UiText::tr("[Error]ページを取得できませんでした。\r\n")));
            EndIfUnattended();
        }
    }

    // The earlier download and its file make room for the next.
    void DropDownload() {
        m_downloader.reset();  // stops the worker and waits for it
        m_downloading = false;
        if (!m_tempFile.empty()) (void)platform::RemoveFile(m_tempFile);
        m_tempFile.clear();
    }

    void Release() {
        if (m_released) return;
        m_released = true;
        DropDownload();
        m_temp.reset();
    }

    void EndIfUnattended() {
        if (m_unattended && !m_downloading && !m_released && isVisible()) EndUnattended();
    }

    void EndUnattended() {
        if (m_released) return;
        std::string text = m_messageText;
        (void)platform::ReplaceAll(text, "\r\n", " ");
        std::fprintf(stderr, "[%s] %s: %s\n", platform::ToConsoleText(FromQ(windowTitle())).c_str(),
                     platform::ToConsoleText(platformqt::FromQ(m_kind->text())).c_str(),
                     platform::ToConsoleText(text).c_str());
        std::fflush(stderr);
        done(1);
    }

    app::UrlHandlerRegistry m_registry;
    app::InputFieldAccess m_fields;
    std::string m_iniPath;
    std::string m_programFolder;
    std::string m_messageText;
    QLabel* m_kind = nullptr;
    QPlainTextEdit* m_area = nullptr;
    QPushButton* m_function = nullptr;
    std::unique_ptr<platform::PrivateTempFolder> m_temp;
    std::string m_tempFile;
    std::unique_ptr<download::FileDownloader> m_downloader;
    unsigned m_generation = 0;
    bool m_downloading = false;
    bool m_unattended = false;
    bool m_released = false;
};

}  // namespace

QDialog* CreateAnalysisLitDialog(QWidget* owner, engine::SaveJob& job, const DialogArgs& args,
                                 const app::UrlHandlerOptions& options) {
    return new AnalysisLitDialog(owner, job, args, options);
}

}  // namespace appqt
