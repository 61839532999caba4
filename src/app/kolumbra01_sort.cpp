// Opening the sort window's two pages from the main window.
#include "app/kolumbra01.h"

namespace kol {

void TFm_Kolumbra01::Btn_SortClick() {
    host_.showSortWindow(false);
}

void TFm_Kolumbra01::Btn_ViewColClick() {
    host_.showSortWindow(true);
}

} // namespace kol
