#include "suite/qt/SuiteWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <cstdio>

#include "platform/FileUtil.h"
#include "platform/UiLanguage.h"
#include "platform/UserPlaces.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "suite/ListText.h"
#include "suite/Registration.h"
#include "suite/qt/QdxListView.h"
#include "suite/qt/SavedFileView.h"

namespace suiteqt {

namespace {

constexpr int kHandOverPollMs = 100;
// What "最近変更されたサイト" offers first.
constexpr int kRecentDays = 7;

std::string IniPathOf(const std::string& programFolder) {
    return platform::PlaceFor(platform::Place::Settings, programFolder) + "/QdxSuite.ini";
}

}  // namespace

SuiteWindow::SuiteWindow(std::string programFolder, suite::Catalogue& catalogue, const SuiteHooks& hooks,
                         const std::string& handOverMap)
    : m_programFolder(std::move(programFolder)), m_catalogue(catalogue), m_hooks(hooks), m_receiver(handOverMap) {
    while (m_programFolder.size() > 1 && m_programFolder.back() == '/') m_programFolder.pop_back();
    setWindowTitle(QStringLiteral("Sitrova Suite"));
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);
    BuildMenu();

    auto* central = new QWidget;
    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(6, 1, 6, 0);
    m_searchBox = new QComboBox;
    m_searchBox->setObjectName(QStringLiteral("searchBox"));
    m_searchBox->setEditable(true);
    m_searchBox->setInsertPolicy(QComboBox::NoInsert);
    m_searchButton = new QPushButton(UiText::tr("検索"));
    m_searchButton->setObjectName(QStringLiteral("searchButton"));
    // Sized for "検索"; the English word needs more room.
    m_searchButton->setFixedSize(platform::InEnglish() ? std::max(66, m_searchButton->sizeHint().width()) : 66, 23);
    m_tabs = new QTabWidget;
    m_qdxView = new QdxListView(m_programFolder, m_hooks);
    m_fileView = new SavedFileView(m_hooks);
    m_tabs->addTab(m_qdxView, UiText::tr("Qdxファイル"));
    m_tabs->addTab(m_fileView, UiText::tr("保存したファイル(単体／連番)"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("loadProgress"));
    m_progress->setRange(0, 0);  // marquee while the lists load
    m_progress->setTextVisible(false);
    layout->addWidget(m_searchBox, 0, 0);
    layout->addWidget(m_searchButton, 0, 1);
    layout->addWidget(m_tabs, 1, 0, 1, 2);
    layout->addWidget(m_progress, 2, 0, 1, 2);
    setCentralWidget(central);

    const suite::WindowSize size = suite::ReadWindowSize(IniPathOf(m_programFolder));
    resize(size.width, size.height);

    connect(m_searchButton, &QPushButton::clicked, this, [this] { RunSearch(); });
    connect(m_searchBox->lineEdit(), &QLineEdit::returnPressed, this, [this] { RunSearch(); });
    m_searchBox->setEnabled(false);
    m_searchButton->setEnabled(false);
    m_qdxView->setEnabled(false);
    m_fileView->setEnabled(false);

    std::string message;
    if (m_catalogue.Load(&message) == suite::LoadDamaged)
        QTimer::singleShot(0, this, [this, message] {
            (void)platformqt::ShowMessage(this, "Sitrova Suite", message, platformqt::IconWarning);
        });
    StartLoaders();

    m_handOverTimer = new QTimer(this);
    connect(m_handOverTimer, &QTimer::timeout, this, [this] { PollHandOver(); });
    m_handOverTimer->start(kHandOverPollMs);
}

SuiteWindow::~SuiteWindow() {
    // The loaders post to this window; they end before it goes.
    m_qdxLoader.StopAndWait();
    m_fileLoader.StopAndWait();
}

void SuiteWindow::BuildMenu() {
    QMenu* file = menuBar()->addMenu(UiText::tr("ファイル(&F)"));
    file->addAction(UiText::tr("終了(&X)"), this, [this] { close(); });
    file->addAction(UiText::tr("Sitrova を起動(&O)"), this, [this] { StartSitrova(); });
    QMenu* search = menuBar()->addMenu(UiText::tr("検索(&S)"));
    search->addAction(UiText::tr("最近変更されたサイト(&R)..."), this, [this] { AskChangedWithin(); });
    QMenu* help = menuBar()->addMenu(UiText::tr("ヘルプ(&H)"));
    help->addAction(UiText::tr("バージョン(&V)"), this, [this] { ShowVersion(); });
}

void SuiteWindow::StartLoaders() {
    // Workers: each reads its list under the catalogue's lock and posts the rows back.
    m_qdxLoader.Start([this](std::stop_token) {
        std::vector<suite::QdxRow> rows = suite::LoadQdxRows(m_catalogue);
        QMetaObject::invokeMethod(this, [this, rows = std::move(rows)]() mutable {
            m_qdxView->SetRows(std::move(rows));
            LoaderDone();
        }, Qt::QueuedConnection);
    });
    m_fileLoader.Start([this](std::stop_token) {
        std::vector<suite::FileRow> rows = suite::LoadFileRows(m_catalogue);
        QMetaObject::invokeMethod(this, [this, rows = std::move(rows)] {
            m_fileView->SetRows(rows);
            LoaderDone();
        }, Qt::QueuedConnection);
    });
}

void SuiteWindow::LoaderDone() {
    if (++m_loadersDone < 2) return;
    m_progress->hide();
    m_searchBox->setEnabled(true);
    m_searchButton->setEnabled(true);
    m_qdxView->setEnabled(true);
    m_fileView->setEnabled(true);
    // Registrations that came while loading are in the catalogue; show them now.
    std::vector<suite::Registration> pending;
    pending.swap(m_pending);
    for (const suite::Registration& r : pending) ShowRegistration(r);
}

void SuiteWindow::ApplyRegistration(const suite::Registration& registration) {
    std::string error;
    const int result = suite::ApplyRegistration(m_catalogue, registration, &error);
    if (result == suite::RegisterDropped && !error.empty()) std::fprintf(stderr, "QdxSuite: %s\n", error.c_str());
    // The rows follow once the lists are there.
    if (!Loaded()) m_pending.push_back(registration);
    else ShowRegistration(registration);
}

void SuiteWindow::ShowRegistration(const suite::Registration& registration) {
    if (suite::IsQdxKind(registration.kind)) {
        const int times = m_catalogue.OpenTimes(registration.first);
        if (times > 0) m_qdxView->ShowRegistered(registration.first, times);
    } else if (suite::IsFileKind(registration.kind) && m_catalogue.HasFile(registration.first)) {
        m_fileView->ShowRegistered(registration.first, registration.second);
    }
}

void SuiteWindow::PollHandOver() {
    suite::Registration registration;
    while (m_receiver.Take(registration)) {
        ApplyRegistration(registration);
        // Written before the sender is released: a registration must not wait for this
        // window's close to reach the file.
        std::string error;
        if (m_catalogue.Changed() && m_catalogue.Commit(&error) != 1)
            std::fprintf(stderr, "QdxSuite: %s\n", error.c_str());
        m_receiver.FinishHandOver();
    }
}

int SuiteWindow::ShowChangedWithin(int days) {
    m_tabs->setCurrentIndex(0);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch());
    const int shown = m_qdxView->ShowChangedWithin(days, now.count());
    statusBar()->showMessage(UiText::tr("%1 日以内に更新で変わったサイト: %2 件").arg(days).arg(shown));
    return shown;
}

std::unique_ptr<QInputDialog> MakeChangedWithinDialog(QWidget* owner) {
    auto dialog = std::make_unique<QInputDialog>(owner);
    dialog->setWindowTitle(UiText::tr("最近変更されたサイト"));
    dialog->setLabelText(UiText::tr("何日以内に更新で変わったサイトを表示しますか:"));
    dialog->setIntRange(0, 36500);
    dialog->setIntStep(1);
    dialog->setIntValue(kRecentDays);
    return dialog;
}

std::unique_ptr<QDialog> MakeVersionDialog(QWidget* owner) {
    auto dialog = std::make_unique<QDialog>(owner);
    dialog->setWindowTitle(QStringLiteral("VersionInfo"));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new QLabel(UiText::tr("Sitrova Suite\nSitrova で保存したサイトとファイルの一覧")));
    auto* close = new QPushButton(UiText::tr("閉じる"));
    layout->addWidget(close, 0, Qt::AlignRight);
    QObject::connect(close, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    return dialog;
}

void SuiteWindow::AskChangedWithin() {
    const std::unique_ptr<QInputDialog> dialog = MakeChangedWithinDialog(this);
    if (dialog->exec() == QDialog::Accepted) (void)ShowChangedWithin(dialog->intValue());
}

void SuiteWindow::RunSearch() {
    const QString text = m_searchBox->currentText();
    if (text.isEmpty()) return;
    if (m_searchBox->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) m_searchBox->addItem(text);
    const std::string word = platformqt::FromQ(text);
    if (m_tabs->currentIndex() == 0) m_qdxView->Search(word);
    else m_fileView->Search(word);
}

void SuiteWindow::StartSitrova() {
    const std::string sitrova = m_programFolder + "/Sitrova";
    if (!platform::IsRegularFile(sitrova) || !m_hooks.startProgram || m_hooks.startProgram(sitrova, {}) != 1)
        (void)platformqt::ShowMessage(this, platformqt::FromQ(UiText::tr("エラー")), platformqt::FromQ(UiText::tr("起動に失敗しました。")),
                                      platformqt::IconError);
}

void SuiteWindow::ShowVersion() {
    if (platformqt::IsHeadless()) return;
    MakeVersionDialog(this)->exec();
}

void SuiteWindow::closeEvent(QCloseEvent* event) {
    if (!m_saved) {
        m_saved = true;
        m_handOverTimer->stop();
        m_qdxLoader.StopAndWait();
        m_fileLoader.StopAndWait();
        (void)suite::WriteWindowSize(IniPathOf(m_programFolder), {width(), height()});
        std::string error;
        if (m_catalogue.Changed() && m_catalogue.Commit(&error) != 1)
            (void)platformqt::ShowMessage(this, "Sitrova Suite", platformqt::FromQ(UiText::tr("カタログを保存できませんでした。\n%1").arg(platformqt::ToQ(error))),
                                          platformqt::IconError);
    }
    event->accept();
}

}  // namespace suiteqt
