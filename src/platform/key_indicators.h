#pragma once
// The status bar panes every mode shows at its right end: "MAY", "NUM" and "DESP".
class QStatusBar;

// Adds the three key indicator panes. They stay greyed: the state of the lock keys
// cannot be read in a portable way, and a pane that guessed wrong would mislead.
void AddKeyIndicatorPanes(QStatusBar* bar);
