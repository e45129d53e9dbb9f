#include "app/CommandLine.h"

#include "app/ArgumentLine.h"
#include "app/NamedArguments.h"
#include "app/StartUp.h"
#include "engine/ModeFlags.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"
#include "platform/ExitCodes.h"
#include "platform/FileUtil.h"
#include "platform/ProgramStart.h"
#include "platform/UiText.h"

namespace app {

namespace {

using namespace engine::mode;

// The fields a keyword needs: complete save 5, single/serial save 2.
size_t FieldCount(const std::string& line) {
    size_t quotes = 0;
    for (char c : line) quotes += c == '"';
    return quotes / 2;
}

bool IsWebUrl(const std::string& url) {
    for (const char* scheme : {"http://", "https://"}) {
        const std::string_view s(scheme);
        if (platform::StartsWithI(url, s)) {
            const std::string_view rest = std::string_view(url).substr(s.size());
            return !rest.empty() && rest[0] != '/';
        }
    }
    return false;
}

std::string NotAWebUrl(const std::string& url) {
    return platform::TrArgs("URLは http:// または https:// で始まるWebページのアドレスを指定してください: %1", {url});
}

std::string NotAFullPath(const std::string& save) {
    return platform::TrArgs("保存先は、/ で始まるファイルのフルパスで指定してください: %1", {save});
}

// What keeps a save from a web archive from starting: fields missing, no archive file.
std::string SomeWarcProblem(const std::string& line) {
    if (FieldCount(line) < 3) return platform::Tr("SomeWarc には、WARCファイル、URL、保存先の3項目が必要です。");
    engine::SaveJob job;
    const std::string archive = ParseArgumentLine(line, job).archivePath;
    if (!platform::IsRegularFile(archive)) return platform::TrArgs("WARCファイルが見つかりません: %1", {archive});
    if (!IsWebUrl(job.StartUrl())) return NotAWebUrl(job.StartUrl());
    const std::string save = job.SaveFolder() + job.SaveName();
    if (save.empty() || save[0] != '/' || job.SaveName().empty()) return NotAFullPath(save);
    return {};
}

}  // namespace

std::string UsageText() {
    std::string text = platform::Tr(
        "使い方: Sitrova [引数]\n"
        "  （引数なし）                  入力画面を開きます。\n"
        "  ファイル.qdx                  保存済みサイトを開きます（更新チェック）。\n"
        "  SomeComplete,\"URL\",\"保存先\",\"オプション値\",\"上位階層の上限値\",\"CPU占有率(1～4)\"\n"
        "                                コンプリート保存を、操作なしで行います。\n"
        "  SomeWarc,\"WARCファイル\",\"URL\",\"保存先\"\n"
        "                                Webアーカイブ（.warc, .warc.gz, .wacz）からコンプリート保存を行います。\n"
        "                                続けてオプション値、上位階層の上限値、CPU占有率も指定できます。\n"
        "  SomeSeries,\"URL\",\"保存先\"      単体／連番保存を、操作なしで行います。\n"
        "  PresetUrl,\"URL\",\"保存先\"       URLと保存先を入れた入力画面を開きます。\n"
        "  advertisement,\"ファイル.qdx\"   保存済みサイトから広告を削除します。\n"
        "  --名前=値 を引数の前に置くと、その保存だけの設定になります（Sitrov.ini の [WebOptions] より優先）:\n");
    text += NamedOptionsUsage();
    text += platform::Tr(
        "  -h, --help                    この使い方を表示します。\n"
        "  --version                     バージョンを表示します。\n"
        "保存先は絶対パス（/ で始まるパス）で指定します。画面のない環境では、保存などの仕事を\n"
        "引数で指定してください（QT_QPA_PLATFORM を指定すれば、その画面で入力画面を開きます）。\n");
    return text + platform::ExitCodeTable();
}

std::string UnattendedJobProblem(const std::string& argumentLine) {
    const std::string line = SkipLeadingBlanks(argumentLine);
    size_t needed = 0;
    if (platform::StartsWithI(line, "SomeWarc")) return SomeWarcProblem(line);
    if (platform::StartsWithI(line, "SomeComplete")) needed = 5;
    else if (platform::StartsWithI(line, "SomeSeries")) needed = 2;
    else return {};
    if (FieldCount(line) < needed)
        return needed == 5 ? platform::Tr("SomeComplete には、URL、保存先、オプション値、上位階層の上限値、CPU占有率の5項目が必要です。")
                           : platform::Tr("SomeSeries には、URLと保存先の2項目が必要です。");
    engine::SaveJob job;
    (void)ParseArgumentLine(line, job);
    const std::string url = job.StartUrl();
    if (!IsWebUrl(url)) return NotAWebUrl(url);
    const std::string save = job.SaveFolder() + job.SaveName();
    if (save.empty()) return platform::Tr("保存先が指定されていません。");
    if (save[0] != '/' || job.SaveName().empty()) return NotAFullPath(save);
    return {};
}

platform::StartVerdict CheckCommandLine(const std::vector<std::string>& args, bool canShowWindows,
                                        const std::string& version) {
    platform::StartVerdict verdict;
    engine::NamedOptions named;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        verdict.leave = true;
        verdict.out = UsageText();
        return verdict;
    }
    if (args.size() == 1 && args[0] == "--version") {
        verdict.leave = true;
        verdict.out = "Sitrova " + version + "\n";
        return verdict;
    }
    if (std::string error; !ApplyNamedArguments(args, named, &error)) {
        verdict.leave = true;
        verdict.exitCode = platform::ExitRefused;
        verdict.err = "Sitrova: " + error + "\n";
        return verdict;
    }
    std::vector<char*> argv{nullptr};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    const std::string line = ArgumentLineFromArgv(static_cast<int>(argv.size()), argv.data());
    const std::string problem = UnattendedJobProblem(line);
    if (!problem.empty()) {
        // The save cannot be made: say why, and let the caller see that nothing was done.
        verdict.leave = true;
        verdict.exitCode = platform::ExitRefused;
        verdict.err = "Sitrova: " + problem + "\n";
        return verdict;
    }
    if (!canShowWindows) {
        engine::SaveJob job;
        (void)ParseArgumentLine(line, job);
        if (JobKind(job.ModeFlags()) == ModeNormal) {
            verdict.leave = true;
            verdict.exitCode = platform::ExitRefused;
            verdict.err = "Sitrova: " + std::string(platform::Tr("画面がないため、入力画面を開けません。")) + "\n" + UsageText();
        }
    }
    return verdict;
}

}  // namespace app
