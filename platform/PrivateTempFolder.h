// A folder of our own below the temporary folder, readable by us alone, removed with all it
// holds when its owner goes. Working files of a window or a worker live there, so no other
// user can put a file or link in their place.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class PrivateTempFolder {
public:
    // `prefix` starts the folder's name ("sitrova-analysis-" makes "sitrova-analysis-Xy12Ab").
    explicit PrivateTempFolder(std::string_view prefix);
    ~PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    // The folder with a trailing "/"; empty when it could not be created.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace platform
