#include "tests/support/Sandbox.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace testsupport {

Sandbox::Sandbox() {
    std::string base = std::filesystem::temp_directory_path().string() + "/sitrova-test-XXXXXX";
    if (char* made = mkdtemp(base.data())) m_path = std::string(made) + "/";
}

Sandbox::~Sandbox() {
    std::error_code ec;
    if (!m_path.empty() && !std::getenv("SITROVA_KEEP_SANDBOX")) std::filesystem::remove_all(m_path, ec);
}

void Sandbox::WriteFile(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Sandbox::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Sandbox::Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace testsupport
