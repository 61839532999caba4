// Crossing between the program's CP932 texts and Qt's Unicode strings.
#pragma once

#include "text/cp932.h"

#include <QString>
#include <string>

namespace kol {

inline QString qs(const std::string& cp932Text) {
    std::u16string u = cp932::toUtf16(cp932Text);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

inline std::string fromQs(const QString& text) {
    return cp932::fromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
}

// Native paths are UTF-8 bytes here.
inline QString qpath(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}
inline std::string fromQpath(const QString& path) {
    return path.toUtf8().toStdString();
}

} // namespace kol
