// The chain of URL-kind handlers behind the analysis window for URLs that are no HTML page.
// Each handler recognises URLs of one kind and then runs a few steps; a step tells the window
// by result bits what to do next (download a page, add to the message, offer the function
// button, close). The window performs the bits; the registry keeps which handler was chosen,
// which step comes next and the texts of the last step that answered.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// What a step asks the window to do, in this order.
enum StepBits : int {
    StepDownload = 1,  // fetch the step's text (a URL) into a temporary file, then run the next step with it
    StepMessage = 2,   // append the step's message to the message area
    StepButton = 4,    // show the function button with the step's caption
    StepClose = 8,     // close the window
    StepSkipNext = 16, // the following step is passed over
};

// The input view's URL and save-path fields as the steps see them. A missing function stands
// for a field that is not there.
struct InputFieldAccess {
    std::function<std::string()> url;
    std::function<void(const std::string&)> setUrl;
    std::function<std::string()> savePath;
    std::function<void(const std::string&)> setSavePath;
};

struct RecogniseRecord {
    std::string url;
    std::string kindText;
    std::string message;
};

struct StepRecord {
    std::string text;  // the URL on the first step, a downloaded file's path after a download
    InputFieldAccess* fields = nullptr;
    std::string programFolder;
    std::string caption;
    std::string message;
};

struct UrlHandler {
    // 1 when the handler takes the URL; it fills the kind text and the message.
    std::function<int(RecogniseRecord&)> recognise;
    // Result bits of StepBits; 0 does nothing.
    std::vector<std::function<int(StepRecord&)>> steps;
};

class UrlHandlerRegistry {
public:
    static constexpr size_t kMaxHandlers = 32;
    static constexpr size_t kMaxSteps = 7;
    static constexpr int kNone = -1;

    // 1 added; 0 when the registry is full, the handler has no recognise function or more
    // steps than a handler may have.
    [[nodiscard]] int Add(UrlHandler handler);

    // Asks the handlers in the order they were added; the first that takes the URL is chosen
    // and its kind text and message are kept. 1 when one took it.
    [[nodiscard]] int Recognise(std::string_view url);

    // Runs the chosen handler's next step with `text` (an empty text stands for the stored
    // one). After a nonzero result the step's caption, message and text are stored. 0 when
    // no handler was chosen or its steps are used up.
    int RunNextStep(const std::string& text, InputFieldAccess* fields, const std::string& programFolder);

    int Chosen() const { return m_chosen; }
    const std::string& KindText() const { return m_kindText; }
    const std::string& Message() const { return m_message; }
    const std::string& Caption() const { return m_caption; }
    const std::string& Text() const { return m_text; }

private:
    std::vector<UrlHandler> m_handlers;
    int m_chosen = kNone;
    size_t m_nextStep = 0;
    std::string m_kindText;
    std::string m_message;
    std::string m_caption;
    std::string m_text;
};

}  // namespace app
