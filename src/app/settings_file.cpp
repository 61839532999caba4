#include "app/settings_file.h"

#include "table/atomic_file.h"
#include "table/source_text.h"
#include "text/text_utils.h"

#include <charconv>

namespace kol {

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool MatchKeyLine(std::string_view line, std::string_view key, std::string& value) {
    std::string wanted = upperAscii(Trim(key));
    std::string upper = upperAscii(line);
    if (upper.find(wanted) == std::string::npos) return false;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || upper.compare(0, eq, wanted) != 0 || eq != wanted.size())
        return false;
    value = std::string(Trim(line.substr(eq + 1)));
    return true;
}

namespace {

enum class Kind { Text, Number, Switch };

struct Key {
    const char* name;
    Kind kind;
    std::string SettingsRecord::*text;
    int SettingsRecord::*number;
};

constexpr Key text(const char* name, std::string SettingsRecord::*member) {
    return {name, Kind::Text, member, nullptr};
}
constexpr Key number(const char* name, int SettingsRecord::*member) {
    return {name, Kind::Number, nullptr, member};
}
constexpr Key flag(const char* name, int SettingsRecord::*member) {
    return {name, Kind::Switch, nullptr, member};
}

constexpr std::string_view kBoundsKey = "Vex_Kolumbra";
constexpr std::string_view kFindWordKey = "FindWord";

// The keys after the window bounds, in the order they are written.
using R = SettingsRecord;
using print::kBrowsePrintKeyPrefix;
using print::kGridPrintKeyPrefix;
using print::PrintFieldKind;
using print::PrintSettings;
using print::PrintSettingsField;
using print::printSettingsFields;
constexpr Key kKeys[] = {
    text("Path_EditFile", &R::Path_EditFile),
    text("Path_ExcelFile", &R::Path_ExcelFile),
    text("Path_SelectFile", &R::Path_SelectFile),
    text("Path_InsertFile", &R::Path_InsertFile),
    number("WinSta", &R::WinSta),
    flag("FixedCenter", &R::FixedCenter),
    flag("DataCenter", &R::DataCenter),
    flag("TrimSpace", &R::TrimSpace),
    flag("DateEdit", &R::DateEdit),
    flag("BreakColor", &R::BreakColor),
    flag("KaraGyoColor", &R::KaraGyoColor),
    flag("KaraGyoBlack", &R::KaraGyoBlack),
    flag("ConfPaste", &R::ConfPaste),
    flag("ConfClear", &R::ConfClear),
    flag("ConfInsert", &R::ConfInsert),
    flag("ConfCopy", &R::ConfCopy),
    flag("ConfMove", &R::ConfMove),
    flag("ConfDelete", &R::ConfDelete),
    flag("FixedRowSEQ", &R::FixedRowSEQ),
    number("Cmb_FixedKeta", &R::Cmb_FixedKeta),
    number("Cmb_FixedCol", &R::Cmb_FixedCol),
    number("Cmb_FixedRows", &R::Cmb_FixedRows),
    number("Cmb_KomRow", &R::Cmb_KomRow),
    number("Cmb_LimColLen", &R::Cmb_LimColLen),
    number("Cmb_Fold", &R::Cmb_Fold),
    number("Cmb_CrNext", &R::Cmb_CrNext),
    number("Cmb_Bunri", &R::Cmb_Bunri),
    number("Cmb_ZoneSign", &R::Cmb_ZoneSign),
    number("Cmb_VertKomKeta", &R::Cmb_VertKomKeta),
};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// A whole decimal integer that fits an int; anything else is refused.
bool toInt(std::string_view text, int& out) {
    bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-')) return false;
    int n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = n;
    return true;
}

// Top,Left,Width,Height; pieces after the fourth are not used, missing ones count as 0. One
// piece that is not an integer keeps the bounds as they were, so no window gets half of them.
void readBounds(std::string_view value, WindowBoundsRec& bounds) {
    int pieces[4] = {0, 0, 0, 0};
    std::size_t start = 0;
    for (int i = 0; i < 4 && start <= value.size(); ++i) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string_view::npos) comma = value.size();
        if (!toInt(Trim(value.substr(start, comma - start)), pieces[i])) return;
        start = comma + 1;
    }
    bounds = {pieces[0], pieces[1], pieces[2], pieces[3]};
}

// The slot number of a FindWord name ("FindWord0" … "FindWord100", no leading zeros), or -1.
int findWordSlot(std::string_view name) {
    if (name.size() <= kFindWordKey.size() ||
        !sameIgnoringCase(name.substr(0, kFindWordKey.size()), kFindWordKey))
        return -1;
    std::string_view digits = name.substr(kFindWordKey.size());
    if (digits.size() > 3 || (digits.size() > 1 && digits.front() == '0')) return -1;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n < static_cast<int>(SettingsRecord().FindWord.size()) ? n : -1;
}

// A print settings line: `name` is the prefix and a field's key. A value that cannot be read
// keeps what the field had, as for the other numbers.
bool readPrintLine(std::string_view line, std::string_view name, std::string_view prefix,
                   PrintSettings& settings) {
    if (name.size() <= prefix.size() || !sameIgnoringCase(name.substr(0, prefix.size()), prefix))
        return false;
    std::string_view suffix = name.substr(prefix.size());
    for (const PrintSettingsField& field : printSettingsFields()) {
        if (!sameIgnoringCase(suffix, field.suffix)) continue;
        std::string value;
        if (!MatchKeyLine(line, name, value)) return false;
        if (field.kind == PrintFieldKind::Text) {
            settings.*field.text = std::move(value);
        } else if (int n = 0; toInt(value, n)) {
            if (field.kind == PrintFieldKind::Flag)
                settings.*field.flag = n != 0;
            else
                settings.*field.number = n;
        }
        return true;
    }
    return false;
}

// True when the line set a key of the record (also when its value could not be read).
bool readLine(std::string_view line, SettingsRecord& rec) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    std::string_view name = line.substr(0, eq);
    std::string value;
    if (sameIgnoringCase(name, kBoundsKey)) {
        if (!MatchKeyLine(line, kBoundsKey, value)) return false;
        readBounds(value, rec.Vex_Kolumbra);
        return true;
    }
    for (const Key& key : kKeys) {
        if (!sameIgnoringCase(name, key.name)) continue;
        if (!MatchKeyLine(line, key.name, value)) return false;
        int n = 0;
        if (key.kind == Kind::Text)
            rec.*key.text = std::move(value);
        else if (toInt(value, n))
            rec.*key.number = key.kind == Kind::Switch ? (n != 0 ? 1 : 0) : n;
        return true;
    }
    int slot = findWordSlot(name);
    if (slot >= 0) {
        if (!MatchKeyLine(line, name, value)) return false;
        rec.FindWord[static_cast<std::size_t>(slot)] = std::move(value);
        return true;
    }
    return readPrintLine(line, name, kGridPrintKeyPrefix, rec.GridPrint) ||
           readPrintLine(line, name, kBrowsePrintKeyPrefix, rec.BrowsePrint);
}

// A value holding a line break or a NUL would end its line (or the whole file) early on the
// next read and could even set another key, so those bytes are written as blanks. None of
// them can be the trail byte of a double-byte character.
void appendLine(std::string& out, std::string_view line) {
    std::size_t from = out.size();
    out += line;
    for (std::size_t i = from; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n' || out[i] == '\0') out[i] = ' ';
    out += "\r\n";
}

void appendKey(std::string& out, std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    appendLine(out, line);
}

void appendPrintKeys(std::string& out, std::string_view prefix, const PrintSettings& settings) {
    for (const PrintSettingsField& field : printSettingsFields()) {
        std::string key = std::string(prefix) + std::string(field.suffix);
        if (field.kind == PrintFieldKind::Text)
            appendKey(out, key, settings.*field.text);
        else if (field.kind == PrintFieldKind::Flag)
            appendKey(out, key, settings.*field.flag ? "1" : "0");
        else
            appendKey(out, key, std::to_string(settings.*field.number));
    }
}

} // namespace

bool ReadSettings(const std::string& path, SettingsRecord& rec,
                  std::vector<std::string>* unmatched) {
    SourceText source;
    if (SourceText::readFile(path, source) != SourceText::ReadStatus::Ok) return false;
    // A damaged file may hold NUL bytes; the lines after one still count (a NUL inside a kept
    // line is written back as a blank).
    ReadSettingsText(source.bytes(), rec, unmatched);
    return true;
}

void ReadSettingsText(std::string_view text, SettingsRecord& rec,
                      std::vector<std::string>* unmatched) {
    LineCursor lines(text);
    while (!lines.atEnd()) {
        std::string_view line = lines.next();
        if (!readLine(line, rec) && unmatched) unmatched->emplace_back(line);
    }
}

IoStatus WriteSettings(const std::string& path, const SettingsRecord& rec,
                       const std::vector<std::string>& extraLines) {
    return writeFileAtomically(path, SettingsText(rec, extraLines));
}

std::string SettingsText(const SettingsRecord& rec, const std::vector<std::string>& extraLines) {
    std::string out;
    const WindowBoundsRec& b = rec.Vex_Kolumbra;
    appendKey(out, kBoundsKey,
              std::to_string(b.Top) + ',' + std::to_string(b.Left) + ',' + std::to_string(b.Width) +
                  ',' + std::to_string(b.Height));
    for (const Key& key : kKeys) {
        if (key.kind == Kind::Text)
            appendKey(out, key.name, rec.*key.text);
        else if (key.kind == Kind::Switch)
            appendKey(out, key.name, rec.*key.number != 0 ? "1" : "0");
        else
            appendKey(out, key.name, std::to_string(rec.*key.number));
    }
    // Every slot that holds a text, also after an empty one (a file may skip numbers).
    for (std::size_t n = 0; n < rec.FindWord.size(); ++n)
        if (!Trim(rec.FindWord[n]).empty())
            appendKey(out, std::string(kFindWordKey) + std::to_string(n), rec.FindWord[n]);
    appendPrintKeys(out, kGridPrintKeyPrefix, rec.GridPrint);
    appendPrintKeys(out, kBrowsePrintKeyPrefix, rec.BrowsePrint);
    for (const std::string& line : extraLines) appendLine(out, line);
    return out;
}

} // namespace kol
