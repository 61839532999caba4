// The print preview's model: the print copy, the cell scale, the page geometry for the printer,
// the layout with its progressive creation, the display scale and the paging. The Qt window
// (print_window.*) forwards every event here and mirrors the controls back.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"
#include "print/page_drawing.h"
#include "print/page_geometry.h"
#include "print/print_copy.h"
#include "print/print_layout.h"
#include "print/print_request.h"
#include "print/printer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kol::print {

struct PrintClockReading {
    std::string date; // "YYYY/MM/DD"
    std::string time; // "HH:NN:SS"
};

// What the model asks of its window.
class GridPrintHost {
public:
    virtual ~GridPrintHost() = default;
    // Metrics at 96 units per inch, the layout's units.
    virtual const FontMetrics& metrics() const = 0;
    // The scroll box's client area, in pixels.
    virtual int scrollBoxWidth() const = 0;
    virtual int scrollBoxHeight() const = 0;
    // A new white preview image of this size; false when it cannot be made (the old one stays).
    virtual bool makeImage(int width, int height) = 0;
    // Draws on the preview image, then shows it.
    virtual void paintImage(const std::function<void(Canvas&)>& draw) = 0;
    // The panel around the image, which sets the scroll box's ranges.
    virtual void setPanelSize(int width, int height) = 0;
    // The scroll box's positions and their ranges (0..range).
    virtual int scrollX() const = 0;
    virtual int scrollY() const = 0;
    virtual int scrollRangeX() const = 0;
    virtual int scrollRangeY() const = 0;
    virtual void setScroll(int x, int y) = 0;
    // Mirrors the controls and lets pending window events in (the stop button, the close box).
    virtual void processPending() = 0;
    virtual PrintClockReading now() const = 0;
    virtual void closeWindow() = 0;
    // Opens a file in the desktop's browser; false when none could be started.
    virtual bool openInBrowser(const std::string& path) {
        (void)path;
        return false;
    }
};

class TfrmGridPrint_01 {
public:
    // `request` stays the caller's; its settings are written back on closing.
    TfrmGridPrint_01(Prompts& prompts, GridPrintHost& host, PrinterService& printers,
                     PrintRequest& request);
    ~TfrmGridPrint_01();

    // Lifecycle.
    void FormShow();   // the first showing prepares everything
    void FormClose();  // stops a creation, writes the settings back
    void FormResize(); // the fit scale follows the window
    void mnExit1Click();

    // Creation and cell scale.
    void Btn_DataCreateClick();
    void Btn_CreateStopClick();
    void btnFontDwClick();
    void btnFontUpClick();
    void Cmb_CellWayChange();
    void Cmb_MgnUpChange();
    void Cmb_MgnLeftChange();

    // Display scale and paging.
    void Cmb_ScaleChange();
    void Cmb_ResetSclChange();
    void Btn_DispModeClick();
    void btnPageDwClick();
    void btnPageUpClick();
    void scrPageChange();
    void edtPageMinExit();
    void edtPageMaxExit();
    // Page fields take digits, Backspace and Escape; Enter validates (the window calls Exit).
    static bool PageFieldAccepts(char key);

    // Printing.
    void Btn_PrtSetClick();
    void Btn_PrintExecClick();
    void Btn_PrintStopClick();

    // Save menu: the print copy as CSV or as HTML, saved or opened in the browser.
    void Mn_SaveCsvClick();
    void Mn_SaveHtmlClick();
    void Mn_ExecHtmlClick();
    // The documents those commands write.
    std::string printDataCsv() const;
    std::string printDataHtml() const;

    // Views.
    void Mn_FixedCenterClick();
    void Mn_DataCenterClick();
    void Mn_TrimSpaceClick();
    void Mn_DateEditClick();
    void Mn_BreakColorClick();
    void Mn_KaraGyoColorClick();
    void Mn_KaraGyoBlackClick();
    void Mn_PrintRowNoClick();
    void Mn_PrintColNoClick();
    void Mn_PrintPathNameClick();
    void Mn_PrintFileNameClick();
    void Mn_PrintDateClick();
    void Mn_PrintPageClick();
    void btnGrayDwClick();
    void btnGrayUpClick();
    void Cmb_GrayChange();
    void Cmb_LineKindChange();

    // The preview image: drag scrolling and double-click paging. Pixel positions on the image.
    void imgPrnMouseDown(int x, int y);
    void imgPrnMouseMove(int x, int y, bool leftButton);
    void imgPrnMouseUp();
    void imgPrnDblClick();

    // Window state.
    std::string Caption;
    bool Closed = false;
    bool NoPrinter = false; // no printer at all: only File / 終了 stays
    bool Printing = false;  // pages go to the printer: the image is hidden, lblPrintMsg shows
    int ImageWidth = 0, ImageHeight = 0;
    int CurrentPage = 1;

    Panel pnlHed, grpCellRate, grpGray, grpPage, grpMargin, grpScale, grpPrinter;
    Button Btn_DataCreate, Btn_CreateStop, btnFontDw, btnFontUp, btnGrayDw, btnGrayUp, btnPageDw,
        btnPageUp, Btn_DispMode, Btn_PrtSet, Btn_PrintExec, Btn_PrintStop;
    Combo Cmb_CellWay, Cmb_MgnUp, Cmb_MgnLeft, Cmb_Gray, Cmb_LineKind, Cmb_Scale, Cmb_ResetScl;
    Label Lbl_CellScale, lblPrtInf, lblPrintMsg;
    Panel Lbl_CreateSts; // caption with its text and background colours
    std::string edtPageMin, edtPageMax;
    ScrollBar scrPage;
    MenuItem mnExit1, Mn_Save, Mn_SaveCsv, Mn_SaveHtmlMain, Mn_ExecHtml, Mn_SaveHtml, Mn_View,
        Mn_FixedCenter, Mn_DataCenter, Mn_TrimSpace, Mn_DateEdit, Mn_BreakColor, Mn_KaraGyoColor,
        Mn_KaraGyoBlack, Mn_View2, Mn_PrintRowNo, Mn_PrintColNo, Mn_PrintPathName, Mn_PrintFileName,
        Mn_PrintDate, Mn_PrintPage, Mn_RecCount;

    // For tests and the benchmark.
    const PrintLayout& layout() const { return layout_; }
    const PrintCopy& copy() const { return *copy_; }
    const PageGeometry& geometry() const { return geometry_; }
    double displayScale() const { return displayScale_; }
    int cellScale() const { return cellScale_; }
    int cellFontHeight() const { return cellFontHeight_; }
    // What every row height and column width is divided by before the layout.
    long double cellSizeFactor() const { return scaleFactor(); }
    bool creatingAll() const { return creatingAll_; }
    // Draws page n as the preview does, on any canvas.
    void drawPreviewPage(Canvas& canvas, int page) const;
    // Draws page n for the printer: in printer dots (the cells at 95 %), pen 3, no sheet or
    // paper edge; `metrics` measure in the printer's dots.
    void drawPrinterPage(Canvas& canvas, const FontMetrics& metrics, int page) const;

private:
    enum class PrepareMode {
        FirstShow,     // the number options are applied again after the first layout
        Fresh,         // scroll to the top-left
        KeepScroll,    // the preview stays where it was
        QuietTooLarge, // the caller handles a layout that does not fit
    };
    enum class TooLargeNotice { Shown, Silent };
    enum class CreationStatus { Creating, Needed, Done };
    enum class Running { None, Creation, Printing };

    bool table() const;
    bool allRowsCreated() const;
    void loadControls();
    void storeControls();
    bool readPrinterState();
    void prepare(PrepareMode how);
    void computeGeometry();
    CellSizeMode sizeMode() const;
    long double scaleFactor() const;
    CanvasFont cellFont() const;
    PrintTextOptions textOptions() const;
    void measureHeights(int endRow);
    void freshLayout();
    bool stopConfirmed();
    void showTooLarge();
    void setCreationStatus(CreationStatus status);
    void setRunning(Running what);
    bool confirmCellSizeChange();
    void stepCellScale(int direction);
    void printPages(int first, int last);
    void endPrinting();

    double scaleForIndex(int index) const;
    bool sizeImage(double s);
    void applyDisplayScale(bool keepScroll);
    PageOptions pageOptions() const;
    void drawPageOn(Canvas& canvas, const FontMetrics& metrics, int page, PageTarget target) const;
    void displayPage(int page, TooLargeNotice notice);
    void updateStatus(int page);
    void goToPage(int page);
    int pageFieldNumber(std::string& field) const;
    void redraw();
    void toggleAndRescale(MenuItem& item);
    static void toggleRadio(MenuItem& item, MenuItem& other);
    void setGrey(int level);
    std::string chooseExportFile(std::string& lastPath, const std::string& title, bool csv);
    // Writes an export; false, after telling the user, when it could not be written.
    bool writeOrTell(const std::string& path, const std::string& bytes);

    Prompts& prompts_;
    GridPrintHost& host_;
    PrinterService& printers_;
    PrintRequest& request_;
    PrintSettings& settings_;
    std::unique_ptr<PrintCopy> copy_;
    PrintLayout layout_;
    PageGeometry geometry_;
    PrinterReading printer_;
    PrintColours colours_;
    std::string printDate_, printTime_;
    double displayScale_ = 1;
    int cellScale_ = 100, manualCellScale_ = 100;
    int cellFontHeight_ = 0, baseFontHeight_ = 0;
    int sourceCharWidth_ = 0, sourceCharHeight_ = 0;
    int charWidth_ = 0, charHeight_ = 0; // "A" in the cell font
    int heightsKnown_ = 0; // rows 0..heightsKnown_ - 1 are measured from their texts
    int savedColourMode_ = 0, savedCellScale_ = 100;
    int cellWayIndex_ = 0;
    int lastScaleIndex_ = kScaleFitIndex, resetScaleIndex_ = 15, dispModeState_ = 1;
    bool firstShow_ = true;
    bool partialCreation_ = false;
    bool creatingAll_ = false;
    bool continue_ = false;
    bool printContinue_ = false;
    bool closing_ = false;
    bool tooLarge_ = false;
    bool dragging_ = false;
    bool pagingForward_ = true;
    int dragOriginX_ = 0, dragOriginY_ = 0;
};

} // namespace kol::print
