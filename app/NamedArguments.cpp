#include "app/NamedArguments.h"

#include <algorithm>

#include "engine/SaveJob.h"
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
            if (error) *error = "不明なオプションです: --" + name;
            return 0;
        }
        if (!engine::SetNamedOptionText(options, *option, std::string_view(argument).substr(equals + 1), error)) return 0;
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

std::string NamedOptionsUsage() {
    std::string text;
    for (const engine::NamedOptionDescriptor& option : engine::NamedOptionTable()) {
        std::string head = "  --" + std::string(option.name) + "=値";
        // "値" takes three bytes and two columns: 33 bytes line the help up with the others.
        head.resize(std::max<size_t>(head.size() + 1, 33), ' ');
        text += head + option.help + "\n";
    }
    return text;
}

}  // namespace app
