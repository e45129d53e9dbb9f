// SitrovaRender: the page renderer a save starts when "render" is on. It reads requests on
// its standard input and writes answers on its standard output (engine/RenderMessage.h), up
// to --pages=N pages at a time (answers in the order pages finish), until its input closes. It shows nothing and needs no display.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWebEngineProfile>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>
#include <deque>
#include <string>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

#include "engine/RenderMessage.h"
#include "render/qt/PageLoader.h"

namespace {

struct Arguments {
    std::string agent, proxy, noProxy;
    bool acceptSelfSigned = false;
    int pages = 1;  // rendered side by side
};

Arguments ReadArguments(int argc, char** argv) {
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](const char* prefix) { return arg.substr(std::string(prefix).size()); };
        if (arg.rfind("--agent=", 0) == 0) a.agent = value("--agent=");
        else if (arg.rfind("--proxy=", 0) == 0) a.proxy = value("--proxy=");
        else if (arg.rfind("--no-proxy=", 0) == 0) a.noProxy = value("--no-proxy=");
        else if (arg == "--accept-self-signed") a.acceptSelfSigned = true;
        else if (arg.rfind("--pages=", 0) == 0) a.pages = std::clamp(std::atoi(value("--pages=").c_str()), 1, 8);
    }
    return a;
}

// The engine's own flags, set before it starts: no window system, no GPU, and as root no
// sandbox (Chromium refuses to start a sandbox for root). The network flags carry the
// save's proxy, so the engine's requests go where the save's own go.
void PrepareEnvironment(const Arguments& a) {
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS") ? std::getenv("QTWEBENGINE_CHROMIUM_FLAGS") : "";
    flags += " --disable-gpu --disable-gpu-compositing --disable-dev-shm-usage --mute-audio";
    // A page's scripts get a bounded heap: a runaway page fails alone instead of growing
    // without end.
    flags += " --js-flags=--max-old-space-size=512";
    // No more page processes than pages at once: the engine's memory grows with the pool, not
    // with the sites a save visits.
    flags += " --renderer-process-limit=" + std::to_string(a.pages);
    if (::geteuid() == 0) {
        flags += " --no-sandbox";
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    }
    if (!a.proxy.empty()) flags += " --proxy-server=" + a.proxy;
    if (!a.noProxy.empty()) flags += " --proxy-bypass-list=" + a.noProxy;
    if (a.acceptSelfSigned) flags += " --ignore-certificate-errors";
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
}

int g_answerFd = 1;

void WriteMessage(const engine::RenderFields& fields) {
    const std::string text = engine::EncodeRenderMessage(fields);
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(g_answerFd, text.data() + done, text.size() - done);
        if (n <= 0) std::_Exit(1);  // the save is gone
        done += static_cast<size_t>(n);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Answers go to a copy of the standard output; what the engine itself prints goes to the
    // standard error, so it can never break a message.
    // The engine's chatter (console messages of the pages, Chromium's warnings) would land on
    // the console of the save; it goes nowhere unless SITROVA_RENDER_LOG is set.
    g_answerFd = ::fcntl(1, F_DUPFD_CLOEXEC, 3);  // not handed on to the engine's own processes
    if (!std::getenv("SITROVA_RENDER_LOG")) {
        if (const int null = ::open("/dev/null", O_WRONLY); null >= 0) {
            ::dup2(null, 2);
            ::close(null);
        }
    }
    ::dup2(2, 1);
    const Arguments args = ReadArguments(argc, argv);
    PrepareEnvironment(args);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);

    // An off-the-record profile: nothing of one save is kept on disk for the next.
    QWebEngineProfile profile;
    if (!args.agent.empty()) profile.setHttpUserAgent(QString::fromStdString(args.agent));
    std::vector<std::unique_ptr<render::PageLoader>> loaders;
    std::vector<render::PageLoader*> free;
    for (int i = 0; i < args.pages; ++i) {
        loaders.push_back(std::make_unique<render::PageLoader>(&profile));
        free.push_back(loaders.back().get());
    }

    std::string buffer;
    std::deque<engine::RenderFields> waiting;
    // Each free page takes the oldest request; its answer repeats the request's id.
    std::function<void()> next = [&] {
        while (!free.empty() && !waiting.empty()) {
            render::PageLoader* loader = free.back();
            free.pop_back();
            engine::RenderFields request = std::move(waiting.front());
            waiting.pop_front();
            const std::string id = request["id"];
            loader->Render(request, [&, loader, id](const engine::RenderFields& answer) {
                engine::RenderFields sent = answer;
                sent["id"] = id;
                WriteMessage(sent);
                free.push_back(loader);
                QMetaObject::invokeMethod(&app, next, Qt::QueuedConnection);
            });
        }
    };
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[65536];
        const ssize_t n = ::read(0, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false);
            app.quit();
            return;
        }
        buffer.append(chunk, static_cast<size_t>(n));
        engine::RenderFields request;
        int taken;
        while ((taken = engine::TakeRenderMessage(buffer, request)) == engine::RenderMessageComplete)
            waiting.push_back(std::move(request));
        if (taken == engine::RenderMessageBroken) {
            input.setEnabled(false);
            app.quit();
            return;
        }
        next();
    });
    WriteMessage({{"status", "ready"}});
    return app.exec();
}
