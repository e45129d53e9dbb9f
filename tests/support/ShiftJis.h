// Shift-JIS bytes of a UTF-8 test text, for record files written by hand.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Codepage.h"

namespace testsupport {

inline std::string Sjis(const std::string& utf8) {
    std::string out;
    EXPECT_EQ(platform::Utf8ToCp932(utf8, out), platform::CodepageOk) << utf8;
    return out;
}

}  // namespace testsupport
