#include "tests/support/TestPaths.h"

namespace testsupport {

const char* BuiltProgramFolder() { return SITROVA_BUILT_PROGRAMS; }
const char* TestDataFolder() { return SITROVA_SOURCE_TREE "/tests/data"; }
const char* TestServerScript() { return SITROVA_SOURCE_TREE "/tests/support/test_server.py"; }

}  // namespace testsupport
