#include "table/save_rows.h"

#include "table/row_writer.h"
#include "text/cp932.h"

namespace kol {

bool writeRowsOrReport(Prompts& prompts, BusyIndicator& busy, const StringGrid& grid,
                       unsigned char separator, const std::string& fileName) {
    IoStatus status;
    {
        BusyCursor cursor(busy); // not over the failure's message
        status = writeRowsToFile(grid, 1, grid.rowCount() - 1, separator, fileName);
    }
    if (!status) reportWriteFailure(prompts, fileName, status);
    return status.ok();
}

void reportWriteFailure(Prompts& prompts, const std::string& fileName, IoStatus status) {
    prompts.fail(sj("出力ファイルの作成に失敗しました。") + "\r\n\r\n" +
                 ioFailureDetail(fileName, status));
}

} // namespace kol
