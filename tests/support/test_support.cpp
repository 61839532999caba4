#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kol::test {

std::filesystem::path dataFile(const std::string& name) {
    return std::filesystem::path(KOLUMBRA_TESTDATA) / name;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kolumbra-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace kol::test
