// A finished save written by hand into a sandbox: the .qdx record "site.qdx", its saved-site
// log and the shortcut page, as a save with or without the data folder leaves them.
#pragma once

#include <QMainWindow>
#include <QString>
#include <string>
#include <vector>

#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "records/SectionFile.h"
#include "tests/records/LogText.h"
#include "tests/support/QtControls.h"
#include "tests/support/Sandbox.h"

namespace recordsqttest {

constexpr const char* kUrlBase = "http://example.com/dir/";
constexpr const char* kUrlLeaf = "index.html";

struct SavedSite {
    std::string folder;   // where the user saved (ends in "/")
    std::string qdxPath;  // folder + "site.qdx"
    std::string logPath;
};

inline SavedSite WriteSavedSite(const testsupport::Sandbox& box, unsigned modeWord, int lankLimit = 0,
                                int entries = 3) {
    SavedSite site;
    site.folder = box.Path();
    site.qdxPath = box / "site.qdx";
    const bool dataFolder = (modeWord & engine::mode::datafolder) != 0;
    const std::string logFolder = dataFolder ? box / "site.files/" : box.Path();
    site.logPath = logFolder + "SitrovSaveInfo.log";
    testsupport::Sandbox::WriteFile(site.qdxPath, std::to_string(modeWord) +
                                                      "\r\nEnd of Qdx file. Its contents is hidden file, "
                                                      "SiteSaveInfoLog.\r\n");
    recordstest::LogHeader header;
    header.storedFolder = logFolder;
    header.saveName = kUrlLeaf;
    header.urlBase = kUrlBase;
    header.urlLeaf = kUrlLeaf;
    header.modeWord = modeWord;
    header.lankLimit = lankLimit;
    std::vector<recordstest::LogEntry> list;
    for (int i = 0; i < entries; ++i)
        list.push_back({logFolder + "p" + std::to_string(i) + ".html", std::string(kUrlBase) + "p" + std::to_string(i) + ".html",
                        1, 100 + i});
    testsupport::Sandbox::WriteFile(site.logPath, recordstest::LogText(header, list));
    if (dataFolder) testsupport::Sandbox::WriteFile(box / "site.html", "<html>shortcut</html>");
    return site;
}

// The job as the start-up hands it to the view.
inline void PrepareJob(engine::SaveJob& job, const SavedSite& site, const std::string& programFolder) {
    job.SetProgramFolder(programFolder);
    job.SetQdxPath(site.qdxPath);
    job.SetModeBits(engine::mode::ModeUpdateCheck);
}

inline void AddLinks(const SavedSite& site, int count, const std::string& target) {
    records::SectionFile record;
    ASSERT_EQ(record.Load(site.qdxPath), 1);
    for (int i = 0; i < count; ++i) ASSERT_EQ(records::AddLink(record, "link" + std::to_string(i), target), 1);
}

using testsupport::Control;

}  // namespace recordsqttest
