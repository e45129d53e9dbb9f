#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

#include "app/qt/dialogs/InfoDialogs.h"
#include "engine/SaveJob.h"
#include "platform/qt/QtText.h"
#include "tests/app/qt/dialogs/DialogTestKit.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/QtControls.h"

namespace {

using testsupport::Sandbox;

TEST(OutDomainSelect, ListsTitlesAndKeepsOnlyTheTickedPages) {
    testsupport::EnsureQApplication();
    Sandbox site;
    Sandbox::WriteFile(site / "a.html", "<html><head><title>頁A</title></head></html>");
    Sandbox::WriteFile(site / "b.html", "<html><head><title>頁B</title></head></html>");
    testsupport::LoopbackServer other(site.Path(), "", "127.0.0.2");
    ASSERT_TRUE(other.Running());
    const std::string a = other.BaseUrl() + "/a.html", b = other.BaseUrl() + "/b.html";
    engine::SaveJob job;
    job.SetOutDomainLinks({a, b, a}, {"/s/1.html", "/s/1.html", "/s/2.html"});

    std::unique_ptr<QDialog> d(appqt::CreateOutDomainSelectDialog(nullptr, job));
    d->show();
    auto* list = d->findChild<QTreeWidget*>(QStringLiteral("pageList"));
    ASSERT_EQ(list->topLevelItemCount(), 2);
    ASSERT_TRUE(testsupport::RunUntil([&] { return !d->windowTitle().contains(QStringLiteral("取得中")); }, 20000));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("頁A"));
    EXPECT_EQ(list->topLevelItem(1)->text(1), QStringLiteral("頁B"));
    auto* progress = d->findChild<QProgressBar*>(QStringLiteral("progress"));
    EXPECT_EQ(progress->value(), progress->maximum());

    d->findChild<QPushButton*>(QStringLiteral("selectNone"))->click();
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    d->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    EXPECT_EQ(d->result(), 1);
    std::vector<std::string> urls, paths;
    job.TakeOutDomainLinks(urls, paths);
    EXPECT_EQ(urls, (std::vector<std::string>{a, a}));
    EXPECT_EQ(paths, (std::vector<std::string>{"/s/1.html", "/s/2.html"}));
}

}  // namespace
