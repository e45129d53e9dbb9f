#include "app/ParamFile.h"

#include "platform/Codepage.h"
#include "platform/FileUtil.h"

namespace app {

namespace {

const char* const kLines[] = {
    "<?xml version='1.0' encoding='Shift-JIS' ?>",
    nullptr,  // the start tag of the document element, built below
    "<title>",
    "Sitrova連続起動パラメータファイル。",
    "</title>",
    "<discription>",
    "Sitrova を連続起動で利用するためのパラメータを設定するファイルです。<br />",
    "サイト保存を行うときは、以下のパラメータを全て記述してください。<br />",
    "単体／連番保存を行うときは、タグworkmode,environment の二つを削除してください。<br />",
    "</discription>",
    "<url>",
    "■ここにURLを記述します。",
    "</url>",
    "<save>",
    "■ここに保存先のフルパスを記述します。",
    "</save>",
    "<workmode>",
    "<discription>",
    "以下では、オプション指定を行います。<br />",
    "指定するオプションに対応する要素を1、そうでないものを0にします。<br />",
    "<br />",
    "強制変換　　　　･･･　neglect<br />",
    "Alias補正 　　　･･･　arias<br />",
    "Agent利用 　　　･･･　agent<br />",
    "データフォルダ　･･･　datafolder<br />",
    "更新ログ(*.qdx) ･･･　qdxfile<br />",
    "</discription>",
    "<neglect>0</neglect>",
    "<arias>0</arias>",
    "<agent>0</agent>",
    "<datafolder>1</datafolder>",
    "<qdxfile>1</qdxfile>",
    "<outdomain>",
    "<discription>",
    "以下では、外部ドメインへのパスの処理を記述します。<br />",
    "<br />",
    "無効　･･･　all,select 共に0を指定します。<br />",
    "有効　･･･　all=1, select=0 と指定します。<br />",
    "選択　･･･　all=0, select=1 と指定します。<br />",
    "</discription>",
    "<all>0</all>",
    "<select>0</select>",
    "</outdomain>",
    "</workmode>",
    "<environment>",
    "<discription>",
    "以下では、上位階層の上限値とCPU占有率を指定します。<br />",
    "<br />",
    "上位階層の上限値　･･･　lanklimitに値を記述します。<br />",
    "CPU占有率 　　　　･･･　sleepcpulevelに1(最小)～4(最大)を記述します。<br />",
    "</discription>",
    "<lanklimit>0</lanklimit>",
    "<sleepcpulevel>4</sleepcpulevel>",
    "</environment>",
    "<version>",
    "1.00",
    "</version>",
    "</qdxsome:document>",
};

}  // namespace

const std::vector<std::string>& ParamTemplateLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> all;
        for (const char* line : kLines)
            all.push_back(line ? line : std::string("<qdxsome:document xmlns:qdxsome=\"") + kParamNamespace + "\">");
        return all;
    }();
    return lines;
}

std::string ParamTemplateBytes() {
    std::string utf8;
    for (const std::string& line : ParamTemplateLines()) utf8 += line + "\r\n";
    std::string bytes;
    // Every character of the template has a Shift-JIS code; the tests hold it to that.
    if (platform::Utf8ToCp932(utf8, bytes) != platform::CodepageOk) return {};
    return bytes;
}

int WriteParamTemplate(const std::string& path) {
    if (platform::FileExists(path)) return TemplateExists;
    const std::string bytes = ParamTemplateBytes();
    if (bytes.empty()) return TemplateNotWritten;
    return platform::WriteFilePlain(path, bytes) ? TemplateWritten : TemplateNotWritten;
}

const std::vector<ParamOption>& ParamOptions() {
    static const std::vector<ParamOption> options = {
        {"/qdxsome:document/workmode/neglect", 0x4},      {"/qdxsome:document/workmode/arias", 0x8},
        {"/qdxsome:document/workmode/agent", 0x80},       {"/qdxsome:document/workmode/datafolder", 0x100},
        {"/qdxsome:document/workmode/qdxfile", 0x200},    {"/qdxsome:document/workmode/outdomain/all", 0x10},
        {"/qdxsome:document/workmode/outdomain/select", 0x20},
    };
    return options;
}

}  // namespace app
