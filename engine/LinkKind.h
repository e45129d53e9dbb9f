// Kinds of the links found in a saved page.
#pragma once

#include <cstdint>

namespace engine {

enum LinkKind : int32_t {
    EmbedData = 10,       // file embedded in or linked from a page
    LinkPage = 20,        // page to follow
    NotFollowed = 30,     // not saved
    CssData = 40,         // style sheet (followed and scanned like a page)
    ScriptData = 50,      // script (followed like a page)
    PlayList = 60,        // play list
    OutDomainEmbed = 70,  // embedded file given by an absolute URL
    OutDomainPage = 80,   // page given by an absolute URL
    DynamicPage = 90,     // page made by a server script
    // A name that does not say what it names ("apt", "sect.apt-get", "blog/"'s page "blog"):
    // fetched like a page, and the answer's Content-Type makes it a page, a style sheet or a
    // file. Its local path is the page's name until the answer says otherwise.
    AnswerDecides = 100,
};

}  // namespace engine
