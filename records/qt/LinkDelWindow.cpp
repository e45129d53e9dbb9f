// "QdxLinkDel": removes related links of a .qdx record.
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/qt/RecordWindows.h"

namespace recordsqt {

using platformqt::ToQ;

namespace {

QPushButton* Button(QWidget* parent, const char* text, const char* name) {
    auto* button = new QPushButton(platformqt::Ui(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

LinkDelWindow::LinkDelWindow(QWidget* owner, engine::SaveJob& job) : QDialog(owner), m_job(job) {
    setWindowTitle(UiText::tr("関連リンクの削除"));
    resize(480, 360);
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(UiText::tr("削除する関連リンクをチェックしてください。"), this);
    note->setObjectName(QStringLiteral("note"));
    layout->addWidget(note);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("linkList"));
    layout->addWidget(m_list, 1);

    const std::string path = job.QdxPath();
    if (platform::IsRegularFile(path) && m_record.Load(path)) {
        const int count = records::CountLinks(m_record);
        for (int i = 0; i < count; ++i) {
            records::RelatedLink link;
            const bool read = records::ReadLink(m_record, i, link) == 1;
            auto* item = new QListWidgetItem(read ? ToQ(link.name) : QStringLiteral("?"), m_list);
            item->setToolTip(ToQ(link.target));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            item->setData(Qt::UserRole, i);
        }
    }

    auto* row = new QHBoxLayout();
    auto* all = Button(this, QT_TRANSLATE_NOOP("UiText", "全て選択"), "checkAll");
    connect(all, &QPushButton::clicked, this, [this] { CheckAll(true); });
    row->addWidget(all);
    auto* none = Button(this, QT_TRANSLATE_NOOP("UiText", "全て非選択"), "uncheckAll");
    connect(none, &QPushButton::clicked, this, [this] { CheckAll(false); });
    row->addWidget(none);
    row->addStretch(1);
    auto* remove = Button(this, QT_TRANSLATE_NOOP("UiText", "削除する"), "deleteButton");
    connect(remove, &QPushButton::clicked, this, [this] { Delete(); });
    row->addWidget(remove);
    auto* cancel = Button(this, QT_TRANSLATE_NOOP("UiText", "キャンセル"), "cancelButton");
    connect(cancel, &QPushButton::clicked, this, [this] { done(0); });
    row->addWidget(cancel);
    layout->addLayout(row);
}

void LinkDelWindow::CheckAll(bool on) {
    for (int row = 0; row < m_list->count(); ++row) m_list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void LinkDelWindow::Delete() {
    std::vector<int> chosen;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->checkState() == Qt::Checked) chosen.push_back(m_list->item(row)->data(Qt::UserRole).toInt());
    if (chosen.empty()) {
        done(0);
        return;
    }
    if (!records::DeleteLinks(m_record, chosen)) {
        const QString text = UiText::tr("関連リンクを削除できません: %1").arg(ToQ(m_record.Path()));
        platformqt::ShowMessage(this, "Sitrova", platformqt::FromQ(text), platformqt::IconWarning);
        // The record in memory no longer matches the file; the file keeps every link.
        done(0);
        return;
    }
    done(1);
}

}  // namespace recordsqt
