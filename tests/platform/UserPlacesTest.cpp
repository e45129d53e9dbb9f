#include "platform/UserPlaces.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/ProgramFolder.h"
#include "tests/support/Sandbox.h"

using platform::Place;
using testsupport::Sandbox;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old, m_had = true;
        if (value) ::setenv(name, value, 1); else ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_had) ::setenv(m_name, m_old.c_str(), 1); else ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

std::string WithoutSlash(std::string path) {
    path.pop_back();
    return path;
}

}  // namespace

TEST(UserPlaces, ProgramFolderOrTheUsersFolderPerPlace) {
    const platform::UserFolders user{"/home/u/.config", "/home/u/.local/share", "/run/user/7"};
    struct Case {
        Place place;
        bool perUser;
        std::string folder;
    } cases[] = {
        {Place::Settings, false, "/opt/sitrova"},
        {Place::Data, false, "/opt/sitrova"},
        {Place::Settings, true, "/home/u/.config/sitrova"},
        {Place::Data, true, "/home/u/.local/share/sitrova"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.place) * 2 + c.perUser);
        EXPECT_EQ(platform::PlaceFolder(c.place, "/opt/sitrova", c.perUser, user), c.folder);
    }
}

TEST(UserPlaces, RelativeOrMissingXdgFoldersFallBackToTheHomeFolder) {
    ScopedVariable home("HOME", "/home/u");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "relative/config");
        ScopedVariable data("XDG_DATA_HOME", nullptr);
        ScopedVariable runtime("XDG_RUNTIME_DIR", "");
        const platform::UserFolders user = platform::UserFolders::FromEnvironment();
        EXPECT_EQ(user.configHome, "/home/u/.config");
        EXPECT_EQ(user.dataHome, "/home/u/.local/share");
        EXPECT_EQ(user.runtimeDir, "");
    }
    ScopedVariable config("XDG_CONFIG_HOME", "/xdg/config/");
    ScopedVariable data("XDG_DATA_HOME", "/xdg/data");
    ScopedVariable runtime("XDG_RUNTIME_DIR", "/run/user/7");
    const platform::UserFolders user = platform::UserFolders::FromEnvironment();
    EXPECT_EQ(user.configHome, "/xdg/config");
    EXPECT_EQ(user.dataHome, "/xdg/data");
    EXPECT_EQ(user.runtimeDir, "/run/user/7");
}

TEST(UserPlaces, AWritableProgramFolderKeepsItsFilesAndTheMarkerSendsThemToTheUser) {
    Sandbox box;
    const std::string program = box / "program";
    ASSERT_EQ(::mkdir(program.c_str(), 0755), 0);
    ScopedVariable config("XDG_CONFIG_HOME", (box / "config").c_str());
    ScopedVariable data("XDG_DATA_HOME", (box / "data").c_str());

    EXPECT_FALSE(platform::KeepsFilesPerUser(""));
    EXPECT_FALSE(platform::KeepsFilesPerUser(box / "missing"));
    EXPECT_FALSE(platform::KeepsFilesPerUser(program));
    EXPECT_EQ(platform::PlaceFor(Place::Settings, program), program);
    EXPECT_EQ(platform::PlugInFolders(program), std::vector<std::string>{program});
    EXPECT_FALSE(Sandbox::Exists(box / "config"));

    // The package's marker counts even for root, who may write anywhere.
    Sandbox::WriteFile(program + "/" + platform::kPerUserMarkerName, "");
    EXPECT_TRUE(platform::KeepsFilesPerUser(program));
    EXPECT_EQ(platform::PlaceFor(Place::Settings, program), box / "config/sitrova");
    EXPECT_EQ(platform::PlaceFor(Place::Data, program), box / "data/sitrova");
    EXPECT_TRUE(Sandbox::Exists(box / "config/sitrova/"));  // made for the first write
    EXPECT_TRUE(Sandbox::Exists(box / "data/sitrova/"));
    EXPECT_EQ(platform::PlugInFolders(program), (std::vector<std::string>{program, box / "data/sitrova/plugins"}));
}

TEST(UserPlaces, AReadOnlyProgramFolderSendsItsFilesToTheUser) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    Sandbox box;
    const std::string program = box / "program";
    ASSERT_EQ(::mkdir(program.c_str(), 0555), 0);
    ScopedVariable data("XDG_DATA_HOME", (box / "data").c_str());
    EXPECT_TRUE(platform::KeepsFilesPerUser(program));
    EXPECT_EQ(platform::PlaceFor(Place::Data, program), box / "data/sitrova");
    ::chmod(program.c_str(), 0755);
}

TEST(UserPlaces, TheTempVariableStillChoosesTheTemporaryFolder) {
    Sandbox box;
    ScopedVariable temp("TEMP", box.Path().c_str());
    EXPECT_EQ(platform::TempFolder(), WithoutSlash(box.Path()));
}
