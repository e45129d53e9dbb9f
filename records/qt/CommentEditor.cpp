// "QdxComment": the free comment of a .qdx record.
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/SaveJob.h"
#include "platform/FileUtil.h"
#include "platform/qt/MessageBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UiText.h"
#include "records/qt/RecordWindows.h"

namespace recordsqt {

using platformqt::FromQ;
using platformqt::ToQLines;

CommentEditor::CommentEditor(QWidget* owner, engine::SaveJob& job) : QDialog(owner), m_job(job) {
    setWindowTitle(UiText::tr("コメント編集"));
    resize(360, 240);
    auto* layout = new QVBoxLayout(this);
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("commentEdit"));
    layout->addWidget(m_edit, 1);

    records::SectionFile record;
    const std::string path = job.QdxPath();
    // Loading would create a missing record; a comment only belongs to an existing one.
    if (platform::IsRegularFile(path) && record.Load(path)) m_edit->setPlainText(ToQLines(records::ReadComment(record)));

    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* save = new QPushButton(UiText::tr("登録(Ctrl+S)"), this);
    save->setObjectName(QStringLiteral("registerButton"));
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] { Register(); });
    row->addWidget(save);
    auto* cancel = new QPushButton(UiText::tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [this] { done(0); });
    row->addWidget(cancel);
    layout->addLayout(row);
    m_edit->setFocus();
}

void CommentEditor::Register() {
    const std::string path = m_job.QdxPath();
    records::SectionFile record;
    std::string error;
    if (!platform::IsRegularFile(path) || !record.Load(path)) {
        error = FromQ(UiText::tr("Qdxファイルが開けません: %1").arg(platformqt::ToQ(path)));
    } else if (records::WriteComment(record, FromQ(m_edit->toPlainText()), &error, records::ErrorReader::User)) {
        done(1);
        return;
    }
    platformqt::ShowMessage(this, "Sitrova", error, platformqt::IconWarning);
}

}  // namespace recordsqt
