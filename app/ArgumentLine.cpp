#include "app/ArgumentLine.h"

#include "engine/CpuLevel.h"
#include "engine/FillJob.h"
#include "engine/SaveJob.h"
#include "platform/ByteString.h"

namespace app {

using namespace engine::mode;

namespace {

// Reads the fields of a keyword argument. The first field begins two characters after the
// keyword (comma and quote), each further one three characters after the previous closing
// quote; a field ends at the next double quote (or at the end of the text).
class FieldReader {
public:
    FieldReader(const std::string& text, size_t keywordLength) : m_text(text), m_pos(keywordLength + 2) {}

    std::string Next() {
        if (m_pos >= m_text.size()) {
            m_pos = std::string::npos;
            return {};
        }
        size_t end = m_text.find('"', m_pos);
        std::string field = m_text.substr(m_pos, end == std::string::npos ? std::string::npos : end - m_pos);
        m_pos = end == std::string::npos ? std::string::npos : end + 3;
        return field;
    }

    // The character where the next field would begin is a double quote: that field is empty.
    bool NextIsEmpty() const { return m_pos == std::string::npos || m_pos >= m_text.size() || m_text[m_pos] == '"'; }

private:
    const std::string& m_text;
    size_t m_pos;
};

void ParseSomeComplete(const std::string& line, engine::SaveJob& job) {
    job.SetModeBits(ModeSomeComplete);
    FieldReader fields(line, std::string_view("SomeComplete").size());
    engine::JobInput input;
    input.url = fields.Next();
    input.savePath = fields.Next();
    input.modeBits = static_cast<uint32_t>(platform::ParseDecimal(fields.Next()));
    input.lankLimit = static_cast<int32_t>(platform::ParseDecimal(fields.Next()));
    engine::FillJob(job, input);
    job.SetCpuSleepMs(engine::SleepForCommandLevel(static_cast<int>(platform::ParseDecimal(fields.Next()))));
    job.ClearModeBits(ModeNormal);
}

// "SomeWarc","archive","URL","save path"[,"options","upper limit","CPU level"]: a complete save
// whose pages come from the archive. Without the last three it takes the usual choice.
void ParseSomeWarc(const std::string& line, engine::SaveJob& job, ParsedArguments& parsed) {
    job.SetModeBits(ModeSomeComplete);
    FieldReader fields(line, std::string_view("SomeWarc").size());
    parsed.archivePath = fields.Next();
    engine::JobInput input;
    input.url = fields.Next();
    input.savePath = fields.Next();
    const std::string modeBits = fields.Next();
    const std::string lankLimit = fields.Next();
    const std::string cpuLevel = fields.Next();
    input.modeBits = modeBits.empty() ? kSomeWarcModeBits : static_cast<uint32_t>(platform::ParseDecimal(modeBits));
    input.lankLimit = static_cast<int32_t>(platform::ParseDecimal(lankLimit));
    engine::FillJob(job, input);
    job.SetCpuSleepMs(engine::SleepForCommandLevel(cpuLevel.empty() ? 4 : static_cast<int>(platform::ParseDecimal(cpuLevel))));
    job.ClearModeBits(ModeNormal);
}

void ParseSomeSeries(const std::string& line, engine::SaveJob& job) {
    job.SetModeBits(ModeSomeSeries);
    FieldReader fields(line, std::string_view("SomeSeries").size());
    engine::JobInput input;
    input.url = fields.Next();
    input.savePath = fields.Next();
    engine::FillJob(job, input);
    job.ClearModeBits(ModeNormal);
}

void ParsePresetUrl(const std::string& line, engine::SaveJob& job) {
    job.SetModeBits(ModePresetUrl);
    FieldReader fields(line, std::string_view("PresetUrl").size());
    engine::JobInput input;
    input.url = fields.Next();
    input.appendIndex = false;
    if (!fields.NextIsEmpty()) input.savePath = fields.Next();
    engine::FillJob(job, input);
}

}  // namespace

std::string SkipLeadingBlanks(const std::string& text) {
    size_t i = 0;
    while (i + 1 < text.size() && text[i] == ' ') ++i;
    return text.substr(i);
}

std::string Unquote(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && text[i] == '"') {
        size_t end = text.find('"', i + 1);
        return text.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
    }
    return text.substr(i);
}

ParsedArguments ParseArgumentLine(const std::string& argumentLine, engine::SaveJob& job) {
    ParsedArguments parsed;
    const std::string line = SkipLeadingBlanks(argumentLine);
    if (platform::StartsWithI(line, "ravevor")) {
        job.SetModeBits(ModeMaker);
    } else if (platform::StartsWithI(line, "advertisement")) {
        job.SetModeBits(ModeAdRemoval);
        const size_t skip = std::string_view("advertisement").size() + 1;
        job.SetQdxPath(Unquote(line.size() > skip ? line.substr(skip) : std::string()));
    } else if (platform::StartsWithI(line, "SomeComplete")) {
        ParseSomeComplete(line, job);
    } else if (platform::StartsWithI(line, "SomeWarc")) {
        ParseSomeWarc(line, job, parsed);
    } else if (platform::StartsWithI(line, "SomeSeries")) {
        ParseSomeSeries(line, job);
    } else if (platform::StartsWithI(line, "PresetUrl")) {
        ParsePresetUrl(line, job);
    } else if (line.size() > 4) {
        const std::string path = Unquote(line);
        if (platform::EndsWithI(path, ".qdx")) {
            parsed.qdxArgument = true;
            parsed.qdxPath = path;
        } else {
            job.SetModeBits(ModeNormal);
        }
    } else {
        job.SetModeBits(ModeNormal);
    }
    return parsed;
}

std::string SomeCompleteArgument(const std::string& url, const std::string& savePath, uint32_t flags,
                                 const std::string& lankLimit, int cpuLevel) {
    const std::string q = "\"";
    return "SomeComplete," + q + url + q + "," + q + savePath + q + "," + q + std::to_string(flags) + q + "," + q +
           lankLimit + q + "," + q + std::to_string(cpuLevel) + q;
}

std::string SomeWarcArgument(const std::string& archivePath, const std::string& url, const std::string& savePath) {
    const std::string q = "\"";
    return "SomeWarc," + q + archivePath + q + "," + q + url + q + "," + q + savePath + q;
}

}  // namespace app
