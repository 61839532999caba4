#include "print/pdf_syntax.h"

#include <libdeflate.h>

namespace kol::print::pdf {

std::string deflate(std::string_view data) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(9);
    std::string out(libdeflate_zlib_compress_bound(c, data.size()), '\0');
    const std::size_t n =
        libdeflate_zlib_compress(c, data.data(), data.size(), out.data(), out.size());
    libdeflate_free_compressor(c);
    out.resize(n);
    return out;
}

} // namespace kol::print::pdf
