#include "cui/CuiCommands.h"

#include <cstdio>

#include "app/ParamFile.h"
#include "cui/ElementLookup.h"
#include "engine/NamedOptions.h"
#include "platform/ByteString.h"
#include "platform/Codepage.h"
#include "platform/ExitCodes.h"
#include "platform/ConsoleText.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"
#include "platform/Version.h"
#include "records/QdxRecord.h"

namespace cui {

namespace {

constexpr const char* kUrlPath = "/qdxsome:document/url";
constexpr const char* kSavePath = "/qdxsome:document/save";
constexpr const char* kLankLimitPath = "/qdxsome:document/environment/lanklimit";
constexpr const char* kCpuLevelPath = "/qdxsome:document/environment/sleepcpulevel";
constexpr const char* kReadMe = "Read me.txt";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsOn(const std::string& value) { return platform::ParseDecimal(value) == 1; }

// A field of Sitrova's argument ends at the next double quote, and a line break or a NUL
// would cut the argument: such a value cannot be passed on.
bool Passable(const std::string& value) {
    return value.find_first_of(std::string("\"\r\n\0", 4)) == std::string::npos;
}

void PrintError(const CuiContext& c, const std::string& line) {
    if (c.printError) {
        c.printError(line);
        return;
    }
    const std::string text = platform::ToConsoleText(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::vector<std::string> MalformedLines(const std::string& path) {
    return {"", platform::TrArgs("'%1' の形式が正しくありません。", {path}), ""};
}

std::string SitrovaProgram(const CuiContext& c) { return c.programFolder + "/Sitrova"; }

constexpr int kAbnormalEnd = -1;

// Starts Sitrova with `argument`; waits for it when `wait` and returns its exit code, or
// kAbnormalEnd when it was killed or ended with a code of no one's table. A Sitrova that
// could not be started is reported here.
int StartSitrova(const CuiContext& c, const std::vector<std::string>& arguments, bool wait) {
    int code = platform::ExitDone;
    if (c.start(SitrovaProgram(c), arguments, wait, wait ? &code : nullptr) != 1) {
        c.print(platform::TrArgs("Sitrova を起動できませんでした（%1）。", {SitrovaProgram(c)}));
        return platform::ExitMissingPart;
    }
    if (code >= platform::ExitDone && code <= platform::ExitMissingPart) return code;
    PrintError(c, "SitrovaCui: " + platform::TrArgs("Sitrova が異常終了しました（終了コード %1）。", {std::to_string(code)}));
    return kAbnormalEnd;
}

// Whether Sitrova's code says that the job ran to its end, well or not, as opposed to a job
// it refused before starting or a run cut short.
bool JobRan(int code) {
    return code == platform::ExitDone || code == platform::ExitPartly || code == platform::ExitNetwork ||
           code == platform::ExitDisk;
}

// What a run cut short leaves is not the whole job.
int ExitOf(int code) { return code == kAbnormalEnd ? platform::ExitPartly : code; }

int PrintReadMe(const CuiContext& c) {
    std::string bytes;
    if (!platform::ReadWholeFile(c.programFolder + "/" + kReadMe, bytes)) {
        c.print("");
        c.print(platform::TrArgs("%1が見つかりません。", {kReadMe}));
        c.print("");
        return platform::ExitMissingPart;
    }
    // The read-me is UTF-8 here; an older Shift-JIS one is converted.
    std::string text;
    if (platform::Cp932ToUtf8(bytes, text) != platform::CodepageOk || platform::IsAscii(bytes)) text = bytes;
    if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    size_t from = 0;
    while (from < text.size()) {
        const size_t cr = text.find('\r', from);
        c.print(text.substr(from, cr == std::string::npos ? std::string::npos : cr - from));
        if (cr == std::string::npos) break;
        from = cr + 1;
        if (from < text.size() && text[from] == '\n') ++from;
    }
    c.print("");
    return platform::ExitDone;
}

void PrintLines(const std::string& text, const CuiContext& c) {
    for (size_t from = 0;;) {
        const size_t end = text.find("\r\n", from);
        c.print(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) return;
        from = end + 2;
    }
}

// The ad removal is waited for, so that the script that asked for it finds the pages clean.
int Cut(const std::string& path, const CuiContext& c) {
    const size_t dot = path.rfind('.');
    std::string extension;
    if (dot != std::string::npos && !path.ends_with("/")) extension = path.substr(dot + 1, 31);
    if (!platform::EqualsI(extension, "qdx")) {
        c.print(platform::Tr("指定されたファイルは、QDXファイルでは在りません。"));
        return platform::ExitRefused;
    }
    if (!platform::IsRegularFile(path)) {
        c.print(platform::Tr("ファイルパスが不正です。"));
        return platform::ExitRefused;
    }
    // A record that cannot be read is told here, where the user asked; the record stays.
    records::QdxRecordReader reader;
    if (records::OpenQdxRecord(path, reader, records::StaleRecord::Keep) != records::QdxReadable) {
        PrintLines(reader.message, c);
        return platform::ExitRefused;
    }
    const int code = ExitOf(StartSitrova(c, {"advertisement," + Quoted(path)}, true));
    if (code != platform::ExitDone && code != platform::ExitMissingPart)
        PrintError(c, "SitrovaCui: " + platform::TrArgs("'%1' の広告削除は終わりませんでした（終了コード %2）。",
                                                        {path, std::to_string(code)}));
    return code;
}

// The input window stays with the user: nothing to wait for.
int Url(std::string savePath, const std::string& url, const CuiContext& c) {
    // Sitrova splits the save path at its last "/".
    if (savePath.find('/') == std::string::npos) savePath.insert(0, "/");
    return StartSitrova(c, {"PresetUrl," + Quoted(url) + "," + Quoted(savePath)}, false);
}

int Template(const std::string& path, const CuiContext& c) {
    if (path.empty()) {
        c.print(platform::Tr("ファイルが指定されていません。"));
        return platform::ExitRefused;
    }
    const int written = app::WriteParamTemplate(path);
    if (written == app::TemplateExists) {
        c.print(platform::TrArgs("'%1' は既に存在するため、テンプレートファイルを出力できません。", {path}));
        return platform::ExitRefused;
    }
    if (written != app::TemplateWritten) {
        PrintError(c, "SitrovaCui: " + platform::TrArgs("'%1' にテンプレートファイルを書き込めません。", {path}));
        return platform::ExitDisk;
    }
    return platform::ExitDone;
}

int Some(const std::string& path, const CuiContext& c) {
    if (path.empty()) {
        c.print(platform::Tr("ファイルが指定されていません。"));
        return platform::ExitRefused;
    }
    if (!platform::IsRegularFile(path)) {
        c.print(platform::TrArgs("'%1' が存在しません。", {path}));
        return platform::ExitRefused;
    }
    xml::Document doc;
    std::string reason;
    if (const int read = ReadParamFile(path, doc, reason); read != ParamReadOk) {
        // A file that is no XML gets the same lines as one without url or save; why it
        // could not be read goes to the error output.
        if (read == ParamMalformed) {
            for (const std::string& line : MalformedLines(path)) c.print(line);
        } else {
            c.print(platform::TrArgs("'%1' を読み込めません。", {path}));
        }
        PrintError(c, "'" + path + "': " + reason);
        return platform::ExitRefused;
    }
    std::string argument;
    std::vector<std::string> arguments;
    std::vector<std::string> message, ignored;
    if (!SomeArgument(doc, path, argument, message) || !NamedArguments(doc, path, arguments, message, &ignored)) {
        for (const std::string& line : message) c.print(line);
        return platform::ExitRefused;
    }
    for (const std::string& line : ignored) PrintError(c, line);
    // The named options go before the job argument; a cookie file goes by its path only.
    arguments.push_back(argument);
    const int ended = StartSitrova(c, arguments, true);
    // "Finish!" says that the save ran to its end; Sitrova has said on stderr why one did not.
    if (JobRan(ended)) {
        c.print("");
        c.print("Finish!");
        c.print("");
    }
    const int code = ExitOf(ended);
    if (code != platform::ExitDone && code != platform::ExitMissingPart)
        PrintError(c, "SitrovaCui: " + platform::TrArgs("'%1' の保存は指定どおりに終わりませんでした（終了コード %2）。",
                                                        {path, std::to_string(code)}));
    return code;
}

}  // namespace

std::string Token(const std::string& argument) {
    std::string token;
    token.reserve(argument.size());
    for (char ch : argument)
        if (ch != '"') token += ch;
    return token;
}

std::vector<std::string> ArgumentTokens(int argc, char** argv) {
    std::vector<std::string> tokens;
    for (int i = 1; i < argc; ++i) tokens.push_back(Token(argv[i]));
    return tokens;
}

bool SomeArgument(const xml::Document& doc, const std::string& path, std::string& argument,
                  std::vector<std::string>& message) {
    std::string url, save;
    if (!LookUpValue(doc, kUrlPath, url) || !LookUpValue(doc, kSavePath, save)) {
        message = MalformedLines(path);
        return false;
    }
    if (!Passable(url) || !Passable(save)) {
        message = {platform::TrArgs("'%1' の url または save に、Sitrova に渡せない文字（\"、改行）があります。", {path})};
        return false;
    }
    uint32_t flags = 1;
    bool complete = true;
    for (const app::ParamOption& option : app::ParamOptions()) {
        std::string value;
        if (!LookUpValue(doc, option.path, value)) complete = false;
        else if (IsOn(value)) flags += option.bit;
    }
    std::string lankLimit, cpuLevel;
    complete = complete && LookUpValue(doc, kLankLimitPath, lankLimit) && LookUpValue(doc, kCpuLevelPath, cpuLevel);
    if (complete && (!Passable(lankLimit) || !Passable(cpuLevel))) {
        message = {platform::TrArgs("'%1' の lanklimit または sleepcpulevel に、Sitrova に渡せない文字があります。", {path})};
        return false;
    }
    argument = complete ? "SomeComplete," + Quoted(url) + "," + Quoted(save) + "," + Quoted(std::to_string(flags)) +
                              "," + Quoted(lankLimit) + "," + Quoted(cpuLevel)
                        : "SomeSeries," + Quoted(url) + "," + Quoted(save);
    return true;
}

bool NamedArguments(const xml::Document& doc, const std::string& path, std::vector<std::string>& arguments,
                    std::vector<std::string>& message, std::vector<std::string>* ignored) {
    if (const xml::Node* web = doc.Select(kWebOptionsPath); web && ignored) {
        for (const xml::Node* child = web->FirstChild(); child; child = child->NextSibling())
            if (child->Kind() == xml::NodeElement && !engine::FindNamedOption(child->Name()))
                ignored->push_back(platform::TrArgs(
                    "'%1': <weboptions> の <%2> はこの版の知らない設定のため、使わずに保存します。",
                    {path, child->Name()}));
    }
    engine::NamedOptions options;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        std::string value;
        // An option the file does not name keeps the one of Sitrova's settings.
        if (!LookUpValue(doc, std::string(kWebOptionsPath) + "/" + option.name, value)) continue;
        std::string error;
        if (!engine::SetNamedOptionText(options, option, value, &error, engine::RefusalFor::User)) {
            message = {"'" + path + "': " + error};
            return false;
        }
        arguments.push_back("--" + std::string(option.name) + "=" + value);
    }
    return true;
}

int RunCui(const std::vector<std::string>& tokens, const CuiContext& c) {
    int worst = platform::ExitDone;
    bool optionSeen = false;
    auto operand = [&](size_t& i) { return i + 1 < tokens.size() ? tokens[++i] : std::string(); };
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string& option = tokens[i];
        if (option == "/?") {
            for (const std::string& line : UsageLines()) c.print(line);
            return worst;
        }
        if (option == "--help" || option == "-h") {
            for (const std::string& line : UsageLines()) c.print(line);
            c.print(platform::ExitCodeTable().substr(0, platform::ExitCodeTable().size() - 1));
            return worst;
        }
        if (option == "/readme") return platform::WorseExit(worst, PrintReadMe(c));
        if (option == "/cut") return platform::WorseExit(worst, Cut(operand(i), c));
        if (option == "/url") {
            const std::string save = operand(i);
            return platform::WorseExit(worst, Url(save, operand(i), c));
        }
        if (option == "/template") return platform::WorseExit(worst, Template(operand(i), c));
        if (option == "/version" || option == "/v" || option == "--version") {
            c.print("");
            c.print(std::string("Version ") + platform::kSuiteVersion);
            return worst;
        }
        if (option == "/some") {
            optionSeen = true;
            worst = platform::WorseExit(worst, Some(operand(i), c));
        }
    }
    if (!optionSeen) {
        // Nothing was asked: a script that misspelt its option must not read that as done.
        PrintError(c, "SitrovaCui: " + std::string(platform::Tr("オプションが指定されていません（使い方: SitrovaCui /?）。")));
        return platform::ExitRefused;
    }
    return worst;
}

}  // namespace cui
