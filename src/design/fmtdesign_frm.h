#pragma once
// CFmtdesignFrm: the format design mode's child frame. It holds the format being
// designed (elements, title, path) and its selection, reads and writes the file, owns
// the page view with its two rulers, the two toolbars, the status bar and the properties
// panel, and is the target of every design command. Each change to the format is
// recorded for undo, and the frame knows whether the format differs from its file.
#include <functional>
#include <optional>
#include <string>

#include "base/log_font.h"
#include "design/design_document.h"
#include "design/design_editor.h"
#include "design/design_scan.h"
#include "model/format_history.h"
#include "platform/child_frame.h"

class CFmtdesignView;
class CPropertiesBar;
class CRules;
class CRulerCornerView;
class QAction;
class QLabel;
class QToolBar;

// The dialogs the frame asks the clerk through; tests replace them.
struct DesignDialogs {
    // A path to open or to save to; empty when the clerk cancels.
    std::function<std::string(QWidget*)> openPath;
    std::function<std::string(QWidget*)> savePath;
    // The font dialog over a font record; nothing when cancelled.
    std::function<std::optional<LogFont>(QWidget*, const LogFont&)> font;
    // The colour dialog from a colour (0x00BBGGRR); nothing when cancelled.
    std::function<std::optional<uint32_t>(QWidget*, uint32_t)> colour;
    // A picture file (PNG, JPEG or SVG) to place on the format; empty when cancelled.
    std::function<std::string(QWidget*)> picturePath;
};
// The program's own dialogs.
DesignDialogs PlatformDesignDialogs();

class CFmtdesignFrm : public CChildFrame {
    Q_OBJECT
public:
    // The page extent the rulers graduate (0 to 40 cm) and their scale.
    static constexpr int kPageWidthUnits = 4000;
    static constexpr int kPageHeightUnits = 4000;
    static constexpr int kRulerScale = 1;

    static constexpr const char* kAskSaveChanges = "¿Desea guardar los cambios en %s?";
    // The question with `name` (a path, or "(nuevo)") in its place; the screen layout
    // asks the same.
    static std::string SaveChangesQuestion(const std::string& name);

    explicit CFmtdesignFrm(FrameHost& host, QWidget* parent = nullptr);
    ~CFmtdesignFrm() override;

    // --- The format ------------------------------------------------------------------
    const Format& GetFormat() const { return m_document.GetFormat(); }
    DesignDocument& Document() { return m_document; }
    CControles* Selection() const { return m_document.Selection(); }
    CDesignEditor& Editor() { return m_editor; }
    CFmtdesignView* View() const { return m_view; }
    // The scanned form shown under the page (never part of the format).
    DesignScan& ScanUnder() { return m_scan; }
    // The format differs from the file it was read from or last saved to (a new format:
    // from empty).
    bool IsModified() const;
    bool HasUnsavedChanges() const override { return IsModified(); }

    // --- Commands --------------------------------------------------------------------
    bool HandleCommand(int id) override;
    std::optional<CommandUiState> CommandState(int id) override;
    void ShowCommandPrompt(int id) override;
    // Asks whether to save a changed format; false when the clerk cancels or the save
    // fails.
    bool QueryClose() override;
    // The format as it stands while it differs from its file, with the path it came from.
    std::optional<RecoveryCopy> UnsavedWork() override;
    // The copy's format replaces the frame's, under the copy's path, marked as modified.
    bool RestoreWork(const RecoveryCopy& copy, std::string& message) override;

    // "Abrir formato...": the open dialog, then the file replaces this frame's format.
    void OpenFormat();
    // "Guardar formato" and "Guardar formato como...": true when the file was written.
    bool Save();
    bool SaveAs();
    void SetDialogs(DesignDialogs dialogs) { m_dialogs = std::move(dialogs); }

    // A key pressed in the page view: arrows move (with Alt: size) the selection, Tab
    // and Shift+Tab walk the elements, Supr deletes, Esc returns to the selection tool.
    // False for a key the view should handle as usual.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    // The page view's zoom changed: the rulers and the status bar follow it.
    void ZoomChanged(int percent);
    const QLabel* ZoomPane() const { return m_zoomPane; }
    // The arrow keys' step in page units: the snapping step (0.1 mm with snapping off),
    // or 1 mm with Shift.
    int KeyStep(bool shift) const;

    // Undo and redo of the last change to the format.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }

    // --- What the view and the panel call ------------------------------------------
    // Passes a report to the horizontal and then the vertical ruler.
    void ReportToRulers(QObject* sender, int code, int value);
    // Shows the selection (or the title) in the properties panel, when it exists.
    void RefreshPanel();
    void SetPositionText(const std::string& text);
    const QString& PositionText() const { return m_positionText; }
    // Records the format before a change; `GestureChanged` follows once the change is
    // made, `ChangeAbandoned` when it changed nothing after all.
    void BeginChange();
    void GestureChanged();
    void ChangeAbandoned();
    void Repaint();

    CRules* HorizontalRuler() const { return m_rulerH; }
    CRules* VerticalRuler() const { return m_rulerV; }
    CPropertiesBar* PropertiesBar() const { return m_panelBar; }
    QToolBar* DesignToolBar() const { return m_designBar; }
    QToolBar* FormatToolBar() const { return m_formatBar; }
    // The toolbar button of a command (nullptr when it has none).
    QAction* ToolbarAction(int id) const;

protected:
    Format& FrameFormat() override { return m_document.GetFormat(); }
    void FormatShown() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // The toolbar buttons follow the selection, the tool and the history.
    void UpdateCommandStates();

private:
    void BuildPanes();
    void BuildToolBars();
    void BuildStatusBar();
    // Commits an edit the panel still holds, so it lands before what comes next.
    void CommitPanelEdit();
    bool Edit(const std::function<bool()>& change);
    void BeginChange(const Format& before);
    void AfterReplace(const std::vector<int>& selectionIndices);
    bool AnySelected(const std::function<bool(const CControles&)>& test) const;
    bool WriteTo(const std::string& path);
    void ShowProperties();
    // Where the properties panel opens first: where the clerk last left it, or beside
    // the page view.
    QPoint PanelPlace() const;
    // A quiet note about the scanned form in the status bar (nothing for an empty text).
    void ShowScanMessage(const QString& text);
    void ChooseFont();
    void ChooseColour();
    // Asks for the picture the image tool places; false when cancelled or refused (the
    // clerk was told why).
    bool ChoosePictureToPlace();
    // The edit commands of fmtdesign_frm_edit.cpp: the clipboard, several selected,
    // the keys' moves and the zoom. False for a command they do not handle.
    bool HandleEditCommand(int id);
    std::optional<CommandUiState> EditCommandState(int id);
    void CopyToClipboard();
    bool PasteBytes(const QByteArray& bytes);
    void Moved(int id, bool shift);
    std::string CaptionName() const;
    void MarkSaved();

    DesignDocument m_document;
    FormatHistory m_history;
    CDesignEditor m_editor;
    DesignDialogs m_dialogs;
    DesignScan m_scan{[this] { Repaint(); }};

    // Undo level of the format as it stands and as the file holds it; the format is
    // unmodified while they agree. A clean level of -1 can no longer be reached.
    int m_level = 0;
    int m_cleanLevel = 0;

    CFmtdesignView* m_view = nullptr;
    CRules* m_rulerH = nullptr;
    CRules* m_rulerV = nullptr;
    CRulerCornerView* m_corner = nullptr;
    CPropertiesBar* m_panelBar = nullptr;
    QToolBar* m_designBar = nullptr;
    QToolBar* m_formatBar = nullptr;
    QLabel* m_readyLabel = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_positionPane = nullptr;
    QLabel* m_zoomPane = nullptr;
    QString m_positionText;
    bool m_wasMaximised = false;
    bool m_activationWatched = false;
    // The panel was hidden because another frame became active; it comes back with this one.
    bool m_panelWanted = false;
};
