#include "table/io_status.h"

#include "text/cp932.h"
#include "text/paths.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace kol {

std::string ioReason(int error) {
    switch (error) {
    case ENOSPC:
        return sj("ディスクの空き容量が足りません。");
    case EDQUOT:
        return sj("ディスクの使用量の上限を超えました。");
    case EACCES:
    case EPERM:
        return sj("アクセスが許可されていません（読み取り専用のファイルまたはフォルダーです）。");
    case ENODEV:
        return sj("通常のファイルではありません（装置やソケットなど）。");
    case EROFS:
        return sj("読み取り専用のドライブです。");
    case ENOENT:
    case ENOTDIR:
        return sj("フォルダーが見つかりません。");
    case EISDIR:
        return sj("同じ名前のフォルダーがあります。");
    case ENAMETOOLONG:
        return sj("ファイル名が長すぎます。");
    case EIO:
        return sj("読み書きの途中で装置のエラーが起きました。");
    case EFBIG:
        return sj("ファイルが大きすぎます。");
    case EOVERFLOW:
        return sj("行数が多すぎます（表に読み込める行数を超えています）。");
    case ENOMEM:
        return sj("メモリーが足りません。");
    case ELOOP:
        return sj("シンボリックリンクが循環しています。");
    case EPIPE:
        return sj("書き込み先のパイプが閉じられています。");
    case kChangedWhileReading:
        return sj("読み込みの途中でファイルがほかのプログラムに変更されました（短くされました）。");
    default:
        return std::strerror(error);
    }
}

std::string readReason(const std::string& path, int error) {
    switch (error) {
    case ENOENT: {
        // open() says ENOENT for a missing file and for a missing folder alike.
        std::string folder = directoryOf(path);
        if (folder.empty()) folder = ".";
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return sj("ファイルがありません。");
        return ioReason(error);
    }
    case EACCES:
    case EPERM:
        return sj("ファイルを読み取る権限がありません。");
    default:
        return ioReason(error);
    }
}

namespace {
std::string detailLines(const std::string& path, const std::string& reason) {
    return sj("   PATH = ") + displayPath(path) + "\r\n" + sj("   理由 : ") + reason;
}
} // namespace

std::string ioFailureDetail(const std::string& path, IoStatus status) {
    return detailLines(path, ioReason(status.error));
}

std::string readFailureDetail(const std::string& path, int error) {
    return detailLines(path, readReason(path, IoStatus::failure(error).error));
}

} // namespace kol
