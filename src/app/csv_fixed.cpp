#include "app/csv_fixed.h"

#include "table/atomic_file.h"
#include "table/row_writer.h"
#include "table/save_rows.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cstdlib>

namespace kol {

namespace {
constexpr std::size_t kFlushBytes = 4u << 20;
const char* kFilter = "(*.csv)|*.csv|(*.csv; *.txt)|*.csv; *.txt|(*.txt)|*.txt|(*.*)|*.*";

std::string grouped(long long n) {
    return GroupThousands(std::to_string(n));
}

long long numberIn(const std::string& field) {
    std::string digits = DigitsOnly(field);
    if (digits.empty()) return 0;
    // More digits than a row count can have: the field is taken as "very large".
    if (digits.size() > 12) return 999999999999LL;
    return std::atoll(digits.c_str());
}
} // namespace

TFm_CsvFixed::TFm_CsvFixed(Prompts& prompts, CsvFixedHost& host, const StringGrid& source,
                           const TCsvFileInf& descriptor, int firstRow, int lastRow,
                           unsigned char separator, std::string programDir)
    : Caption("Kolumbra Print"), prompts_(prompts), host_(host), source_(source),
      descriptor_(descriptor), firstRow_(firstRow), lastRow_(lastRow), separator_(separator),
      programDir_(std::move(programDir)) {}

bool TFm_CsvFixed::WriteRows(const std::string& fileName) {
    return writeRowsOrReport(prompts_, host_, source_, separator_, fileName);
}

void TFm_CsvFixed::FormShow() {
    if (!firstShow_) return;
    firstShow_ = false;
    Lab_Title = sj("表示内容をＣＳＶ形式で出力します。");
    LastRecNo = source_.rowCount() - 1;
    Edt_RecNoMin = grouped(firstRow_ + 1);
    Edt_RecNoMax = grouped(std::min(LastRecNo, firstRow_ + lastRow_));
    Chk_LastRecNoCaption = sj("最終 Rec.No：") + grouped(LastRecNo);
}

void TFm_CsvFixed::Chk_LastRecNoClick() {
    Edt_RecNoMax = Chk_LastRecNo ? grouped(LastRecNo) : std::string();
}

void TFm_CsvFixed::Btn_ExecClick() {
    Btn_ExecEnabled = false;
    if (Edt_RecNoMax.empty()) Edt_RecNoMax = Edt_RecNoMin;
    long long low = numberIn(Edt_RecNoMin), high = numberIn(Edt_RecNoMax);
    if (high < low) std::swap(low, high);
    if (low == 0) low = 1;
    if (high == 0) high = 1;
    if (high > LastRecNo) high = LastRecNo;
    Edt_RecNoMin = grouped(low);
    Edt_RecNoMax = grouped(high);
    outputRange(static_cast<int>(std::min<long long>(low, LastRecNo + 1LL)),
                static_cast<int>(high));
    Btn_ExecEnabled = true;
}

std::string TFm_CsvFixed::defaultFileName() const {
    std::string name(Trim(descriptor_.FileName));
    if (!name.empty()) return changeExtension(name, "_02.csv");
    // The name is proposed as it is: upper-casing would name another file here.
    return joinPath(programDir_, "Kolumbra.csv");
}

void TFm_CsvFixed::outputRange(int first, int last) {
    FileDialogRequest request;
    request.title = sj("指定のファイル名で出力します。");
    request.filter = kFilter;
    request.directory = programDir_;
    request.fileName = defaultFileName();
    request.askOverwrite = true;
    std::string fileName = prompts_.saveFileName(request);
    if (fileName.empty()) return;

    std::string range = sj("     出力 Rec.No = ") + grouped(first) + sj("  ～ ") + grouped(last);
    std::string where = sj("     PATH = ") + displayPath(fileName) + "\r\n\r\n" + range;
    if (prompts_.ask(sj("内容をＣＳＶ形式で下記のファイルに出力します。\r\n\r\n") + where,
                     Buttons::YesNo) != Answer::Yes)
        return;

    BusyCursor busy(host_);
    AtomicFileWriter writer(fileName);
    IoStatus status = writer.open();
    std::string buffer;
    long long k = 0;
    for (int r = first; status && r <= last && r < source_.rowCount(); ++r) {
        if (++k % 1000 == 0) {
            Lab_OutRecNo = "Rec.No " + grouped(k) + sj(" まで終了");
            host_.repaintStatus();
        }
        appendRowLine(buffer, source_, r, separator_);
        if (buffer.size() >= kFlushBytes) {
            status = writer.write(buffer);
            buffer.clear();
        }
    }
    if (status) status = writer.write(buffer);
    if (status) status = writer.commit();
    if (!status) {
        reportWriteFailure(prompts_, fileName, status);
        return;
    }
    Lab_OutRecNo = "Rec.No " + grouped(last) + sj(" まで終了");
    if (last - first + 1 > 1000) {
        prompts_.inform(
            sj("★出力しました。\r\n\r\n出力行数が 1000行を超えているので出力内容の\r\n"
               "表示は行いませんが、内容をＣＳＶ形式で\r\n下記のファイルに出力しました。"
               "\r\n\r\n") +
            where);
    } else {
        host_.showDocumentFile(fileName, sj("★出力しました。 "));
    }
}

} // namespace kol
