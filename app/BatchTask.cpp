#include "app/BatchTask.h"

#include <algorithm>
#include <chrono>

#include "app/ParamFile.h"
#include "engine/ModeFlags.h"
#include "engine/NamedOptions.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileLock.h"
#include "platform/FileUtil.h"
#include "platform/FolderList.h"
#include "platform/UiText.h"
#include "platform/UserPlaces.h"
#include "xml/XmlDocument.h"

namespace app {

namespace {

using namespace engine::mode;

constexpr const char* kWorkmodePath = "/qdxsome:document/workmode";
constexpr const char* kEnvironmentPath = "/qdxsome:document/environment";

// Sets an element's text; an element written empty gets a text of its own.
bool SetElementText(xml::Document& doc, const std::string& path, const std::string& value) {
    xml::Node* element = doc.Select(path);
    if (!element) return false;
    if (xml::Node* text = element->TextChild()) return doc.SetText(text, value) != nullptr;
    return doc.AppendChild(element, doc.CreateText(value)) != nullptr;
}

// Every named option of the save, defaults included, so that the batch saves as this window
// would have, whatever the settings file holds when it runs.
bool AddWebOptions(xml::Document& doc, const engine::NamedOptions& named) {
    xml::Node* web = doc.AppendChild(doc.Select("/qdxsome:document"), doc.CreateElement("weboptions"));
    if (!web) return false;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        xml::Node* element = doc.AppendChild(web, doc.CreateElement(option.name));
        if (!element || !doc.AppendChild(element, doc.CreateText(engine::NamedOptionText(named, option)))) return false;
    }
    return true;
}

std::string StemOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Names for a job whose save name is already queued: "site.xml", "site(2).xml", ...
constexpr int kMaxSameName = 999;

std::string QueueName(const std::string& stem, int n) {
    return n == 1 ? stem + ".xml" : stem + "(" + std::to_string(n) + ").xml";
}

// How long a script may take to start and lock the batch.
constexpr int64_t kHandOverSeconds = 10;

int64_t NowSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// Single-quoted for sh: nothing inside is expanded.
std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

}  // namespace

std::string BatchFolder(const std::string& programFolder) {
    return platform::PlaceFor(platform::Place::Data, programFolder) + "/" + kBatchFolderName;
}

int WriteParameterFile(const engine::SaveJob& job, bool completeSave, std::string* error) {
    const std::string folder = BatchFolder(job.ProgramFolder());
    if (!platform::CreateFolder(folder)) {
        if (error) *error = platform::TrArgs("%1 を作成できません。", {folder});
        return 0;
    }
    // A job queued before under the same save name keeps its file: this one takes the next
    // free number.
    const std::string stem = StemOf(job.ChosenSaveName());
    std::string path;
    int written = TemplateExists;
    for (int n = 1; n <= kMaxSameName && written == TemplateExists; ++n) {
        path = folder + "/" + QueueName(stem, n);
        written = WriteParamTemplate(path);
    }
    if (written != TemplateWritten) {
        if (error)
            *error = written == TemplateExists ? platform::TrArgs("%1 に同じ保存名のジョブが多すぎます。", {folder})
                                               : platform::TrArgs("%1 を書き込めません。", {path});
        return 0;
    }
    // A template made here and not filled in would run as a job: it goes again on failure.
    auto fail = [&] {
        (void)platform::RemoveFile(path);
        return 0;
    };
    xml::Document doc;
    if (doc.LoadFile(path, error) != xml::XmlOk) return fail();

    const uint32_t flags = job.ModeFlags();
    const std::string url = (flags & ModeIndexAppended) ? job.UrlBase() : job.UrlBase() + job.UrlLeaf();
    bool ok = SetElementText(doc, "/qdxsome:document/url", url) &&
              SetElementText(doc, "/qdxsome:document/save", job.SaveFolder() + job.ChosenSaveName());
    if (completeSave) {
        for (const ParamOption& option : ParamOptions()) {
            if (option.bit == 0x10 || option.bit == 0x20) continue;  // the template's values stay
            ok = ok && SetElementText(doc, option.path, (flags & option.bit) ? "1" : "0");
        }
        ok = ok && SetElementText(doc, "/qdxsome:document/environment/lanklimit", std::to_string(job.LankLimit()));
    } else {
        doc.Remove(doc.Select(kWorkmodePath));
        doc.Remove(doc.Select(kEnvironmentPath));
    }
    ok = ok && AddWebOptions(doc, job.Named());
    if (!ok) {
        if (error) *error = platform::TrArgs("%1 に必要な要素がありません。", {path});
        return fail();
    }
    return doc.SaveFile(path, error) == xml::XmlOk ? 1 : fail();
}

std::vector<std::string> QueuedFiles(const std::string& programFolder) {
    std::vector<std::pair<int64_t, std::string>> found;
    for (platform::FolderEntry& entry : platform::ListFolder(BatchFolder(programFolder)))
        if (platform::EndsWithI(entry.name, ".xml") && entry.isFile)
            found.emplace_back(entry.writeTimeNs, std::move(entry.name));
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(std::move(f.second));
    return names;
}

std::string BatchScript(const std::string& programFolder, const std::vector<std::string>& files) {
    const std::string bat = BatchFolder(programFolder);
    std::string s = "#!/bin/sh\n";
    // One batch at a time. The lock lives as long as this shell, however it ends (a kill
    // included), so nothing left behind can block the next run. The saves do not inherit it.
    s += "exec 9>>" + ShellQuote(bat + "/" + kBatchLockName) + "\n";
    s += "if command -v flock >/dev/null 2>&1 && ! flock -w 5 9; then\n"
         "  echo '既にバッチ処理が実行中です。'\n  exit 1\nfi\n";
    s += "trap 'rm -f \"$0\"' EXIT\n";
    s += "cui=" + ShellQuote(programFolder + "/SitrovaCui") + "\n";
    // Ctrl-C, a closed terminal or a TERM stops the running job and the batch. Sitrova saves
    // in its own process group, out of reach of the terminal: it is stopped as SitrovaCui's
    // child. A job still running in the background ignores SIGINT, hence TERM for all.
    s += "job=\nstop=\n"
         "interrupt() {\n"
         "  stop=$1\n"
         "  if [ -n \"$job\" ]; then\n"
         "    pkill -TERM -P \"$job\" 2>/dev/null\n"
         "    kill -TERM \"$job\" 2>/dev/null\n"
         "  fi\n"
         "}\n"
         "trap 'interrupt 129' HUP\ntrap 'interrupt 130' INT\ntrap 'interrupt 143' TERM\n";
    // A file leaves the queue once SitrovaCui has run it to its end (code 0, or 1 when some
    // files failed), also when a signal came meanwhile; an interrupted job, and one that was
    // refused, found no host, could not write or could not start, stays queued.
    s += "run() {\n"
         "  if [ -n \"$stop\" ]; then exit \"$stop\"; fi\n"
         "  echo \"SitrovaCui /some \\\"$2\\\"\"\n"
         "  \"$cui\" /some \"$1\" 9>&- &\n"
         "  job=$!\n"
         "  while :; do\n"
         "    wait \"$job\"\n"
         "    status=$?\n"
         "    kill -0 \"$job\" 2>/dev/null || break\n"
         "  done\n"
         "  job=\n"
         "  if [ \"$status\" -le 1 ]; then rm -f \"$1\"; fi\n"
         "  if [ -n \"$stop\" ]; then exit \"$stop\"; fi\n"
         "  echo\n"
         "}\n";
    s += "echo 'Sitrova バッチ処理を開始'\necho\n";
    for (const std::string& file : files) s += "run " + ShellQuote(bat + "/" + file) + " " + ShellQuote(file) + "\n";
    s += "exec 9>&-\n";
    s += "echo 'バッチ処理を完了しました。(任意のキーを押すと終了します)'\n";
    s += "if [ -t 0 ]; then read -r _; fi\n";
    return s;
}

int RunBatch(const std::string& programFolder, bool desktop,
             const std::function<int(const std::string&, const std::vector<std::string>&)>& start) {
    const std::string bat = BatchFolder(programFolder);
    if (!platform::CreateFolder(bat)) return BatchNotStarted;
    const std::string script = bat + "/" + kBatchScriptName;
    // A running script holds the lock. Until it has taken it, a script just started shows
    // only as its fresh file; an older file was left by a script that was killed.
    platform::FileLock lock;
    const int taken = lock.TakeNow(bat + "/" + kBatchLockName);
    if (taken == platform::FileLock::LockBusy) return BatchRunning;
    if (taken == platform::FileLock::LockFailed) return BatchNotStarted;
    const int64_t written = platform::LastWriteTime(script);
    if (written >= 0 && NowSeconds() - written < kHandOverSeconds) return BatchRunning;
    const std::vector<std::string> files = QueuedFiles(programFolder);
    if (files.empty()) return BatchEmpty;
    if (!platform::WriteFileReplacing(script, BatchScript(programFolder, files), platform::Durability::Fast))
        return BatchNotStarted;
    // The script takes the lock over (it waits a few seconds for it).
    lock.Release(false);
    // In a terminal window when there is a desktop with one; otherwise the script runs by
    // itself and its output goes where Sitrova's goes.
    int started = desktop ? start("x-terminal-emulator", {"-e", "sh", script}) : 0;
    if (started != 1) started = start("sh", {script});
    if (started != 1) {
        (void)platform::RemoveFile(script);
        return BatchNotStarted;
    }
    return static_cast<int>(files.size());
}

std::string BatchResultMessage(int result) {
    switch (result) {
    case BatchRunning: return platform::Tr("既にバッチ処理が実行中です。\r\n※新規実行は、既存処理が完了するまでお待ちください。");
    case BatchEmpty: return platform::Tr("処理すべきバッチはありませんでした。");
    case BatchNotStarted: return platform::Tr("バッチ処理を開始できませんでした。");
    default: return platform::Tr("バッチ処理を開始しました。");
    }
}

}  // namespace app
