// Shared helpers of the tests: sample files, temporary folders, byte-exact reads.
#pragma once

#include <filesystem>
#include <string>

namespace kol::test {

std::filesystem::path dataFile(const std::string& name); // a sample input under tests/data
std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace kol::test
