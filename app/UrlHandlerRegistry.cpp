#include "app/UrlHandlerRegistry.h"

namespace app {

int UrlHandlerRegistry::Add(UrlHandler handler) {
    if (m_handlers.size() >= kMaxHandlers || !handler.recognise || handler.steps.size() > kMaxSteps) return 0;
    m_handlers.push_back(std::move(handler));
    return 1;
}

int UrlHandlerRegistry::Recognise(std::string_view url) {
    m_chosen = kNone;
    m_nextStep = 0;
    m_kindText.clear();
    m_message.clear();
    m_caption.clear();
    m_text.assign(url);
    for (size_t i = 0; i < m_handlers.size(); ++i) {
        RecogniseRecord record;
        record.url.assign(url);
        if (m_handlers[i].recognise(record) == 0) continue;
        m_chosen = static_cast<int>(i);
        m_kindText = std::move(record.kindText);
        m_message = std::move(record.message);
        return 1;
    }
    return 0;
}

int UrlHandlerRegistry::RunNextStep(const std::string& text, InputFieldAccess* fields,
                                    const std::string& programFolder) {
    if (m_chosen == kNone) return 0;
    const auto& steps = m_handlers[static_cast<size_t>(m_chosen)].steps;
    if (m_nextStep >= steps.size()) return 0;
    StepRecord record;
    record.text = text.empty() ? m_text : text;
    record.fields = fields;
    record.programFolder = programFolder;
    const int bits = steps[m_nextStep++](record);
    if (bits & StepSkipNext) ++m_nextStep;
    if (bits != 0) {
        m_caption = std::move(record.caption);
        m_message = std::move(record.message);
        m_text = std::move(record.text);
    }
    return bits;
}

}  // namespace app
