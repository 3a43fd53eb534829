#pragma once
// The main window: the stack of wizard pages (each page class in pages/), moving between
// sections, writing a page back into its record, and the commands of the menus and the left
// panel. The File menu's project commands are in ProjectCommands.cpp, the Edit menu's undo and
// redo in EditCommands.cpp, autosave and recovery in RecoveryCommands.cpp.

#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/project/UndoHistory.h"
#include "core/settings/FavouriteLists.h"
#include "gui/sections/SectionHost.h"
#include "gui/wizard/StartupDecision.h"

#include <QMainWindow>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTimer;

namespace stv::pages
{
class BackgroundPage;
class SectionPage;
class SelectPage;
class TitleBarPage;
class UnknownKindPage;
} // namespace stv::pages

namespace stv
{

class Autosave;
class CheckWindow;
class ColourListWindow;
class FavouriteListWindow;
class ImageListWindow;
class LinkListWindow;
class LivePreview;
class PreviewPane;
struct PreviewSource;

class WizardWindow : public QMainWindow, public SectionHost, public DecisionHost
{
    Q_OBJECT
public:
    // Indices of the stack's pages, in their fixed order: the four fixed pages, then one
    // section page per kind in kind order, then the page for a record of a kind this program
    // does not know.
    enum PageIndex {
        IntroductionIndex,
        TitleBarIndex,
        BackgroundIndex,
        SelectIndex,
        FirstSectionIndex,
        UnknownKindIndex = FirstSectionIndex + KindCount,
    };
    static constexpr int sectionPageIndex(KindPos kind)
    {
        return FirstSectionIndex + static_cast<int>(kind);
    }

    explicit WizardWindow(QWidget *parent = nullptr);
    ~WizardWindow() override;

    // The wizard's two operations.
    void showCurrentSection() override;
    void storeCurrentPage() override;

    // The File commands.
    void newProject();
    void openProject();
    void saveProject();
    void saveProjectAs();
    // Load steps with PendingProjectFile set (command line, decision box, Open Previous).
    bool loadProjectFromPath(const QString &path) override;
    // Save steps for a path; an empty path runs the save-as steps.
    void saveProjectToPath(const QString &path);
    void openPrevious();
    void runStartupDecision(bool fromMenu);
    // The save-changes question; false when the command is to be abandoned.
    bool askSaveChanges();

    // The Edit commands: take back or do again the last change to the project.
    void undoChange();
    void redoChange();
    const UndoHistory &history() const { return m_history; }
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }

    // Offers the recovery files left by programs that ended without saving ("Recover Unsaved
    // Work"); true when one was recovered.
    bool offerRecovery();
    // Opens a recovered project bound to its original path and marked as changed.
    void recoverProject(Project project, const QString &path);
    Autosave &autosave() { return *m_autosave; }

    // Wizard buttons.
    void goNext();
    void goBack();
    void acceptSection();
    void editUserLabel();
    void showPageHelp();

    const Project &project() const { return m_project; }
    // True when the project differs from its state at the last load, save or new project, or
    // was recovered and not saved since.
    bool projectChanged() const { return m_recovered || !(m_project == m_savedProject); }
    const QString &projectFileName() const { return m_projectFileName; }
    const std::vector<std::string> &recentProjects() const { return m_recentProjects; }
    const PageOptions &pageOptions() const { return m_pageOptions; }
    // The "&Tools" ticks of the page, as the configuration and the settings hold them.
    void setPageOptions(const PageOptions &options);
    // "&Modern Page (fits phones)": the style of the pages from now on, kept in the settings.
    void choosePageStyle(PageStyle style);
    int visiblePage() const;

    // "Live &Preview" (F5): the page as it will be written, beside the wizard; whether it is
    // shown, its width and the width the page is laid out at are kept in the settings.
    void showLivePreview(bool on);
    bool livePreviewShown() const;
    PreviewPane *previewPane() const { return m_previewPane; }
    LivePreview *livePreview() const { return m_livePreview; }

    void setSectionView(SectionView *view) { m_sectionView = view; }
    void setSectionManagerWindow(QWidget *window) { m_sectionManagerWindow = window; }

    // SectionHost
    std::vector<std::string> &sectionList() override { return m_project.sections; }
    int currentSection() const override { return m_currentSection; }
    void setCurrentSection(int position) override { m_currentSection = position; }
    void sectionListChanged(const std::string &label) override;
    void focusPage(bool activate) override;
    std::vector<std::string> &librarySections() override { return m_librarySections; }
    FavouriteLists &favouriteLists() override { return m_lists; }
    void imageListChanged() override;

    // DecisionHost
    std::vector<std::string> &recentProjectList() override { return m_recentProjects; }
    bool &decisionPending() override { return m_decisionPending; }
    DecisionBox &decisionBox() override { return *m_decide; }
    SelectionDialog &multiSelect() override { return *m_multiSelect; }
    QWidget *dialogParent() override { return this; }

    // Reads the configuration and list files; run just before the window is first shown.
    void loadConfiguration();
    // Starts the once-a-second timer whose first tick offers left recovery files and then runs
    // the start-up decision, and the autosave timer. The program starts them as it shows the
    // window; tests that build a window leave them off.
    void startDecisionTimer();
    // A project opened from the command line needs no start-up decision.
    void skipStartupDecision() { m_decisionPending = false; }

signals:
    // The window has closed for good (the program ends).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Writes the configuration and list files as the program ends.
    virtual void saveConfiguration();
    // Writes one list file as soon as its list window changed it.
    void saveListFile(FavouriteListWindow *form, const char *listFile);

private:
    QWidget *buildLeftPanel();
    QWidget *buildPages();
    void buildMenus();
    // The wizard and the preview pane side by side (PreviewCommands.cpp).
    QWidget *buildPreview(QWidget *wizard);
    PreviewSource previewSource() const;
    void loadPreviewSettings();
    void savePreviewSettings();

    void showRecord(const std::vector<std::string> &fields);
    // The record a page store would write now; nothing when the page stores no record.
    std::optional<std::string> pageRecord() const;
    // Stores the page only when it was edited since it was shown: a record that does not come
    // back from its page unchanged is not rewritten by Undo or Redo alone.
    void storeEditedPage();
    // Records the change since the last step as one undo step named `label`.
    void recordChange(const std::string &label);
    // Shows the project after an undo or redo; `position` is the first section it touched.
    void showHistoryStep(int position);
    void updateEditActions();
    // The project in the state autosave writes: with the current page stored.
    std::optional<Project> autosaveSnapshot() const;
    // The project was saved, loaded or started anew: nothing to undo, no recovery file.
    void projectReplaced();
    void startupTick();
    void showProjectValues();
    // A project just loaded or recovered from `path`: its values, its first page, the caption.
    void showOpenedProject(const QString &path);
    bool loadProject(); // load steps; takes PendingProjectFile when set
    // The open project's file changed: the caption and where file dialogs start follow.
    void setProjectFileName(const QString &path);
    void setCaption();
    void refreshSectionManager();
    void selectManagerRow();

    void insertHeadCode();
    void toggleSectionManager();
    void uploadClick();
    void publishClick();
    void checkMyPageClick();
    void createWebPageClick();
    void previewClick();

    Project m_project;
    Project m_savedProject; // the project as last loaded, saved or newly started
    int m_currentSection = IntroductionPosition;
    QString m_projectFileName;
    QString m_pendingProjectFile;
    std::vector<std::string> m_recentProjects;
    std::vector<std::string> m_librarySections;
    FavouriteLists m_lists;
    PageOptions m_pageOptions;
    SectionView *m_sectionView = nullptr;
    QWidget *m_sectionManagerWindow = nullptr;

    QStackedWidget *m_pages = nullptr;
    pages::TitleBarPage *m_titleBarPage = nullptr;
    pages::BackgroundPage *m_backgroundPage = nullptr;
    pages::SelectPage *m_selectPage = nullptr;
    std::array<pages::SectionPage *, KindCount> m_sectionPages {}; // by kind position
    pages::UnknownKindPage *m_unknownKindPage = nullptr;
    QLabel *m_labelPanel = nullptr;
    QLabel *m_positionPanel = nullptr;
    QLabel *m_autosavePanel = nullptr; // a failed autosave, until one works again
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_userLabel = nullptr;

    QAction *m_showDecisionBox = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QAction *m_previewAction = nullptr;
    QSplitter *m_splitter = nullptr;
    PreviewPane *m_previewPane = nullptr;
    LivePreview *m_livePreview = nullptr;
    int m_previewWidth = 480; // the pane's width in pixels while it is hidden

    UndoHistory m_history;
    Autosave *m_autosave = nullptr;
    std::optional<std::string> m_shownPage; // pageRecord() as the page was shown
    bool m_recovered = false; // a recovered project counts as changed until saved
    bool m_recoveryPending = true; // the first timer tick offers left recovery files

    bool m_decisionPending = true; // DecisionPending
    DecisionBox *m_decide = nullptr;
    SelectionDialog *m_multiSelect = nullptr;
    ColourListWindow *m_colourForm = nullptr;
    LinkListWindow *m_linkForm = nullptr;
    ImageListWindow *m_imageForm = nullptr;
    CheckWindow *m_checkWindow = nullptr; // made on first use
    QTimer *m_timer = nullptr;
};

} // namespace stv
