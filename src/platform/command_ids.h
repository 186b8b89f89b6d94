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
}  // namespace CommandId

// Resource numbers of the three modes: they select each child frame's menu and icon.
enum class FrameMode { Design = 130, Capture = 144, ScreenLayout = 148 };
