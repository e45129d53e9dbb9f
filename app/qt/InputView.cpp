#include "app/qt/InputView.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "records/Settings.h"

namespace appqt {

using namespace engine::mode;
using platformqt::FromQ;
using platformqt::ToQ;

namespace {

// Options of the input view taken from the saved defaults.
constexpr uint32_t kViewOptionBits = datafolder | qdxfile | OutDomainAll | OutDomainSelect;
constexpr uint32_t kCopiedOptionBits = FollowDynamicPages | RetryOnFailure | NotFoundTitleCheck;

}  // namespace

InputView::InputView(engine::SaveJob& job, std::function<void()> startSave, QWidget* parent)
    : QWidget(parent), m_job(job), m_startSave(std::move(startSave)) {
    auto* form = new QFormLayout(this);
    m_url = new QLineEdit(this);
    m_url->setObjectName(QStringLiteral("url"));
    m_url->setText(ToQ(job.UrlBase() + job.UrlLeaf()));
    form->addRow(QStringLiteral("コンプリートするURL"), m_url);
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("savePath"));
    if (!job.ChosenSaveName().empty()) m_path->setText(ToQ(job.SaveFolder() + job.ChosenSaveName()));
    form->addRow(QStringLiteral("保存先のフルパス"), m_path);
    auto* start = new QPushButton(QStringLiteral("ダウンロード"), this);
    start->setObjectName(QStringLiteral("ctl520"));
    connect(start, &QPushButton::clicked, this, [this] { (void)StartSave(); });
    form->addRow(start);
}

void InputView::OnCommand(int id) {
    if (id == 26) (void)StartSave();
}

bool InputView::StartSave() {
    std::string url = FromQ(m_url->text().trimmed());
    const std::string path = FromQ(m_path->text().trimmed());
    if (url.empty() || path.empty() || path.back() == '/') {
        platformqt::ShowMessage(window(), "Sitrova", "URLと保存先のフルパスを入力してください。",
                                platformqt::IconWarning);
        return false;
    }
    const uint32_t defMode = records::ReadDefMode(m_job.IniPath());
    m_job.ClearModeBits(ModePresetUrl | ModeMaker);
    m_job.SetModeBits(ModeNormal | (defMode & (kViewOptionBits | kCopiedOptionBits)));
    if (url.back() == '/') {
        url += "index.html";
        m_job.SetModeBits(ModeIndexAppended);
    }
    m_job.SetStartUrl(url);
    m_job.SetSaveTarget(path);
    m_startSave();
    return true;
}

}  // namespace appqt
