// The agent strings and referer lines the program can present to servers.
#include "engine/Fetcher.h"

#include "platform/ByteString.h"

namespace engine {

std::string AgentString(uint32_t code, std::string_view custom) {
    if (code == 0) return std::string(custom);
    const uint32_t kind = code & 0xFFFE;
    // The Windows CE agent is a whole string of its own.
    if (kind == 128) return "Mozilla/2.0 (compatible; MSIE 3.02; Windows CE)";
    std::string agent = (code & 1) ? "Mozilla/4.0 " : "";
    switch (kind) {
    case 2: agent += "(compatible; MSIE 4.0; Windows 95)"; break;
    case 4: agent += "(compatible; MSIE 4.01; Windows 98)"; break;
    case 8: agent += "(compatible; MSIE 5.5; Windows 98; Win 9x 4.90)"; break;
    case 16: agent += "(compatible; MSIE 5.01; Windows NT)"; break;
    case 32: agent += "(compatible; MSIE 5.01; Windows NT 5.0)"; break;
    case 64: agent += "(compatible; MSIE 6.0; Windows NT 5.1)"; break;
    case 256: agent += "(compatible; MSIE 5.0; Mac_PowerPC)"; break;
    case 512: agent += "(compatible; MSIE 4.01; Mac_68000)"; break;
    case 1024: agent += "(compatible; MSIE 7.0; Windows NT 6.0)"; break;
    case 2048: agent += "(compatible; MSIE 8.0; Windows NT 6.1)"; break;
    default: break;
    }
    return agent;
}

std::string RefererHeader(uint32_t code, std::string_view url) {
    switch (code) {
    case 0: return std::string(url);  // the caller's own header line
    case 1: return "Referer: " + std::string(url);
    case 2: return "Referer: " + std::string(platform::UpToLast(url, '/'));
    case 3: return "Referer: NSPlayer/9.0.0.2980";
    case 4: return "Referer: NSPlayer/10.0.0.3650 WMFSDK/10.0";
    case 5: return "Referer: QuickTime (qtver=6.3;os=Windows+NT+5.1Service+Pack+1)";
    case 6: return "Referer: RMA/1.0+(compatible;+RealMedia)";
    default: return {};
    }
}

}  // namespace engine
