#include "workbook/zip_archive.h"

#include <algorithm>
#include <libdeflate.h>
#include <new>
#include <sys/stat.h>
#include <vector>
#include <zip.h>

namespace kol::workbook {

ZipArchive::ZipArchive(zip* archive, std::uint64_t size, std::string bytes)
    : archive_(archive), budget_(size), bytes_(std::move(bytes)) {}

ZipArchive::~ZipArchive() {
    if (archive_) zip_discard(archive_);
}

namespace {
ZipStatus statusOf(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
        return ZipStatus::NotZip;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return ZipStatus::Encrypted;
    default:
        return ZipStatus::Damaged;
    }
}
} // namespace

ZipStatus ZipArchive::open(const std::string& path, std::unique_ptr<ZipArchive>& out) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return ZipStatus::Missing;
    int error = 0;
    zip* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) return statusOf(error);
    out.reset(new ZipArchive(archive, static_cast<std::uint64_t>(st.st_size), {}));
    return ZipStatus::Ok;
}

ZipStatus ZipArchive::openBytes(std::string bytes, std::unique_ptr<ZipArchive>& out) {
    const std::uint64_t size = bytes.size();
    std::unique_ptr<ZipArchive> holder(new ZipArchive(nullptr, size, std::move(bytes)));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(holder->bytes_.data(), holder->bytes_.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return ZipStatus::Damaged;
    }
    zip* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) {
        ZipStatus s = statusOf(zip_error_code_zip(&error));
        zip_source_free(source);
        zip_error_fini(&error);
        return s;
    }
    zip_error_fini(&error);
    holder->archive_ = archive;
    out = std::move(holder);
    return ZipStatus::Ok;
}

bool ZipArchive::has(const std::string& name) const {
    return zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

std::int64_t ZipArchive::locate(const std::string& name) const {
    zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
    if (index < 0) index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
    return index;
}

std::uint64_t ZipArchive::declaredSize(const std::string& name) const {
    const zip_int64_t index = locate(name);
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE))
        return 0;
    return st.size;
}

ZipStatus ZipArchive::read(const std::string& name,
                           const std::function<bool(std::string_view)>& chunk) {
    const zip_int64_t index = locate(name);
    if (index < 0) return ZipStatus::Missing;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0)
        return ZipStatus::Damaged;
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        return ZipStatus::Encrypted;
    // The declared size is checked first; the bytes really unpacked are counted as they come,
    // since a damaged or hostile archive may declare less than it holds.
    if ((st.valid & ZIP_STAT_SIZE) && st.size > budget_.remaining) return ZipStatus::TooLarge;
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file) return statusOf(zip_error_code_zip(zip_get_error(archive_)));
    std::vector<char> buffer(1 << 16);
    ZipStatus status = ZipStatus::Ok;
    for (;;) {
        zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
        if (n < 0) {
            status = ZipStatus::Damaged;
            break;
        }
        if (n == 0) break;
        if (!budget_.take(static_cast<std::uint64_t>(n))) {
            status = ZipStatus::TooLarge;
            break;
        }
        if (!chunk(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) {
            status = ZipStatus::Stopped;
            break;
        }
    }
    zip_fclose(file);
    return status;
}

ZipStatus ZipArchive::readAll(const std::string& name, std::string& out) {
    out.clear();
    return read(name, [&](std::string_view piece) {
        out.append(piece);
        return true;
    });
}

} // namespace kol::workbook

namespace kol::workbook {

namespace {
struct Decompressor {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    ~Decompressor() {
        if (d) libdeflate_free_decompressor(d);
    }
};
} // namespace

ZipStatus ZipArchive::readWhole(const std::string& name, LargeBuffer& out) {
    // The way through libzip, copied into the buffer: for every entry the fast way does not take.
    auto streamed = [&] {
        std::string bytes;
        const ZipStatus s = readAll(name, bytes);
        if (s != ZipStatus::Ok) return s;
        if (!out.allocate(bytes.size())) throw std::bad_alloc();
        std::copy(bytes.begin(), bytes.end(), out.data());
        return ZipStatus::Ok;
    };
    const zip_int64_t index = locate(name);
    if (index < 0) return ZipStatus::Missing;
    zip_stat_t st;
    zip_stat_init(&st);
    constexpr zip_uint64_t kNeeded = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD |
                                     ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
    // Only a plain deflated entry whose declared size is within the budget takes the fast way;
    // everything else, and every doubt on the way, is left to libzip as before.
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        (st.valid & kNeeded) != kNeeded || st.comp_method != ZIP_CM_DEFLATE ||
        st.encryption_method != ZIP_EM_NONE || st.size > budget_.remaining || st.size == 0)
        return streamed();
    std::string packed;
    zip_file_t* file =
        zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_COMPRESSED);
    if (!file) return streamed();
    packed.resize(st.comp_size);
    zip_uint64_t got = 0;
    while (got < st.comp_size) {
        const zip_int64_t n = zip_fread(file, packed.data() + got, st.comp_size - got);
        if (n <= 0) break;
        got += static_cast<zip_uint64_t>(n);
    }
    zip_fclose(file);
    Decompressor inflater;
    if (got != st.comp_size || !inflater.d || !out.allocate(st.size)) return streamed();
    std::size_t actual = 0;
    const libdeflate_result r = libdeflate_deflate_decompress(
        inflater.d, packed.data(), packed.size(), out.data(), out.size(), &actual);
    if (r != LIBDEFLATE_SUCCESS || actual != st.size ||
        libdeflate_crc32(0, out.data(), out.size()) != st.crc)
        return streamed();
    if (!budget_.take(st.size)) return ZipStatus::TooLarge;
    return ZipStatus::Ok;
}

} // namespace kol::workbook
