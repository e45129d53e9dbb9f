// A change report of a small made-up update, for the pictures of the documentation:
//   change_report_sample FOLDER   (prints the report's path)
// The copy, its kept versions and the run are written by hand; the report is the real one.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "records/ChangeReport.h"
#include "tests/support/Sandbox.h"

namespace {

using testsupport::Sandbox;

std::string Page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title>"
           "<script>track()</script></head><body>" + body + "</body></html>";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: change_report_sample FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/site.files/";
    const std::string kept = folder + "_history/20261208-091500/";
    std::filesystem::create_directories(kept + "guide");
    const std::string before = Page("インストール手順",
                                    "<h1>インストール手順</h1><p>最新版は 3.11 です。</p>"
                                    "<p>Windows と macOS に対応しています。</p><ul><li>ダウンロード</li>"
                                    "<li>展開する</li><li>setup を実行する</li></ul><p>問い合わせは support@example.jp まで。</p>");
    const std::string after = Page("インストール手順",
                                   "<h1>インストール手順</h1><p>最新版は 3.12 です。</p>"
                                   "<p>Windows、macOS と Linux に対応しています。</p><ul><li>ダウンロード</li>"
                                   "<li>展開する</li><li>install.sh を実行する</li><li>再起動する</li></ul>"
                                   "<p>問い合わせは support@example.jp まで。</p>");
    Sandbox::WriteFile(kept + "guide/install.html", before);
    Sandbox::WriteFile(folder + "guide/install.html", after);
    Sandbox::WriteFile(kept + "index.html", Page("ガイド", "<p>更新: 2026/11/30</p>"));
    Sandbox::WriteFile(folder + "index.html", Page("ガイド", "<p>更新: 2026/12/08</p>"));
    Sandbox::WriteFile(folder + "guide/faq.html", Page("FAQ", "<p>よくある質問</p>"));
    Sandbox::WriteFile(folder + "guide/old-api.html", Page("旧API", "<p>廃止</p>"));
    Sandbox::WriteFile(folder + "guide/start.html", Page("はじめに", "<p>はじめに</p>"));
    Sandbox::WriteFile(folder + "img/logo.png", "png");

    records::HistoryRun run;
    run.id = 2;
    run.kind = "update";
    run.started = 1796717700;  // 2026-12-08 09:15 in Japan
    run.ended = run.started + 3;
    run.result = 8;
    run.versions = "20261208-091500";
    const std::string base = "https://docs.example.jp/";
    std::vector<records::HistoryEntry> entries;
    auto add = [&](const std::string& path, bool page, const char* status) {
        records::HistoryEntry e;
        e.url = base + path;
        e.path = path;
        e.page = page;
        e.status = status;
        e.lastRun = run.id;
        entries.push_back(e);
    };
    add("guide/install.html", true, records::history::kChanged);
    add("index.html", true, records::history::kChanged);
    add("guide/faq.html", true, records::history::kNew);
    add("guide/old-api.html", true, records::history::kGone);
    add("guide/start.html", true, records::history::kUnchanged);
    add("img/logo.png", false, records::history::kUnchanged);
    add("img/banner.png", false, records::history::kFailed);
    std::string path;
    if (records::WriteChangeReport(folder, run, entries, path) != 1) return 1;
    std::printf("%s\n", path.c_str());
    return 0;
}
