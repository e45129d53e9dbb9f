#include "app/qt/InputView.h"

#include "app/qt/AnalysisPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "app/qt/UiHooks.h"
#include "engine/CpuLevel.h"
#include "engine/SaveJob.h"
#include "platform/UiLanguage.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/Settings.h"

namespace appqt {

using namespace engine::mode;
using platformqt::FromQ;
using platformqt::ToQ;

namespace {

// The option area lies below the upper area; the window grows when it cannot hold it.
constexpr int kOptionTop = 184;
constexpr int kOptionHeight = 128;
constexpr int kOptionBottom = kOptionTop + kOptionHeight + 8;

template <typename T>
T* Make(QWidget* parent, int id, const QString& text = {}) {
    auto* widget = new T(parent);
    widget->setObjectName(platformqt::ControlName(id));
    if constexpr (requires { widget->setText(QString()); }) {
        if (!text.isEmpty()) widget->setText(text);
    }
    return widget;
}

// The one-character button beside the URL field: as narrow as its character, where the
// style would ask for the width of a word.
class NarrowButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    QSize minimumSizeHint() const override {
        return {fontMetrics().horizontalAdvance(text()) + 8, QPushButton::minimumSizeHint().height()};
    }
};

QGroupBox* MakeFrame(QWidget* parent, int id, const QString& title) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(platformqt::ControlName(id));
    return frame;
}

}  // namespace

InputView::InputView(engine::SaveJob& job, UiHooks& hooks, std::function<void()> startSave, QWidget* parent)
    : QWidget(parent), m_job(job), m_hooks(hooks), m_startSave(std::move(startSave)) {
    CreateControls();
    SetInitialState();
    LayoutControls();
}

// Leaving the view stops the title fetch (its worker is joined by the member's destructor).
InputView::~InputView() = default;

void InputView::CreateControls() {
    // Frames first: widgets made later lie above them.
    m_targetFrame = MakeFrame(this, TargetFrame, UiText::tr("ターゲットページの設定"));
    m_optionFrame = MakeFrame(this, OptionFrame, UiText::tr("詳細設定"));
    auto* outFrame = MakeFrame(this, OutDomainFrame, UiText::tr("外部パスの処理"));

    Make<QLabel>(this, UrlLabel, UiText::tr("コンプリートするURL"));
    m_url = Make<QLineEdit>(this, UrlEdit);
    QPushButton* analyse = Make<NarrowButton>(this, AnalyseButton, UiText::tr("？"));
    Make<QLabel>(this, SaveLabel, UiText::tr("保存先のフルパス"));
    m_save = Make<QComboBox>(this, SaveCombo);
    m_save->setEditable(true);
    m_save->setInsertPolicy(QComboBox::NoInsert);
    m_save->setCompleter(nullptr);  // a path typed is taken as typed, not completed from the history
    auto* browse = Make<QPushButton>(this, BrowseButton, UiText::tr("参照"));
    m_titleButton = Make<QPushButton>(this, TitleButton, UiText::tr("ページ名取得"));
    auto* start = Make<QPushButton>(this, StartButton, UiText::tr("ダウンロード"));
    auto* cancel = Make<QPushButton>(this, CancelButton, UiText::tr("キャンセル"));
    m_optionButton = Make<QPushButton>(this, OptionButton, UiText::tr("オプション≫"));
    m_titleProgress = new QLabel(this);
    m_titleProgress->setObjectName(QStringLiteral("titleProgress"));
    m_titleProgress->hide();

    auto* limitLabel = Make<QLabel>(this, LimitLabel, UiText::tr("上位階層の上限値"));
    m_limit = Make<QLineEdit>(this, LimitEdit, QStringLiteral("0"));
    m_limit->setAlignment(Qt::AlignRight);
    m_limit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_limit));
    m_forced = Make<QCheckBox>(this, ForcedCheck, UiText::tr("強制変換"));
    m_alias = Make<QCheckBox>(this, AliasCheck, UiText::tr("Alias補正"));
    m_agent = Make<QCheckBox>(this, AgentCheck, UiText::tr("Agent利用"));
    m_dataFolder = Make<QCheckBox>(this, DataFolderCheck, UiText::tr("データフォルダ"));
    m_updateLog = Make<QCheckBox>(this, UpdateLogCheck, UiText::tr("更新ログ(*.qdx)"));
    auto* group = new QButtonGroup(this);
    const char* outNames[] = {QT_TRANSLATE_NOOP("UiText", "無効"), QT_TRANSLATE_NOOP("UiText", "有効"),
                              QT_TRANSLATE_NOOP("UiText", "選択")};
    for (int i = 0; i < 3; ++i) {
        m_outDomain[i] = Make<QRadioButton>(this, OutDomainOff + i, platformqt::Ui(outNames[i]));
        group->addButton(m_outDomain[i], i);
    }
    m_trace = Make<QCheckBox>(this, TraceCheck, UiText::tr("追跡リンク選択"));
    auto* cpuLabel = Make<QLabel>(this, CpuLabel, UiText::tr("CPU占有率："));
    m_cpuButton = Make<QPushButton>(this, CpuButton);

    // Drops anywhere on the window follow the window's rules, the fields' own included.
    for (QLineEdit* edit : {m_url, m_save->lineEdit(), m_limit}) edit->setAcceptDrops(false);

    m_optionControls = {m_optionFrame, limitLabel, m_limit, m_forced, m_alias, m_agent, m_dataFolder, m_updateLog,
                        outFrame, m_outDomain[0], m_outDomain[1], m_outDomain[2], m_trace, cpuLabel, m_cpuButton};
    for (QWidget* w : m_optionControls) w->hide();

    const std::pair<QPushButton*, int> buttons[] = {{analyse, AnalyseButton}, {browse, BrowseButton},
                                                    {m_titleButton, TitleButton}, {start, StartButton},
                                                    {cancel, CancelButton}, {m_optionButton, OptionButton},
                                                    {m_cpuButton, CpuButton}};
    for (const auto& [button, id] : buttons) {
        const int command = id;
        connect(button, &QPushButton::clicked, this, [this, command] { OnCommand(command); });
    }
    // The agent option works only on converted pages: the two boxes follow each other.
    connect(m_forced, &QCheckBox::clicked, this, [this] {
        if (!m_forced->isChecked() && m_agent->isChecked()) m_agent->setChecked(false);
    });
    connect(m_agent, &QCheckBox::clicked, this, [this] {
        if (m_agent->isChecked() && !m_forced->isChecked()) m_forced->setChecked(true);
    });
}

void InputView::SetInitialState() {
    const std::string ini = m_job.IniPath();
    const std::vector<std::string> history = records::ReadSaveHistory(ini);
    for (const std::string& path : history) m_save->addItem(ToQ(path));

    std::string url;
    std::string savePath;
    if (m_job.Has(ModePresetUrl)) {
        url = m_job.UrlBase() + m_job.UrlLeaf();
        if (!m_job.SaveFolder().empty() || !m_job.ChosenSaveName().empty())
            savePath = m_job.SaveFolder() + m_job.ChosenSaveName();
    }
    if (savePath.empty()) savePath = app::DefaultSavePath(history, app::CurrentFolder(), url);
    m_url->setText(ToQ(url));
    m_save->setCurrentIndex(-1);
    m_save->setEditText(ToQ(savePath));

    const app::InputOptions options = app::InitialInputOptions(records::ReadDefMode(ini));
    m_dataFolder->setChecked(options.dataFolder);
    m_updateLog->setChecked(options.updateLog);
    m_outDomain[options.outDomain]->setChecked(true);
    RenewCpuButton();
}

void InputView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutControls();
}

void InputView::LayoutControls() {
    const int w = width();
    auto place = [this](int id, int x, int y, int width, int height) {
        if (auto* control = findChild<QWidget*>(platformqt::ControlName(id), Qt::FindDirectChildrenOnly))
            control->setGeometry(x, y, width, height);
    };
    place(TargetFrame, 8, 8, w - 16, 168);
    place(UrlLabel, 16, 40, 164, 24);
    place(UrlEdit, 180, 40, w - 212, 24);
    place(AnalyseButton, w - 32, 40, 16, 24);
    place(SaveLabel, 16, 72, 164, 24);
    // The drop-down list opens below the field; the field itself is one line high.
    place(SaveCombo, 180, 72, w - 192, 24);
    place(TitleButton, w - 272, 104, 112, 24);
    place(BrowseButton, w - 144, 104, 112, 24);
    place(StartButton, w / 2 - 192, 144, 128, 24);
    place(CancelButton, w / 2 + 64, 144, 128, 24);
    place(OptionButton, 16, 144, 112, 24);
    m_titleProgress->setGeometry(16, 104, std::max(0, w - 296), 24);

    place(OptionFrame, 8, kOptionTop, w - 16, kOptionHeight);
    place(LimitLabel, 24, kOptionTop + 24, 120, 24);
    place(LimitEdit, 148, kOptionTop + 24, 56, 24);
    // The English words run longer: the option boxes get wider columns there, while the
    // Japanese layout stays as it always was.
    const bool english = platform::InEnglish();
    const int step = english ? 128 : 116;
    const int box = step - 4;
    place(ForcedCheck, 24, kOptionTop + 56, box, 24);
    place(AliasCheck, 24 + step, kOptionTop + 56, box, 24);
    place(AgentCheck, 24 + 2 * step, kOptionTop + 56, box, 24);
    place(DataFolderCheck, 24, kOptionTop + 88, box, 24);
    place(UpdateLogCheck, 24 + step, kOptionTop + 88, box, 24);
    place(TraceCheck, 24 + 2 * step, kOptionTop + 88, box, 24);
    place(OutDomainFrame, w - 232, kOptionTop + 16, 208, 56);
    if (english) {
        place(OutDomainOff, w - 224, kOptionTop + 40, 52, 24);
        place(OutDomainOn, w - 168, kOptionTop + 40, 52, 24);
        place(OutDomainSelect, w - 112, kOptionTop + 40, 84, 24);
    } else {
        place(OutDomainOff, w - 224, kOptionTop + 40, 60, 24);
        place(OutDomainOn, w - 160, kOptionTop + 40, 60, 24);
        place(OutDomainSelect, w - 96, kOptionTop + 40, 64, 24);
    }
    place(CpuLabel, w - 232, kOptionTop + 88, 104, 24);
    place(CpuButton, w - 124, kOptionTop + 88, 100, 24);
    if (m_analysis) {
        const int top = m_optionsShown ? kOptionBottom : kOptionTop;
        m_analysis->setGeometry(8, top, w - 16, std::max(120, height() - top - 8));
    }
}

void InputView::ToggleOptionArea() {
    m_optionsShown = !m_optionsShown;
    for (QWidget* w : m_optionControls) w->setVisible(m_optionsShown);
    m_optionButton->setText(m_optionsShown ? UiText::tr("≪オプション") : UiText::tr("オプション≫"));
    QWidget* top = window();
    if (m_optionsShown && height() < kOptionBottom) {
        m_grownBy = kOptionBottom - height();
        top->resize(top->width(), top->height() + m_grownBy);
    } else if (!m_optionsShown && m_grownBy > 0) {
        top->resize(top->width(), top->height() - m_grownBy);
        m_grownBy = 0;
    }
    LayoutControls();
}

void InputView::ChooseCpuLevel() {
    const int current = engine::LevelForSleep(m_job.CpuSleepMs());
    const int level = m_hooks.cpuPopup(window(), current);
    m_job.SetCpuSleepMs(engine::SleepForLevel(level));
    RenewCpuButton();
}

void InputView::RenewCpuButton() { m_cpuButton->setText(UiText::tr(engine::LevelName(m_job.CpuSleepMs()).c_str())); }

app::InputOptions InputView::Options() const {
    app::InputOptions options;
    options.forced = m_forced->isChecked();
    options.alias = m_alias->isChecked();
    options.agent = m_agent->isChecked();
    options.dataFolder = m_dataFolder->isChecked();
    options.updateLog = m_updateLog->isChecked();
    options.traceSelect = m_trace->isChecked();
    options.outDomain = m_outDomain[1]->isChecked() ? 1 : m_outDomain[2]->isChecked() ? 2 : 0;
    return options;
}

std::string InputView::UrlText() const { return FromQ(m_url->text()); }

std::string InputView::SaveText() const { return FromQ(m_save->currentText()); }

std::vector<std::string> InputView::HistoryItems() const {
    std::vector<std::string> items;
    for (int i = 0; i < m_save->count(); ++i) items.push_back(FromQ(m_save->itemText(i)));
    return items;
}

int InputView::Tell(const std::string& caption, const std::string& text, int icon, bool yesNo) {
    return m_hooks.message(window(), caption, text, static_cast<platformqt::MessageIcon>(icon),
                           yesNo ? platformqt::ButtonsYesNo : platformqt::ButtonOk,
                           yesNo ? platformqt::AnswerNo : platformqt::AnswerOk);
}

}  // namespace appqt
