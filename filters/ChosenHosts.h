// Host names that the content filters and site adapters recognise. They name services whose
// markup the filters know; every such name lives here so that a service that moves is
// updated in one place.
#pragma once

namespace filters::hosts {

// Free hosting service A: its banner links to its top page.
constexpr const char* kHostingATop = "http://www.tok2.com/";
// Free hosting service B: its banner links through its introduction jump.
constexpr const char* kHostingBIntroduceJump = "http://www.hi-ho.ne.jp/cgi/introduce_jump";
// Free hosting service C: its banner links start with this prefix.
constexpr const char* kHostingCPrefix = "http://www.freeweb.ne.jp/";
// Hosting network D: its footer links to its top page.
constexpr const char* kHostingDTop = "http://www.ribbon.to/";

// The counter service: one control URL and two families of numbered script hosts. In a family
// URL the ninth character is the digit, tried with 1 to 9.
constexpr const char* kCounterControl = "http://ad.shinobi.jp/";
constexpr const char* kCounterScriptFamilyA = "http://x1.shinobi.jp/";
constexpr const char* kCounterScriptFamilyB = "http://s1.shinobi.jp/";
constexpr int kCounterDigitIndex = 8;  // the ninth character

}  // namespace filters::hosts
