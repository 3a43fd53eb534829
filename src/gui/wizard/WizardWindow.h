#pragma once
// The main window: the stack of wizard pages (each page class in pages/), moving between
// sections, writing a page back into its record, and the commands of the menus and the left
// panel. The File menu's project commands are in ProjectCommands.cpp.

#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/settings/FavouriteLists.h"
#include "gui/sections/SectionHost.h"
#include "gui/wizard/StartupDecision.h"

#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
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

class ColourListWindow;
class ImageListWindow;
class LinkListWindow;

class WizardWindow : public QMainWindow, public SectionHost, public DecisionHost
{
    Q_OBJECT
public:
    // Page indices of the stack, in their fixed order; the help topic follows the index. The
    // section pages are in kind order: a kind's page is HeadingPage + its kind position.
    enum Page {
        IntroductionPage,
        TitlebarPage,
        BackgroundPage,
        SelectPage,
        HeadingPage,
        ParagraphPage,
        ImagePage,
        DividerPage,
        AnchorPage,
        ListPage,
        IndexPage,
        HTMLPage,
        PlaySoundPage,
        UnknownKindPage, // a record of a kind this program does not know
    };

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

    // Wizard buttons.
    void goNext();
    void goBack();
    void acceptSection();
    void editUserLabel();
    void showPageHelp();

    const Project &project() const { return m_project; }
    // True when the project differs from its state at the last load, save or new project.
    bool projectChanged() const { return !(m_project == m_savedProject); }
    const QString &projectFileName() const { return m_projectFileName; }
    const std::vector<std::string> &recentProjects() const { return m_recentProjects; }
    const PageOptions &pageOptions() const { return m_pageOptions; }
    // The two "&Tools" ticks, as the configuration holds them.
    void setPageOptions(const PageOptions &options);
    int visiblePage() const;

    void setSectionView(SectionView *view) { m_sectionView = view; }
    void setSectionManagerWindow(QWidget *window) { m_sectionManagerWindow = window; }

    // SectionHost
    std::vector<std::string> &sectionList() override { return m_project.sections; }
    int currentSection() const override { return m_currentSection; }
    void setCurrentSection(int position) override { m_currentSection = position; }
    void sectionListChanged() override;
    std::vector<std::string> &librarySections() override { return m_librarySections; }
    FavouriteLists &favouriteLists() override { return m_lists; }

    // DecisionHost
    std::vector<std::string> &recentProjectList() override { return m_recentProjects; }
    bool &decisionPending() override { return m_decisionPending; }
    DecisionBox &decisionBox() override { return *m_decide; }
    SelectionDialog &multiSelect() override { return *m_multiSelect; }
    QWidget *dialogParent() override { return this; }

    // Reads the configuration and list files; run just before the window is first shown.
    void loadConfiguration();
    // Starts the once-a-second timer whose first tick runs the start-up decision. The program
    // starts it as it shows the window; tests that build a window leave it off.
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

private:
    QWidget *buildLeftPanel();
    QWidget *buildPages();
    void buildMenus();

    void showRecord(const std::vector<std::string> &fields);
    void showProjectValues();
    bool loadProject(); // load steps; takes PendingProjectFile when set
    void setCaption();
    void refreshSectionManager();
    void selectManagerRow();

    void insertHeadCode();
    void toggleSectionManager();
    void uploadClick();
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
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_userLabel = nullptr;

    QAction *m_showDecisionBox = nullptr;

    bool m_decisionPending = true; // DecisionPending
    DecisionBox *m_decide = nullptr;
    SelectionDialog *m_multiSelect = nullptr;
    ColourListWindow *m_colourForm = nullptr;
    LinkListWindow *m_linkForm = nullptr;
    ImageListWindow *m_imageForm = nullptr;
    QTimer *m_timer = nullptr;
};

} // namespace stv
