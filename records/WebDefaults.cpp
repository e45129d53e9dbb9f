#include "records/WebDefaults.h"

#include "engine/ClientSettings.h"
#include "records/Settings.h"

namespace records {

void UseWebDefaults(const std::string& iniPath) {
    platform::SetDefaultHttpSettings(engine::MakeClientSettings(ReadNamedOptions(iniPath), engine::ClientUse::Program));
}

}  // namespace records
