// Where a test finds the built programs, its data and the loopback server. Every test source
// sees these names (the test programs include this header first); only TestPaths.cpp holds the
// folders themselves, so that no other test object depends on where the tree and the build
// lie and the compiler cache serves the objects to every clone.
#pragma once

namespace testsupport {

const char* BuiltProgramFolder();
const char* TestDataFolder();
const char* TestServerScript();

}  // namespace testsupport

#define SITROVA_BIN_DIR (::testsupport::BuiltProgramFolder())
#define SITROVA_TEST_DATA (::testsupport::TestDataFolder())
#define SITROVA_TEST_SERVER (::testsupport::TestServerScript())
