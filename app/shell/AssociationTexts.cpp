// What the Qdx-file settings show about the association, and the report of a failed change.
#include "app/shell/Shell.h"
#include "platform/UiText.h"

namespace appshell {

namespace {

struct DetailLine {
    int bit;
    const char* text;
};

// In the order of the bits, as the report lists them.
constexpr DetailLine kDetails[] = {
    {32, "(拡張子キー内容の書き込みに失敗)\r\n"},
    {64, "(拡張子キーの作成に失敗)\r\n"},
    {128, "(ファイルタイプキーの書き込みに失敗)\r\n"},
    {0x100, "(ファイルタイプキーの作成に失敗)\r\n"},
    {0x400, "(拡張子キー内容の削除に失敗)\r\n"},
    {0x800, "(ファイルタイプキーの実行コマンド削除に失敗)\r\n"},
    {0x1000, "(ファイルタプキーにアクセスできない)\r\n"},
    {0x2000, "(ファイルタイプキーのExplorerコマンド削除に失敗)\r\n"},
    {0x4000, "(ファイルタイプキーの削除に失敗)\r\n"},
    {0x8000, "(拡張子キーのExplorer用の内容削除に失敗)\r\n"},
    {0x10000, "(拡張子キーの削除に失敗)\r\n"},
};

}  // namespace

std::string AssociationLabel(int state, const std::string& otherProgramName) {
    if (state == AssocStateOther) {
        if (otherProgramName.empty())
            return platform::Tr("Qdxファイル（*.qdx）は別のアプリケーションに関連付けられています。\r\n"
                                "これを解除して、このアプリケーションに関連付けることができます。");
        return platform::TrArgs("Qdxファイル（*.qdx）は現在[%1]に関連付けられています。\r\n"
                                "これを解除して、このアプリケーションに関連付けることができます。",
                                {otherProgramName});
    }
    if (state == AssocStateOurs)
        return platform::Tr("Qdxファイル（*.qdx）は、\r\nこのアプリケーションに関連付けられています。");
    return platform::Tr("Qdxファイル（*.qdx）を、\r\nこのアプリケーションに関連付けることができます。");
}

std::string AssociationButtonText(int state) {
    return state == AssocStateOurs ? platform::Tr("*.qdx の関連付けを解除する") : platform::Tr("関連付けを行う");
}

std::string AssociationErrorReport(int result) {
    if (result == AssocRegistered || result == AssocRemoved) return {};
    // Every platform counts as a current one, which offers the restart with more rights.
    std::string report = platform::Tr(
        "拡張子登録／削除時になんらかのエラーが発生しました。\r\n\r\n"
        "※本ソフトを「管理者として実行」することで\r\n"
        "   解決する場合があります。\r\n"
        "　「管理者として実行」モードで、本ソフトを再起動しますか？\r\n"
        "   (起動時に、確認ダイアログが別途ポップアップします)\r\n\r\n"
        "--- [エラー詳細] ---\r\n");
    for (const DetailLine& line : kDetails)
        if (result & line.bit) report += platform::Tr(line.text);
    return report;
}

}  // namespace appshell
