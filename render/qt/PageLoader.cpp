#include "render/qt/PageLoader.h"

#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>

namespace render {

namespace {

// The network counts as idle when no request was made for this long after the load.
constexpr qint64 kQuietMs = 500;
// setContent goes through a data: URL, which the engine takes up to about 2 MB.
constexpr qsizetype kMaxContentBytes = 1800 * 1024;

// Scripts out (unless kept: they would rebuild the page offline over what it already shows),
// the declared charset made UTF-8 (the serialised text is), and the document as text.
const char* kSerialise = R"JS(
(function (keepScripts) {
  if (!keepScripts) {
    document.querySelectorAll('script').forEach(function (s) {
      var type = (s.type || '').toLowerCase();
      if (type.indexOf('json') < 0) s.remove();
    });
  }
  document.querySelectorAll('meta[charset], meta[http-equiv]').forEach(function (m) {
    if (m.hasAttribute('charset') || (m.getAttribute('http-equiv') || '').toLowerCase() === 'content-type') m.remove();
  });
  var head = document.head || document.documentElement.insertBefore(document.createElement('head'), document.body);
  var meta = document.createElement('meta');
  meta.setAttribute('charset', 'utf-8');
  head.insertBefore(meta, head.firstChild);
  var type = document.doctype ? '<!DOCTYPE ' + document.doctype.name + '>\n' : '';
  return type + document.documentElement.outerHTML;
})(%1)
)JS";

QList<QNetworkCookie> ParseCookiesTxt(const QByteArray& text) {
    QList<QNetworkCookie> cookies;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        bool httpOnly = false;
        if (line.startsWith("#HttpOnly_")) {
            httpOnly = true;
            line = line.mid(10);
        }
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> f = line.split('\t');
        if (f.size() < 7) continue;
        QNetworkCookie cookie(f[5], f[6]);
        cookie.setDomain(QString::fromUtf8(f[0]));
        cookie.setPath(QString::fromUtf8(f[2]));
        cookie.setSecure(f[3] == "TRUE");
        cookie.setHttpOnly(httpOnly);
        if (const qint64 expires = f[4].toLongLong(); expires > 0)
            cookie.setExpirationDate(QDateTime::fromSecsSinceEpoch(expires));
        cookies.append(cookie);
    }
    return cookies;
}

}  // namespace

std::vector<std::string> RequestLog::Urls() const {
    const std::lock_guard lock(m_mutex);
    return m_urls;
}

void RequestLog::Reset(const QUrl& page, int cap, bool keepScripts) {
    const std::lock_guard lock(m_mutex);
    m_urls.clear();
    m_seen.clear();
    m_page = page;
    m_cap = cap;
    m_keepScripts = keepScripts;
    m_count = 0;
    clock.start();
    m_lastRequestMs = 0;
}

// Called on the engine's network thread.
void RequestLog::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    const QString scheme = url.scheme();
    if (scheme != "http" && scheme != "https") return;
    if (url.adjusted(QUrl::RemoveFragment) == m_page.adjusted(QUrl::RemoveFragment) &&
        info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
        return;
    // The browser's own look for a site icon is no part of the page.
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeFavicon) return;
    const std::lock_guard lock(m_mutex);
    if (++m_count > m_cap) {
        info.block(true);
        return;
    }
    Touch();
    // Scripts that the saved page will not hold are not worth saving.
    if (!m_keepScripts && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeScript) return;
    std::string text = url.adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded).toStdString();
    if (m_seen.insert(text).second) m_urls.push_back(std::move(text));
}

PageLoader::PageLoader(QWebEngineProfile* profile) : m_profile(profile) {
    m_tick.setInterval(100);
    connect(&m_tick, &QTimer::timeout, this, [this] { Tick(); });
}

PageLoader::~PageLoader() = default;

void PageLoader::Render(const engine::RenderFields& request, Answer answer) {
    m_answer = std::move(answer);
    const auto field = [&](const char* name) {
        const auto it = request.find(name);
        return it == request.end() ? std::string() : it->second;
    };
    const QUrl url(QString::fromStdString(field("url")));
    m_keepScripts = field("keep-scripts") == "1";
    m_timeoutMs = std::max(500, std::atoi(field("timeout-ms").c_str()));
    const int cap = std::max(1, std::atoi(field("max-requests").c_str()));
    for (const QNetworkCookie& cookie : ParseCookiesTxt(QByteArray::fromStdString(field("cookies"))))
        m_profile->cookieStore()->setCookie(cookie);

    m_loaded = false;
    m_serialising = false;
    m_log.Reset(url, cap, m_keepScripts);
    m_page = std::make_unique<QWebEnginePage>(m_profile);
    // Each page notes its own requests: pages render side by side in one profile.
    m_page->setUrlRequestInterceptor(&m_log);
    connect(m_page.get(), &QWebEnginePage::loadFinished, this, [this](bool) {
        m_loaded = true;
        m_log.Touch();
    });
    const QByteArray html = QByteArray::fromStdString(field("html"));
    QString mime = QString::fromStdString(field("content-type"));
    if (!mime.startsWith("text/html", Qt::CaseInsensitive)) mime = "text/html";
    m_started.start();
    // The bytes the save fetched are what the page is made of; only a page too big for that
    // way in is asked of its server once more.
    if (html.size() <= kMaxContentBytes) m_page->setContent(html, mime, url);
    else m_page->load(url);
    m_tick.start();
}

void PageLoader::Tick() {
    if (m_serialising) {
        // A page whose script never gives the thread back is not waited for twice over.
        if (m_started.elapsed() > 2LL * m_timeoutMs + 2000)
            Finish({{"status", "error"}, {"error", "the page did not answer"}});
        return;
    }
    const bool quiet = m_loaded && m_log.clock.elapsed() - m_log.LastRequestMs() >= kQuietMs;
    const bool late = m_started.elapsed() >= m_timeoutMs;
    if (quiet || late) Serialise(!quiet);
}

void PageLoader::Serialise(bool cut) {
    m_serialising = true;
    const QString script = QString::fromUtf8(kSerialise).arg(m_keepScripts ? "true" : "false");
    m_page->runJavaScript(script, [this, cut](const QVariant& value) {
        if (!m_serialising || !m_answer) return;
        if (value.typeId() != QMetaType::QString) {
            Finish({{"status", "error"}, {"error", "the document could not be serialised"}});
            return;
        }
        std::string requested;
        for (const std::string& url : m_log.Urls()) requested += url + "\n";
        Finish({{"status", "ok"},
                {"dom", value.toString().toStdString()},
                {"requested", requested},
                {"cut", cut ? "1" : "0"}});
    });
}

void PageLoader::Finish(const engine::RenderFields& fields) {
    m_tick.stop();
    m_serialising = false;
    Answer answer = std::move(m_answer);
    m_answer = nullptr;
    // The page goes when the event loop next runs, not inside its own callback; what it
    // still asks for until then is no part of the next page's log.
    if (m_page) {
        m_page->setUrlRequestInterceptor(nullptr);
        m_page->triggerAction(QWebEnginePage::Stop);
        m_page.release()->deleteLater();
    }
    if (answer) answer(fields);
}

}  // namespace render
