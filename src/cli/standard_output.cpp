#include "cli/standard_output.h"

#include "text/cp932.h"

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace kol {

IoStatus writeToStdout(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return IoStatus::failure(errno);
        if (n == 0) return IoStatus::failure(EIO);
        done += static_cast<std::size_t>(n);
    }
    return IoStatus::success();
}

void widenStdoutPipe() {
    (void)::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
}

int reportStdoutFailure(IoStatus status) {
    std::cerr << "kolumbra-cli: "
              << cp932::toUtf8(sj("標準出力に書き込めませんでした。") + ioReason(status.error))
              << '\n';
    return 1;
}

} // namespace kol
