#pragma once
// The installer's command identifiers: each image button carries one, and the window
// acts on the identifier, whichever button sent it.
namespace SetupCommand {
constexpr int kBrowse = 1172;    // Explorar, on the folder page
constexpr int kNext = 1174;      // Siguiente; OK in the folder dialog
constexpr int kCancel = 1175;    // Cancelar; Cancel in the folder dialog
constexpr int kFinish = 1176;    // Finalizar, once the files are installed
constexpr int kClose = 1154;     // the title strip's close button
constexpr int kMinimize = 1155;  // the title strip's minimize button
}  // namespace SetupCommand
