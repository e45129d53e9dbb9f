#include "platform/ProgramStart.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/ConsoleText.h"
#include "platform/ExitCodes.h"
#include "platform/UiText.h"

namespace platform {

std::string ExitCodeTable() {
    return Tr(
        "終了コード:\n"
        "  0  指定どおりに終わりました。\n"
        "  1  終わりましたが、失敗したファイルがあります（または途中で止められました）。\n"
        "  2  引数が正しくないか、実行できない仕事です（画面がなく、することもない場合も）。\n"
        "  3  ネットワークの失敗: 開始ページやファイルを取得できず、何も保存していません。\n"
        "  4  ディスクの失敗: 保存先に書き込めません。\n"
        "  5  別の保存が同じ保存先を使っています。\n"
        "  6  Suite のプログラム、ライブラリ、ファイルが見つからないか、起動できません。\n");
}

bool CanShowWindows() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

StartVerdict CheckProgramStart(const std::vector<std::string>& args, const ProgramInfo& program, bool unattended,
                               bool canShowWindows) {
    StartVerdict verdict;
    const std::string usage = program.usage + ExitCodeTable();
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        verdict.leave = true;
        verdict.out = usage;
    } else if (args.size() == 1 && args[0] == "--version") {
        verdict.leave = true;
        verdict.out = program.name + " " + program.version + "\n";
    } else if (!canShowWindows && !unattended) {
        verdict.leave = true;
        verdict.exitCode = ExitRefused;
        verdict.err = program.name + ": " + Tr("画面がないため、ウィンドウを開けません。") + "\n" + usage;
    }
    return verdict;
}

void PrintVerdict(const StartVerdict& verdict) {
    for (auto [stream, text] : {std::pair{stdout, &verdict.out}, std::pair{stderr, &verdict.err}}) {
        if (text->empty()) continue;
        const std::string bytes = ToConsoleText(*text);
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
        std::fflush(stream);
    }
}

}  // namespace platform
