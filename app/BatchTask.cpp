#include "app/BatchTask.h"

#include <algorithm>
#include <filesystem>

#include "app/ParamFile.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/FileUtil.h"
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

std::string StemOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
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

std::string BatchFolder(const std::string& programFolder) { return programFolder + "/" + kBatchFolderName; }

int WriteParameterFile(const engine::SaveJob& job, bool completeSave, std::string* error) {
    const std::string folder = BatchFolder(job.ProgramFolder());
    if (!platform::CreateFolder(folder)) {
        if (error) *error = folder + " を作成できません。";
        return 0;
    }
    const std::string path = folder + "/" + StemOf(job.ChosenSaveName()) + ".xml";
    // An existing file (the same save name queued before) is taken over by the new job.
    const int written = WriteParamTemplate(path);
    if (written == TemplateNotWritten) {
        if (error) *error = path + " を書き込めません。";
        return 0;
    }
    // A template made here and not filled in would run as a job: it goes again on failure.
    auto fail = [&] {
        if (written == TemplateWritten) (void)platform::RemoveFile(path);
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
    if (!ok) {
        if (error) *error = path + " に必要な要素がありません。";
        return fail();
    }
    return doc.SaveFile(path, error) == xml::XmlOk ? 1 : fail();
}

std::vector<std::string> QueuedFiles(const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::vector<std::pair<fs::file_time_type, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(BatchFolder(programFolder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (!platform::EndsWithI(name, ".xml") || !it->is_regular_file(typeError)) continue;
        found.emplace_back(it->last_write_time(typeError), name);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(std::move(f.second));
    return names;
}

std::string BatchScript(const std::string& programFolder, const std::vector<std::string>& files) {
    const std::string bat = BatchFolder(programFolder);
    std::string s = "#!/bin/sh\n";
    // The script is the mark of a running batch: it goes when the batch ends, also when the
    // terminal is closed or the run is interrupted. Files not yet run stay queued.
    s += "trap 'rm -f \"$0\"' EXIT\n";
    s += "trap 'exit 130' HUP INT TERM\n";
    s += "echo 'Sitrova バッチ処理を開始'\necho\n";
    for (const std::string& file : files) {
        const std::string param = ShellQuote(bat + "/" + file);
        s += "echo " + ShellQuote("SitrovaCui /some \"" + file + "\"") + "\n";
        // A file is removed once its save ran to its end (SitrovaCui's code 0, or 1 when some
        // files failed); a save that was refused, found no host, could not write or could not
        // start stays queued for the next run.
        s += ShellQuote(programFolder + "/SitrovaCui") + " /some " + param + "; [ $? -le 1 ] && rm -f " + param + "\n";
        s += "echo\n";
    }
    s += "echo 'バッチ処理を完了しました。(任意のキーを押すと終了します)'\n";
    s += "if [ -t 0 ]; then read -r _; fi\n";
    return s;
}

int RunBatch(const std::string& programFolder, bool desktop,
             const std::function<int(const std::string&, const std::vector<std::string>&)>& start) {
    const std::string bat = BatchFolder(programFolder);
    if (!platform::CreateFolder(bat)) return BatchNotStarted;
    const std::string script = bat + "/" + kBatchScriptName;
    if (platform::FileExists(script)) return BatchRunning;
    const std::vector<std::string> files = QueuedFiles(programFolder);
    if (files.empty()) return BatchEmpty;
    if (!platform::WriteFileReplacing(script, BatchScript(programFolder, files), platform::Durability::Fast))
        return BatchNotStarted;
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
    case BatchRunning: return "既にバッチ処理が実行中です。\r\n※新規実行は、既存処理が完了するまでお待ちください。";
    case BatchEmpty: return "処理すべきバッチはありませんでした。";
    case BatchNotStarted: return "バッチ処理を開始できませんでした。";
    default: return "バッチ処理を開始しました。";
    }
}

}  // namespace app
