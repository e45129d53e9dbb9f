#include "records/DescriptionLog.h"

#include "engine/ProgressText.h"
#include "engine/SaveJob.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "platform/FileUtil.h"
#include "platform/UiText.h"

namespace records {

std::string StripExtension(const std::string& name) {
    if (!name.empty() && name.back() == '/') return name;
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string DescriptionLogPath(const engine::SaveJob& job) {
    return job.SaveFolder() + StripExtension(job.ChosenSaveName()) + "-Description.log";
}

int WriteDescriptionLogFile(const engine::SaveJob& job, const std::string& resultText, std::string& error,
                            std::string* shown) {
    auto fail = [&](auto say) {
        error = say(platform::UiLanguage::Japanese);
        if (shown) *shown = say(platform::CurrentUiLanguage());
        return 0;
    };
    const std::string text =
        engine::DescriptionText(job.JobSummary(), resultText, platform::LocalDateText(), platform::LocalTimeText());
    std::string sjis;
    size_t bad = 0;
    if (platform::Utf8ToCp932(text, sjis, &bad) != platform::CodepageOk) {
        return fail([&](platform::UiLanguage language) {
            return platform::TrArgs("説明ログに書けない文字があります: %1", {platform::DescribeUnmappable(text, bad)},
                                    language);
        });
    }
    const std::string path = DescriptionLogPath(job);
    if (!platform::WriteFileReplacing(path, sjis)) {
        return fail([&](platform::UiLanguage language) {
            return platform::TrArgs("説明ログを書き込めません: %1", {path}, language);
        });
    }
    return 1;
}

}  // namespace records
