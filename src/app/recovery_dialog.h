#pragma once
// The question at start-up when work was left unsaved by a run that did not end
// normally: one list of every copy (mode, file, time) and three answers.
#include <QDialog>
#include <vector>

#include "capture/recovery_store.h"

class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Recover, Discard, Later };

    RecoveryDialog(const std::vector<RecoveryStore::LeftCopy>& copies, QWidget* parent = nullptr);
    // Shows the dialog; closing it any other way leaves the decision for later.
    Choice Ask();

    // The text of a copy's file column: the file it came from, "(nuevo)" for a new
    // format; a capture names its captured-data file (if any) and its format.
    static QString FileText(const RecoveryCopy& copy);

private:
    Choice m_choice = Choice::Later;
};
