// Stand-in until the settings component lands: every read gives its default.
#include "records/Settings.h"

namespace records {

uint32_t ReadDefMode(const std::string&, uint32_t defaultValue) { return defaultValue; }

}  // namespace records
