#pragma once
// The access bar's contents: the button that creates a new format, the last four formats
// used, the drive and folder tree, a preview of the chosen format (its title and a small
// picture of it) and the three buttons that open the chosen format in a mode.
//
// The dialog remembers where the format was chosen: nowhere, in the recent list or in
// the tree. Every open button uses and forgets it, so pressing a button twice opens the
// format once.
#include <QImage>
#include <QString>
#include <QWidget>

#include "platform/command_ids.h"

class CFlatIconButton;
class CShellTree;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;

class CAccessDialog : public QWidget {
    Q_OBJECT
public:
    enum class Source { None = 0, RecentList = 1, Tree = 2 };

    // Control ids of the dialog's controls, kept as object names.
    static constexpr int kRecentListId = 1029;
    static constexpr int kTreeId = 1030;
    static constexpr int kOpenDesignId = 1032;
    static constexpr int kOpenScreenLayoutId = 1033;
    static constexpr int kOpenCaptureId = 1034;
    static constexpr int kNewFormatId = 1035;
    static constexpr int kPreviewId = 1036;
    // Each recent item holds its whole path here; its text shows the name first.
    static constexpr int kPathRole = Qt::UserRole + 1;

    // The settings store is lent: the recent list is read from it at every refresh.
    explicit CAccessDialog(SettingsStore& settings, QWidget* parent = nullptr);

    // Reads "Last1".."Last4" again and shows the non-empty ones in that order.
    void FillRecentList();

    Source SelectionSource() const { return m_source; }
    // The format chosen in the list or the tree, or empty when none is.
    QString ChosenPath() const;
    // The choice is used: a second press of a button does not open it again.
    void ForgetChoice();
    QString PreviewText() const;
    // The picture of the chosen format (null when nothing is previewed).
    const QImage& PreviewPicture() const { return m_picture; }
    QTreeWidget* RecentList() const { return m_list; }
    CShellTree* Tree() const { return m_tree; }
    CFlatIconButton* Button(int id) const;

signals:
    // An open button was pressed: the application opens the chosen format in `mode`
    // (ChosenPath, or else the active window's format, or else it asks).
    void openRequested(FrameMode mode);
    void newFormatRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnListChosen();
    void OnTreeChosen(const QString& path);
    void OnOpen(FrameMode mode);
    // Shows the title and picture of the format at `path`; false when it cannot be read
    // (the preview then says why).
    bool Preview(const QString& path);
    void ClearPreview();

    SettingsStore& m_settings;
    QTreeWidget* m_list;
    QPlainTextEdit* m_preview;
    QLabel* m_pictureLabel;
    CShellTree* m_tree;
    CFlatIconButton* m_newButton;
    CFlatIconButton* m_openDesign;
    CFlatIconButton* m_openScreenLayout;
    CFlatIconButton* m_openCapture;
    Source m_source = Source::None;
    QImage m_picture;
};
