// The settings file "Sitrov.ini" beside the program.
#pragma once

#include <cstdint>
#include <string>

namespace records {

constexpr uint32_t kDefModeDefault = 1164033;  // 0x11C301

// BasicOption/DefMode, or its default when missing.
uint32_t ReadDefMode(const std::string& iniPath, uint32_t defaultValue = kDefModeDefault);

}  // namespace records
