// The environment definition window's model: the sign form of COBOL ZONE and PACK fields in
// binary output, kept in the settings as Cmb_ZoneSign.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

#include <string>

namespace kol {

class TFm_CsvEtc {
public:
    // `zoneSign` is the stored setting; only a confirmed Btn_UpdateClick changes it.
    TFm_CsvEtc(Prompts& prompts, int& zoneSign);

    void FormCreate(); // run by the constructor
    void Btn_UpdateClick();
    void Btn_CloseClick();
    void Mn_ExitClick();

    std::string Caption;
    std::string PageCaption, GroupCaption;
    Label Lab_ZonePack, Lab_SignForm;
    Combo Cmb_ZoneSign;
    Button Btn_Update, Btn_Close;
    MenuItem Mn_File, Mn_Exit;
    bool Closed = false; // a close was asked for; the window closes itself

private:
    Prompts& prompts_;
    int& zoneSign_;
};

} // namespace kol
