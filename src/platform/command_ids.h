#pragma once
// Command identifiers of the menus and toolbars. The application, the main frame and the
// child frames dispatch on these numbers, so one menu item means the same command in
// every mode.
namespace CommandId {
inline constexpr int kNewDesign = 32771;
inline constexpr int kOpenDesign = 32772;
inline constexpr int kOpenCapture = 32798;
inline constexpr int kOpenScreenLayout = 32802;
inline constexpr int kHelpContents = 32809;
inline constexpr int kAccessBar = 32811;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
// The capture frame's own commands.
inline constexpr int kPrintFormat = 32799;
inline constexpr int kCloseFrame = 32800;
inline constexpr int kClearCapture = 32801;
inline constexpr int kMargins = 32810;
inline constexpr int kSaveCapture = 32814;
inline constexpr int kSaveCaptureAs = 32815;
inline constexpr int kOpenCaptured = 32816;
inline constexpr int kToolbar = 59392;
// The format design frame's own commands.
inline constexpr int kSaveDesign = 32773;
inline constexpr int kSaveDesignAs = 32774;
inline constexpr int kCloseDesign = 32775;
inline constexpr int kSnapMillimetre = 32776;
inline constexpr int kInsertTextlineVar = 32777;
inline constexpr int kInsertParrafoVar = 32778;
inline constexpr int kInsertCuadrosVar = 32779;
inline constexpr int kInsertMarcaVar = 32780;
inline constexpr int kInsertGrid = 32781;
inline constexpr int kInsertConsText = 32782;
inline constexpr int kInsertConsParrafo = 32783;
inline constexpr int kInsertLinea = 32784;
inline constexpr int kInsertRectangulo = 32785;
inline constexpr int kFont = 32787;
inline constexpr int kSnapCentimetre = 32788;
inline constexpr int kProperties = 32789;
inline constexpr int kSelectTool = 32790;
inline constexpr int kColor = 32791;
inline constexpr int kAlignLeft = 32792;
inline constexpr int kAlignCenter = 32793;
inline constexpr int kAlignRight = 32794;
inline constexpr int kDeleteElement = 32795;
inline constexpr int kLineHorizontal = 32796;
inline constexpr int kLineVertical = 32797;
inline constexpr int kInsertEtiqueta = 32812;
inline constexpr int kResetCaptureScreen = 32813;
// The screen layout frame's own commands.
inline constexpr int kSaveLayout = 32803;
inline constexpr int kCloseLayout = 32804;
inline constexpr int kCaptionAbove = 32805;
inline constexpr int kCaptionSide = 32806;
inline constexpr int kCaptureOrder = 32807;
// Undo and redo of the designers' changes to a format.
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
// Commands beyond the classic menus: the scanned form under the design, the print
// preview, the calibration sheet and batch printing from a spreadsheet.
inline constexpr int kScanBackground = 33001;
inline constexpr int kRemoveScanBackground = 33002;
inline constexpr int kScanFade = 33003;
inline constexpr int kPrintPreview = 33010;
inline constexpr int kCalibrationSheet = 33011;
inline constexpr int kBatchPrint = 33012;
// Pictures and barcodes on the form.
inline constexpr int kInsertImagen = 33020;
inline constexpr int kInsertCodigoBarras = 33021;
// The designers' editing beyond the classic menus: the clipboard, several selected,
// arranging, the keys that move and size, and the zoom of the design page.
inline constexpr int kCut = 33201;
inline constexpr int kCopy = 33202;
inline constexpr int kPaste = 33203;
inline constexpr int kDuplicate = 33204;
inline constexpr int kSelectAll = 33205;
inline constexpr int kNextElement = 33206;
inline constexpr int kPreviousElement = 33207;
inline constexpr int kZoomIn = 33210;
inline constexpr int kZoomOut = 33211;
inline constexpr int kZoomActual = 33212;
inline constexpr int kZoomFitWindow = 33213;
inline constexpr int kZoomPageWidth = 33214;
inline constexpr int kAlignLefts = 33220;
inline constexpr int kAlignRights = 33221;
inline constexpr int kAlignTops = 33222;
inline constexpr int kAlignBottoms = 33223;
inline constexpr int kAlignCentresHorizontally = 33224;
inline constexpr int kAlignCentresVertically = 33225;
inline constexpr int kDistributeHorizontally = 33226;
inline constexpr int kDistributeVertically = 33227;
inline constexpr int kSameWidth = 33228;
inline constexpr int kSameHeight = 33229;
inline constexpr int kMoveLeft = 33230;
inline constexpr int kMoveRight = 33231;
inline constexpr int kMoveUp = 33232;
inline constexpr int kMoveDown = 33233;
inline constexpr int kWiden = 33234;
inline constexpr int kNarrow = 33235;
inline constexpr int kTaller = 33236;
inline constexpr int kShorter = 33237;
}  // namespace CommandId

// Resource numbers of the three modes: they select each child frame's menu and icon.
enum class FrameMode { Design = 130, Capture = 144, ScreenLayout = 148 };
