#pragma once
// The main window: the wizard pages, moving between sections, writing a page back into its
// record, the text options of a paragraph and the project commands of the File menu.

#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"
#include "gui/sections/SectionHost.h"
#include "gui/wizard/StartupDecision.h"

#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSlider;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace stv
{

class ColourListWindow;
class ImageListWindow;
class LinkListWindow;
class LongTextEdit;

class WizardWindow : public QMainWindow, public SectionHost, public DecisionHost
{
    Q_OBJECT
public:
    // Page indices of the stack, in their fixed order; the help topic follows the index.
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
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Writes the configuration and list files as the program ends.
    virtual void saveConfiguration();

private:
    QWidget *buildLeftPanel();
    QWidget *buildPages();
    void buildMenus();
    QWidget *newPage(const QString &name, const QString &heading);
    QGroupBox *colourGroup(
        const QString &panelName, const QString &buttonName, QLabel *&panel, QWidget *parent);
    QWidget *buildIntroductionPage();
    QWidget *buildTitlebarPage();
    QWidget *buildBackgroundPage();
    QWidget *buildSelectPage();
    QWidget *buildHeadingPage();
    QWidget *buildParagraphPage();
    QWidget *buildImagePage();
    QWidget *buildDividerPage();
    QWidget *buildAnchorPage();
    QWidget *buildListPage();
    QWidget *buildIndexPage();
    QWidget *buildHTMLPage();
    QWidget *buildPlaySoundPage();
    QWidget *buildUnknownKindPage();

    void showRecord(const std::vector<std::string> &f);
    std::vector<std::string> pageFields(int page) const;
    void showProjectValues();
    bool loadProject(); // load steps; takes PendingProjectFile when set
    void setCaption();
    void refreshSectionManager();
    void selectManagerRow();

    // Paragraph text options.
    void showTextOptions();
    void memoPreview();
    void pickParaColour();
    void urlLinkClick();
    void emailLinkClick();
    void anchorLinkClick();
    void zoomParagraph();
    void zoomHTML();
    void insertHeadCode();

    void pickSwatchColour(QWidget *swatch);
    void chooseFile(QLineEdit *edit, const QString &title, const QString &filter);
    void playSound();
    void launchLink(const QString &target);
    void toggleSectionManager();
    void uploadClick();
    void createWebPageClick();
    void previewClick();

    Project m_project;
    Project m_savedProject; // the project as last loaded, saved or newly started
    int m_currentSection = -3;
    QString m_projectFileName;
    QString m_pendingProjectFile;
    std::vector<std::string> m_recentProjects;
    std::vector<std::string> m_librarySections;
    FavouriteLists m_lists;
    PageOptions m_pageOptions;
    SectionView *m_sectionView = nullptr;
    QWidget *m_sectionManagerWindow = nullptr;

    QStackedWidget *m_pages = nullptr;
    QLabel *m_labelPanel = nullptr;
    QLabel *m_positionPanel = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_userLabel = nullptr;
    QLabel *m_unknownText = nullptr;

    // Fixed pages.
    QLineEdit *m_titleEdit = nullptr;
    QPushButton *m_colourPanel = nullptr;
    QLineEdit *m_backgroundEdit = nullptr;
    QCheckBox *m_importBG = nullptr;
    QListWidget *m_selectBox = nullptr;

    // Heading.
    QLineEdit *m_headingEdit = nullptr;
    QButtonGroup *m_headSize = nullptr;
    std::array<QCheckBox *, 4> m_headStyle {};
    QButtonGroup *m_headAlign = nullptr;
    QLabel *m_headColour = nullptr;

    // Paragraph.
    LongTextEdit *m_paraMemo = nullptr;
    QMenu *m_paraPop = nullptr;
    QActionGroup *m_paraSize = nullptr;
    std::array<QAction *, 4> m_paraStyle {};
    QActionGroup *m_paraAlign = nullptr;
    QLabel *m_paraHint = nullptr;
    int m_paraColour = 0;
    QCheckBox *m_followCB = nullptr;
    QLabel *m_linkLabel = nullptr;

    // Image.
    QLineEdit *m_imageEdit = nullptr;
    QButtonGroup *m_imagePosition = nullptr;
    QLineEdit *m_xEdit = nullptr;
    QLineEdit *m_yEdit = nullptr;
    QLineEdit *m_altText = nullptr;
    QButtonGroup *m_linkType = nullptr;
    QLineEdit *m_linkEdit = nullptr;
    QCheckBox *m_imgFollow = nullptr;
    QButtonGroup *m_imgJustify = nullptr;
    QCheckBox *m_importImage = nullptr;
    QCheckBox *m_linkBorder = nullptr;

    // Divider.
    QLabel *m_divColour = nullptr;
    QSlider *m_divThick = nullptr;
    QLabel *m_divThickLabel = nullptr;
    QSlider *m_divWidth = nullptr;
    QLabel *m_divWidthLabel = nullptr;
    QCheckBox *m_div3D = nullptr;

    // Anchor.
    QLineEdit *m_anchorEdit = nullptr;
    QLineEdit *m_anchorText = nullptr;
    QCheckBox *m_anchorCB = nullptr;

    // List.
    std::array<QLineEdit *, 14> m_listEdits {};
    QButtonGroup *m_listType = nullptr;
    QComboBox *m_listSize = nullptr;
    QLabel *m_listColour = nullptr;

    // Index.
    LongTextEdit *m_indexMemo = nullptr;
    QComboBox *m_indexSize = nullptr;
    std::array<QCheckBox *, 4> m_indexStyle {};
    QComboBox *m_indexAlign = nullptr;
    QCheckBox *m_indexFollow = nullptr;

    // HTML.
    LongTextEdit *m_htmlMemo = nullptr;

    // PlaySound.
    QLineEdit *m_soundEdit = nullptr;
    std::array<QCheckBox *, 4> m_soundFlags {};
    QButtonGroup *m_soundAlign = nullptr;

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
