#include "print/headless_print_host.h"

#include <ctime>

namespace kol::print {

PrintClockReading HeadlessPrintHost::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%Y/%m/%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return {date, time};
}

} // namespace kol::print
