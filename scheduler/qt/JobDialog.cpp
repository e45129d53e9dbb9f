#include "scheduler/qt/JobDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "engine/qt/NamedOptionsForm.h"
#include "platform/UiLanguage.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "scheduler/HelperLibrary.h"

namespace schedulerqt {

using platformqt::FromQ;
using platformqt::ToQ;

namespace {

constexpr const char* kTitle = QT_TRANSLATE_NOOP("UiText", "コンプリート保存スケジュールの追加");
constexpr const char* kOptionsClosed = QT_TRANSLATE_NOOP("UiText", "オプション≫");
constexpr const char* kOptionsOpen = QT_TRANSLATE_NOOP("UiText", "≪オプション");

// `text` is a window text marked for translation.
QPushButton* Button(QWidget* parent, const char* text, const char* name, int x, int y, int w, int h) {
    auto* button = new QPushButton(UiText::tr(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

// A title becomes a file name: characters that would leave the folder or break the path
// rules are replaced.
std::string TitleAsFileName(std::string title) {
    for (char& c : title) {
        if (std::string_view("/\\:,;*?<>|\"").find(c) != std::string_view::npos || c == '\r' || c == '\n') c = '_';
    }
    return title;
}

}  // namespace

JobDialog::JobDialog(scheduler::ScheduledJob& job, const std::string& programFolder, const SchedulerHooks& hooks,
                     QWidget* owner)
    : QDialog(owner), m_job(job), m_cpuLevel(job.cpuLevel), m_programFolder(programFolder), m_hooks(hooks),
      m_named(job.named) {
    setObjectName(QStringLiteral("SitrovaConsole"));
    setWindowTitle(UiText::tr(kTitle));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(540, 440);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xD3, 0xD3, 0xD3));
    setPalette(palette);
    BuildControls();
    if (platform::InEnglish()) FitTranslatedTexts();
    ShowOptions(job.optionsShown);
}

JobDialog::~JobDialog() = default;

void JobDialog::BuildControls() {
    m_url = new QLineEdit(ToQ(m_job.url), this);
    m_url->setObjectName(QStringLiteral("url"));
    m_url->setGeometry(34, 34, 480, 22);
    m_url->setMaxLength(static_cast<int>(scheduler::kTextLimit));
    m_path = new QLineEdit(ToQ(m_job.savePath), this);
    m_path->setObjectName(QStringLiteral("savePath"));
    m_path->setGeometry(34, 82, 480, 22);
    m_path->setMaxLength(static_cast<int>(scheduler::kTextLimit));
    m_title = Button(this, QT_TRANSLATE_NOOP("UiText", "ページ名取得"), "getTitle", 272, 112, 104, 22);
    m_browse = Button(this, QT_TRANSLATE_NOOP("UiText", "参照"), "browse", 392, 112, 96, 22);
    m_ok = Button(this, QT_TRANSLATE_NOOP("UiText", "ＯＫ"), "ok", 88, 148, 130, 22);
    m_cancel = Button(this, QT_TRANSLATE_NOOP("UiText", "キャンセル"), "cancel", 300, 148, 130, 22);
    m_options = Button(this, kOptionsClosed, "options", 56, 188, 130, 22);

    m_limitLabel = new QLabel(UiText::tr("上位階層の上限値："), this);
    m_limitLabel->setGeometry(88, 220, 144, 18);
    m_upperLimit = new QLineEdit(ToQ(m_job.upperLimitText), this);
    m_upperLimit->setObjectName(QStringLiteral("upperLimit"));
    m_upperLimit->setGeometry(236, 220, 32, 20);
    m_upperLimit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_upperLimit->setMaxLength(static_cast<int>(scheduler::kTextLimit));

    const struct {
        const char* text;
        const char* name;
        bool value;
    } checks[CheckCount] = {{QT_TRANSLATE_NOOP("UiText", "強制変換"), "forceConvert", m_job.forceConvert},
                            {QT_TRANSLATE_NOOP("UiText", "Alias補整"), "aliasFix", m_job.aliasFix},
                            {QT_TRANSLATE_NOOP("UiText", "Agent利用"), "useAgent", m_job.useAgent},
                            {QT_TRANSLATE_NOOP("UiText", "データフォルダ"), "dataFolder", m_job.dataFolder},
                            {QT_TRANSLATE_NOOP("UiText", "更新ログ"), "updateLog", m_job.updateLog}};
    for (int i = 0; i < CheckCount; ++i) {
        m_checks[i] = new QCheckBox(UiText::tr(checks[i].text), this);
        m_checks[i]->setObjectName(QString::fromLatin1(checks[i].name));
        m_checks[i]->setGeometry(124, 240 + 26 * i, 150, 22);
        m_checks[i]->setChecked(checks[i].value);
    }
    connect(m_checks[ForceConvert], &QCheckBox::clicked, this, [this] { ForceConvertClicked(); });
    connect(m_checks[UseAgent], &QCheckBox::clicked, this, [this] { UseAgentClicked(); });

    m_outDomainLabel = new QLabel(UiText::tr("外部パスの処理"), this);
    m_outDomainLabel->setGeometry(328, 220, 160, 18);
    const struct {
        const char* text;
        int x, y;
    } radios[4] = {{QT_TRANSLATE_NOOP("UiText", "無効"), 360, 244},
                   {QT_TRANSLATE_NOOP("UiText", "有効"), 360, 268},
                   {QT_TRANSLATE_NOOP("UiText", "選択（※利用不可）"), 360, 292},
                   {QT_TRANSLATE_NOOP("UiText", "追跡リンク選択（※利用不可）"), 296, 318}};
    for (int i = 0; i < 4; ++i) {
        m_outDomain[i] = new QRadioButton(UiText::tr(radios[i].text), this);
        m_outDomain[i]->setObjectName(QStringLiteral("outDomain%1").arg(i));
        m_outDomain[i]->setGeometry(radios[i].x, radios[i].y, 220, 22);
        m_outDomain[i]->setEnabled(i < 2);
    }
    m_outDomain[m_job.outDomainEnabled ? 1 : 0]->setChecked(true);

    m_cpuLabel = new QLabel(ToQ(scheduler::CpuLevelText(m_cpuLevel)), this);
    m_cpuLabel->setObjectName(QStringLiteral("cpuLevel"));
    m_cpuLabel->setGeometry(304, 344, 130, 22);
    m_cpuChange = Button(this, QT_TRANSLATE_NOOP("UiText", "変更"), "cpuChange", 442, 344, 48, 22);

    // The named options take one row below the others: a button for their dialog and the
    // arguments they add to the job.
    m_webButton = Button(this, QT_TRANSLATE_NOOP("UiText", "Web の設定..."), "webOptions", 88, 380, 150, 22);
    m_webSummary = new QLabel(this);
    m_webSummary->setObjectName(QStringLiteral("webSummary"));
    m_webSummary->setGeometry(248, 380, 270, 22);
    ShowWebSummary();
    connect(m_webButton, &QPushButton::clicked, this, [this] { OpenWebOptions(); });

    connect(m_options, &QPushButton::clicked, this, [this] { ShowOptions(!m_job.optionsShown); });
    connect(m_cpuChange, &QPushButton::clicked, this, [this] { ChangeCpuLevel(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(m_title, &QPushButton::clicked, this, [this] { FetchTitle(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { Accept(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });
}

// The places of the controls were made for the Japanese texts: a longer English text widens
// its control, which moves left where it would leave the dialog.
void JobDialog::FitTranslatedTexts() {
    constexpr int kMargin = 8;
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        QRect place = button->geometry();
        const int wanted = button->sizeHint().width();
        if (wanted <= place.width()) continue;
        place.setWidth(wanted);
        if (place.right() > width() - kMargin) place.moveRight(width() - kMargin);
        button->setGeometry(place);
    }
}

void JobDialog::ShowOptions(bool shown) {
    m_job.optionsShown = shown;
    m_options->setText(UiText::tr(shown ? kOptionsOpen : kOptionsClosed));
    for (QWidget* w : {static_cast<QWidget*>(m_limitLabel), static_cast<QWidget*>(m_upperLimit),
                       static_cast<QWidget*>(m_outDomainLabel), static_cast<QWidget*>(m_cpuLabel),
                       static_cast<QWidget*>(m_cpuChange), static_cast<QWidget*>(m_webButton),
                       static_cast<QWidget*>(m_webSummary)})
        w->setVisible(shown);
    for (QCheckBox* c : m_checks) c->setVisible(shown);
    for (QRadioButton* r : m_outDomain) r->setVisible(shown);
}

void JobDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    painter.drawText(16, 16 + ascent, UiText::tr("コンプリートするURL"));
    painter.drawText(16, 64 + ascent, UiText::tr("保存先のフルパス"));
}

// Agent use always comes with forced conversion.
void JobDialog::ForceConvertClicked() {
    if (m_checks[UseAgent]->isChecked() && !m_checks[ForceConvert]->isChecked()) m_checks[UseAgent]->setChecked(false);
}

void JobDialog::UseAgentClicked() {
    if (m_checks[UseAgent]->isChecked() && !m_checks[ForceConvert]->isChecked()) m_checks[ForceConvert]->setChecked(true);
}

void JobDialog::ChangeCpuLevel() {
    const int id = m_hooks.cpuDialog(this);
    if (id < 1024 || id > 1027) return;
    m_cpuLevel = id - 1023;
    m_cpuLabel->setText(ToQ(scheduler::CpuLevelText(m_cpuLevel)));
}

void JobDialog::Browse() {
    const std::string chosen = m_hooks.chooseSaveFile(this, scheduler::ProposedFileName(FromQ(m_path->text()), FromQ(m_url->text())));
    if (!chosen.empty()) m_path->setText(ToQ(chosen));
}

void JobDialog::FetchTitle() {
    const std::string url = FromQ(m_url->text());
    if (url.empty()) {
        Tell(m_hooks, this, FromQ(UiText::tr("URLが指定されていません。")), FromQ(UiText::tr(kTitle)));
        return;
    }
    const std::string folder = scheduler::PathFolderPart(FromQ(m_path->text()));
    std::string title;
    const int result = scheduler::FetchTitle(m_programFolder, this, url, m_job.makerMode, title);
    if (result == scheduler::TitleFetched) m_path->setText(ToQ(folder + TitleAsFileName(title) + ".html"));
    else Tell(m_hooks, this, scheduler::TitleFailureMessage(result), FromQ(UiText::tr("エラー")));
    activateWindow();
    raise();
}

void JobDialog::Accept() {
    const std::string url = FromQ(m_url->text());
    if (!scheduler::IsAcceptedUrl(url)) {
        Tell(m_hooks, this, FromQ(UiText::tr("URLが正しくありません。")));
        return;
    }
    const std::string path = FromQ(m_path->text());
    if (!scheduler::CheckSavePath(path, scheduler::PathHasReservedName(m_programFolder, path))) {
        Tell(m_hooks, this, FromQ(UiText::tr("保存パスが正しくありません。")));
        return;
    }
    m_job.url = url;
    m_job.savePath = path;
    std::string limit;
    for (char c : FromQ(m_upperLimit->text()))
        if (c >= '0' && c <= '9') limit += c;  // digits only, however the text came in
    m_job.upperLimitText = limit.substr(0, scheduler::kTextLimit);
    m_job.forceConvert = m_checks[ForceConvert]->isChecked();
    m_job.aliasFix = m_checks[AliasFix]->isChecked();
    m_job.useAgent = m_checks[UseAgent]->isChecked();
    m_job.dataFolder = m_checks[DataFolder]->isChecked();
    m_job.updateLog = m_checks[UpdateLog]->isChecked();
    m_job.outDomainEnabled = m_outDomain[1]->isChecked();
    m_job.cpuLevel = m_cpuLevel;
    m_job.named = m_named;
    scheduler::AcceptJob(m_job, scheduler::UrlIsBlog(m_programFolder, url));
    accept();
}

// The same controls as the "Web" settings page, for this job alone. The dialog is window-modal
// and does not block: OK takes its values into the job dialog, which passes them to the job
// on its own OK.
void JobDialog::OpenWebOptions() {
    if (!m_webDialog) {
        m_webDialog = new QDialog(this);
        m_webDialog->setObjectName(QStringLiteral("webOptionsDialog"));
        m_webDialog->setWindowTitle(UiText::tr("Web の設定（このジョブ）"));
        auto* box = new QVBoxLayout(m_webDialog);
        auto* form = new QFormLayout;
        box->addLayout(form);
        m_webForm = std::make_unique<engineqt::NamedOptionsForm>(m_webDialog, form);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, m_webDialog);
        buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("webOk"));
        buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("webCancel"));
        box->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { TakeWebOptions(); });
        connect(buttons, &QDialogButtonBox::rejected, m_webDialog, &QDialog::reject);
    }
    m_webForm->Show(m_named);
    m_webDialog->open();
}

void JobDialog::TakeWebOptions() {
    std::string error;
    if (!m_webForm->Read(m_named, &error)) {
        Tell(m_hooks, m_webDialog, error);
        return;
    }
    ShowWebSummary();
    m_webDialog->accept();
}

void JobDialog::ShowWebSummary() {
    std::string text;
    for (const std::string& argument : scheduler::NamedArgumentsFor(m_named, m_job.settingsNamed))
        text += (text.empty() ? "" : " ") + argument;
    const QString shown = text.empty() ? UiText::tr("（Sitrov.ini の設定のまま）") : ToQ(text);
    m_webSummary->setText(m_webSummary->fontMetrics().elidedText(shown, Qt::ElideRight, m_webSummary->width()));
    m_webSummary->setToolTip(ToQ(text));
}

}  // namespace schedulerqt
