#include "app/NamedArguments.h"

#include <algorithm>

#include "engine/SaveJob.h"
#include "platform/UiText.h"
#include "records/Settings.h"

namespace app {

bool IsNamedArgument(const std::string& argument) {
    return argument.size() > 2 && argument.starts_with("--") && argument.find('=') != std::string::npos;
}

int ApplyNamedArguments(const std::vector<std::string>& args, engine::NamedOptions& options, std::string* error) {
    for (const std::string& argument : args) {
        if (!IsNamedArgument(argument)) break;
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(2, equals - 2);
        const engine::NamedOptionDescriptor* option = engine::FindNamedOption(name);
        if (!option) {
            if (error) *error = platform::TrArgs("不明なオプションです: --%1", {name});
            return 0;
        }
        if (!engine::SetNamedOptionText(options, *option, std::string_view(argument).substr(equals + 1), error,
                                        engine::RefusalFor::User))
            return 0;
    }
    return 1;
}

engine::NamedOptions NamedOptionsForStart(const std::string& iniPath, const std::vector<std::string>& args) {
    engine::NamedOptions options = records::ReadNamedOptions(iniPath);
    // The arguments were checked before any job began.
    (void)ApplyNamedArguments(args, options);
    return options;
}

void SetNamedOptionsForStart(engine::SaveJob& job, const std::vector<std::string>& args) {
    std::vector<std::string> refused;
    engine::NamedOptions options = records::ReadNamedOptions(job.IniPath(), &refused);
    (void)ApplyNamedArguments(args, options);
    job.SetNamed(options);
    for (const std::string& why : refused)
        job.AppendLog("Sitrov.ini の [" + std::string(records::kWebOptionsSection) + "]: " + why + "既定の値で保存します。");
}

namespace {

// The columns a terminal gives the text: two for each character of the Japanese scripts (three
// bytes or four in UTF-8), one for any other.
size_t Columns(std::string_view utf8) {
    size_t columns = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 || (byte >= 0xC0 && byte < 0xE0)) columns += 1;
        else if (byte >= 0xE0) columns += 2;
    }
    return columns;
}

}  // namespace

std::string NamedOptionsUsage() {
    // The help starts in the column of the other arguments' help.
    constexpr size_t kHelpColumn = 32;
    std::string text;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        std::string head = platform::TrArgs("  --%1=値", {option.name});
        head.append(std::max<size_t>(kHelpColumn, Columns(head) + 1) - Columns(head), ' ');
        text += head + platform::Tr(option.help) + "\n";
    }
    return text;
}

}  // namespace app
