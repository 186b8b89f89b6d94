#pragma once
// The installer's one window: a 600 x 400 frameless window with its own title strip and
// a panel that shows, in turn, the extraction status, then the header band with the
// welcome, licence, destination folder and installation pages.
//
// Its children are made on its first paint; a start message posted from there takes the
// installer's data apart (the window shows what it is doing), after which the pages run
// on "Siguiente". There is no way back. The temporary files go when the window does.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "setup/install_files.h"
#include "setup/payload.h"
#include "setup/program_group.h"
#include "setup/ui/setup_panel.h"

class CFolderPage;
class CImageButton;
class CProgressPage;
class CSetupPage;
class CTitleStrip;
class Prompts;

// Where the installer's data comes from and where the installation registers itself.
struct SetupSource {
    std::string exePath;     // the executable the package is appended to
    std::string tempFolder;  // where the temporary files go
    MenuLocations menus;     // the desktop menus the program group goes into
};

class CSetupWindow : public QWidget {
    Q_OBJECT
public:
    enum class Stage { Extracting, ExtractFailed, Welcome, Licence, Folder, Installing, Finished, InstallFailed };

    static constexpr int kWidth = 600;
    static constexpr int kHeight = 400;

    CSetupWindow(Prompts& prompts, SetupSource source, QWidget* parent = nullptr);
    ~CSetupWindow() override;

    Stage CurrentStage() const { return m_stage; }
    const PayloadResult& Payload() const { return m_payload; }
    // The destination folder, with a leading "~/" already expanded.
    QString Folder() const { return m_folder; }
    const InstallReport& Report() const { return m_report; }

    CTitleStrip* TitleStrip() const { return m_title; }
    CStatusWindow* StatusWindow() const { return m_status; }
    CHeaderBand* HeaderBand() const { return m_header; }
    CSetupPage* Page() const { return m_page; }
    // The button with `commandId` that exists now, or null.
    CImageButton* Button(int commandId) const;

    // Why `folder` cannot receive the installation (a Spanish sentence), or empty when
    // it can (setup/destination_check.h; `neededBytes` 0 leaves out the room on the disk).
    static QString DestinationProblem(const QString& folder, const QString& productName, quint64 neededBytes = 0);
    // What the last page adds under "Instalación terminada": the clerk's changed files
    // that were kept with the new ones beside them, and what an earlier list named that
    // was left out. Empty when there is nothing to say.
    static QString InstallNotes(const InstallReport& report);

    static QString CancelQuestion() { return QStringLiteral("¿Está seguro de cancelar la instalación?"); }

signals:
    // Extraction or installation has ended (either way); tests wait on these.
    void extractionEnded(bool ok);
    void installationEnded(bool ok);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateChildren();
    void Start();
    void OnCommand(int commandId);
    void Next();
    void Cancel();
    void Browse();
    void Install();

    // Destroys the current page, then makes the next with `make` below the header band.
    CSetupPage* ShowPage(const std::function<CSetupPage*(QWidget* parent)>& make, Stage stage);
    CImageButton* AddButton(int commandId, const QString& caption, int rightOffset);
    void RemoveButton(int commandId);
    QString ProductName() const;

    Prompts& m_prompts;
    SetupSource m_source;
    PayloadResult m_payload;
    InstallReport m_report;
    QString m_folder;
    Stage m_stage = Stage::Extracting;
    bool m_painted = false;

    CTitleStrip* m_title = nullptr;
    CSetupPanel* m_panel = nullptr;
    QPointer<CStatusWindow> m_status;
    CHeaderBand* m_header = nullptr;
    CSetupPage* m_page = nullptr;
    QList<QPointer<CImageButton>> m_buttons;
};
