#include "gen_table.h"

#include "text/cp932.h"

#include <cstdint>
#include <vector>

namespace kol::bench {

std::string generateTable(std::size_t lines, std::size_t fields) {
    const std::vector<std::string> words = {
        sj("東京都千代田区"),   sj("大阪府大阪市北区"), sj("山田太郎"), sj("佐藤花子"),
        sj("株式会社①商事"),    sj("ｶﾌﾞｼｷｶﾞｲｼｬ"),       sj("ﾔﾏﾀﾞﾀﾛｳ"),  sj("営業部　第二課"),
        sj("備考：至急～確認"), sj("ソフトウェア開発"), "ABC-123",      sj("表示能力"),
    };
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::string out;
    out.reserve(lines * fields * 12);
    char digits[16];
    for (std::size_t i = 0; i < lines; ++i) {
        for (std::size_t f = 0; f < fields; ++f) {
            if (f) out.push_back(',');
            std::uint64_t r = next();
            switch ((f + r) % 5) {
            case 0: // 8-digit date-like number
                snprintf(digits, sizeof digits, "%08u",
                         static_cast<unsigned>(20000101 + r % 291231));
                out += digits;
                break;
            case 1: // 6-digit number
                snprintf(digits, sizeof digits, "%06u", static_cast<unsigned>(r % 1000000));
                out += digits;
                break;
            case 2: // quoted field with a comma
                if (r % 4 == 0) {
                    out += '"';
                    out += words[r % words.size()];
                    out += ',';
                    out += words[(r >> 8) % words.size()];
                    out += '"';
                    break;
                }
                [[fallthrough]];
            default:
                out += words[r % words.size()];
            }
        }
        out += "\r\n";
    }
    return out;
}

} // namespace kol::bench
