#include "gui/wizard/WizardWindow.h"

#include "gui/sections/SectionLibraryWindow.h"

#include "core/page/PageStyle.h"
#include "core/project/Records.h"
#include "gui/check/CheckWindow.h"
#include "gui/check/ProjectCheck.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/AccessibleNames.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LineEdits.h"
#include "gui/dialogs/SelectionDialog.h"
#include "gui/help/ShowHelp.h"
#include "gui/lists/ColourListWindow.h"
#include "gui/lists/ImageListWindow.h"
#include "gui/lists/LinkListWindow.h"
#include "gui/preview/LivePreview.h"
#include "gui/upload/PublishCommand.h"
#include "gui/wizard/Autosave.h"
#include "gui/wizard/PageCommands.h"
#include "gui/wizard/pages/BackgroundPage.h"
#include "gui/wizard/pages/IntroductionPage.h"
#include "gui/wizard/pages/PageWidgets.h"
#include "gui/wizard/pages/SectionPages.h"
#include "gui/wizard/pages/SelectPage.h"
#include "gui/wizard/pages/TitleBarPage.h"
#include "gui/wizard/pages/UnknownKindPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

// The icon resources live in a static library and must be registered by hand.
static void initWizardResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace stv
{

namespace
{

// The manual's chapters of the fixed pages, by page index; a section page's is its kind's.
constexpr std::array<int, WizardWindow::FirstSectionIndex> FixedPageHelpTopics = { 0, 5, 6, 7 };
constexpr int UnknownKindHelpTopic = 0;

} // namespace

WizardWindow::WizardWindow(QWidget *parent)
    : QMainWindow(parent)
{
    initWizardResources();
    setObjectName(QStringLiteral("SV"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/sitorva.png")));

    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildLeftPanel());

    auto *right = new QVBoxLayout;
    right->setContentsMargins(12, 10, 12, 8);
    right->setSpacing(6);
    right->addWidget(buildPages(), 1);

    auto *rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    right->addWidget(rule);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_userLabel = new QPushButton(QStringLiteral("&User Label"), central);
    m_userLabel->setObjectName(QStringLiteral("LabBtn"));
    auto *help = new QPushButton(
        style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("He&lp"), central);
    help->setObjectName(QStringLiteral("HlpBtn"));
    m_back = new QPushButton(QStringLiteral("&Back"), central);
    m_back->setObjectName(QStringLiteral("Backbtn"));
    m_next = new QPushButton(QStringLiteral("&Next"), central);
    m_next->setObjectName(QStringLiteral("Nextbtn"));
    m_next->setDefault(true);
    auto *quit = new QPushButton(
        style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), central);
    quit->setObjectName(QStringLiteral("Quitbtn"));
    for (QPushButton *button : { m_userLabel, help, m_back, m_next, quit })
        button->setMinimumWidth(88);
    buttons->addWidget(m_userLabel);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addSpacing(12);
    buttons->addWidget(quit);
    right->addLayout(buttons);
    outer->addLayout(right, 1);
    setCentralWidget(buildPreview(central));

    m_labelPanel = new QLabel(this);
    m_labelPanel->setObjectName(QStringLiteral("LabelPanel"));
    m_labelPanel->setFixedWidth(200);
    m_labelPanel->setAlignment(Qt::AlignCenter);
    m_positionPanel = new QLabel(this);
    m_positionPanel->setObjectName(QStringLiteral("PositionPanel"));
    m_positionPanel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(m_labelPanel);
    statusBar()->addWidget(m_positionPanel, 1);
    // A failed autosave is said beside the two panels, never over them, until one works.
    m_autosavePanel = new QLabel(this);
    m_autosavePanel->setObjectName(QStringLiteral("AutosavePanel"));
    m_autosavePanel->hide();
    statusBar()->addPermanentWidget(m_autosavePanel);
    statusBar()->setSizeGripEnabled(false);

    m_autosave = new Autosave([this] { return autosaveSnapshot(); },
        [this] { return pathToBytes(m_projectFileName); }, this);
    connect(m_autosave, &Autosave::failed, this, [this](const QString &message) {
        m_autosavePanel->setText(message);
        m_autosavePanel->show();
    });
    connect(m_autosave, &Autosave::written, this, [this](bool ok) {
        if (ok) {
            m_autosavePanel->clear();
            m_autosavePanel->hide();
        }
    });
    buildMenus();

    connect(m_next, &QPushButton::clicked, this, &WizardWindow::goNext);
    connect(m_back, &QPushButton::clicked, this, &WizardWindow::goBack);
    connect(m_userLabel, &QPushButton::clicked, this, &WizardWindow::editUserLabel);
    connect(help, &QPushButton::clicked, this, &WizardWindow::showPageHelp);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    // The library and the recent-project list; a missing file is an empty list, one that
    // cannot be read is reported and kept as it is (never written over).
    loadLibrarySections(m_librarySections, this);
    if (const Result<> recent
        = readRecentFile((programFolder() + QString::fromLatin1(RecentFileName)).toStdString(),
            m_recentProjects);
        !recent)
        Dialogs::error(this, QString::fromStdString(recent.error()));

    m_savedProject = m_project;
    m_history.reset(m_project);
    showProjectValues();
    setCaption();
    resize(780, 540);
    showCurrentSection();
    // Every page's one-line fields hold one line, whatever is pasted, and any length.
    prepareLineEdits(this);

    // The decision box, the selection dialog and the three list windows live as long as we do.
    m_decide = new DecisionBox(this);
    m_multiSelect = new SelectionDialog(this);
    m_colourForm = new ColourListWindow(m_lists.colours, this);
    m_linkForm = new LinkListWindow(m_lists.links, this);
    m_imageForm = new ImageListWindow(m_lists.images, this);
    // Each list is on disk the moment it changes, so a crash loses none of its entries.
    const std::pair<FavouriteListWindow *, const char *> listFiles[]
        = { { m_colourForm, ColourListFile }, { m_linkForm, LinkListFile },
              { m_imageForm, ImageListFile } };
    for (const auto &[form, file] : listFiles)
        connect(form, &FavouriteListWindow::entriesChanged, this,
            [this, form = form, file = file] { saveListFile(form, file); });
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &WizardWindow::startupTick);
    updateEditActions();
    nameControls(this);
}

void WizardWindow::startDecisionTimer()
{
    m_timer->start();
    m_autosave->start();
}

WizardWindow::~WizardWindow() = default;

// ---------------------------------------------------------------- building the window

QWidget *WizardWindow::buildLeftPanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("LeftPanel"));
    panel->setFixedWidth(112);
    panel->setStyleSheet(QStringLiteral(
        "#LeftPanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1b3a6b, "
        "stop:1 #2f6fa8); }"
        "#LeftPanel QLabel { color: white; }"
        "#LeftPanel QToolButton { background: rgba(255,255,255,30); border: 1px solid "
        "rgba(255,255,255,70); border-radius: 4px; }"
        "#LeftPanel QToolButton:hover { background: rgba(255,255,255,80); }"
        "#LeftPanel QToolButton:focus { border: 2px solid white; }"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 14, 8, 14);
    layout->setSpacing(8);

    auto *logo = new QLabel(panel);
    logo->setPixmap(QIcon(QStringLiteral(":/icons/sitorva.png")).pixmap(48, 48));
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    auto *name = new QLabel(QStringLiteral("Sitorva 98"), panel);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont f = name->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    name->setFont(f);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    layout->addSpacing(10);

    struct Tool {
        const char *name;
        const char *hint;
        const char *icon;
        const char *description; // what a screen reader adds to the hint
        void (WizardWindow::*action)();
    };
    const Tool tools[] = {
        { "Image1", "View Your Creation", "view", "Shows the web page in your browser",
            &WizardWindow::previewClick },
        { "SaveImg", "Save This Project", "save", "Saves the project file",
            &WizardWindow::saveProject },
        { "SaveAsImg", "Save Project As", "saveas", "Saves the project under a new file name",
            &WizardWindow::saveProjectAs },
        { "LoadImg", "Load a Sitorva Project File", "load", "Opens a project file",
            &WizardWindow::openProject },
        { "CreateImg", "Create Your Web Page", "create", "Writes the web page file",
            &WizardWindow::createWebPageClick },
        { "ManagerImg", "Toggle Section Manager", "manager",
            "Shows or hides the list of the page's sections", &WizardWindow::toggleSectionManager },
        { "UploadImg", "Upload Your Stuff", "upload", "Opens the window that publishes the page",
            &WizardWindow::uploadClick },
    };
    auto *grid = new QGridLayout;
    grid->setSpacing(8);
    int i = 0;
    for (const Tool &t : tools) {
        auto *button = new QToolButton(panel);
        button->setObjectName(QString::fromUtf8(t.name));
        button->setToolTip(QString::fromUtf8(t.hint));
        button->setAccessibleName(QString::fromUtf8(t.hint));
        button->setAccessibleDescription(QString::fromUtf8(t.description));
        button->setIcon(
            QIcon(QStringLiteral(":/icons/buttons/%1.png").arg(QString::fromUtf8(t.icon))));
        button->setIconSize(QSize(32, 32));
        button->setFixedSize(44, 44);
        connect(button, &QToolButton::clicked, this, t.action);
        grid->addWidget(button, i / 2, i % 2);
        ++i;
    }
    layout->addLayout(grid);
    layout->addStretch(1);
    return panel;
}

QWidget *WizardWindow::buildPages()
{
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->addWidget(new pages::IntroductionPage(m_pages));
    m_titleBarPage = new pages::TitleBarPage(m_project, m_pages);
    m_pages->addWidget(m_titleBarPage);
    m_backgroundPage = new pages::BackgroundPage(m_project, m_pages);
    m_pages->addWidget(m_backgroundPage);
    m_selectPage = new pages::SelectPage(m_pages);
    m_pages->addWidget(m_selectPage);
    // The section pages, in kind order: a kind's page is at sectionPageIndex(kind).
    for (int kind = 0; kind < KindCount; ++kind) {
        pages::SectionPage *page = pages::makeSectionPage(static_cast<KindPos>(kind), m_pages);
        m_sectionPages[static_cast<std::size_t>(kind)] = page;
        m_pages->addWidget(page);
    }
    m_unknownKindPage = new pages::UnknownKindPage(m_pages);
    m_pages->addWidget(m_unknownKindPage);
    connect(m_selectPage, &pages::SelectPage::accepted, this, &WizardWindow::acceptSection);
    return m_pages;
}

void WizardWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    auto add = [this](QMenu *menu, const char *name, const char *caption, const QKeySequence &key,
                   auto slot) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const auto ctrl
        = [](char letter) { return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(letter)); };
    add(file, "NewProject1", "&New Project", ctrl('N'), &WizardWindow::newProject);
    add(file, "Load1", "&Load", ctrl('L'), &WizardWindow::openProject);
    add(file, "Save1", "&Save", ctrl('S'), &WizardWindow::saveProject);
    // Ctrl+A selects all inside a text field; the desktop's Save As key works everywhere.
    QAction *saveAs = add(file, "SaveAs1", "Save &As", ctrl('A'), &WizardWindow::saveProjectAs);
    QList<QKeySequence> saveAsKeys { ctrl('A'), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) };
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::SaveAs))
        if (!saveAsKeys.contains(key))
            saveAsKeys << key;
    saveAs->setShortcuts(saveAsKeys);
    add(file, "OpenPrevious1", "&Open Previous", ctrl('O'), &WizardWindow::openPrevious);
    m_showDecisionBox = add(file, "ShowDecisionBox1", "Show &Decision Box", ctrl('D'),
        [this] { runStartupDecision(true); });
    file->addSeparator();
    add(file, "CreateWebPage1", "&Create Web Page", ctrl('W'), &WizardWindow::createWebPageClick);
    file->addSeparator();
    // The way out by hand: the same close steps as the title bar's button, question included.
    add(file, "Exit1", "E&xit", ctrl('Q'), [this] { close(); });
    connect(file, &QMenu::aboutToShow, this,
        [this] { m_showDecisionBox->setEnabled(!m_recentProjects.empty()); });

    // Undo and Redo work in every window of the program; inside a text field the field's own
    // undo takes the keys first.
    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    m_undoAction = add(
        edit, "Undo1", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), &WizardWindow::undoChange);
    m_redoAction = add(edit, "Redo1", "&Redo", ctrl('Y'), &WizardWindow::redoChange);
    m_redoAction->setShortcuts({ ctrl('Y'), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    for (QAction *a : { m_undoAction, m_redoAction })
        a->setShortcutContext(Qt::ApplicationShortcut);
    connect(edit, &QMenu::aboutToShow, this, [this] {
        storeEditedPage();
        updateEditActions();
    });

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    m_previewAction = add(view, "LivePreview1", "Live &Preview", QKeySequence(Qt::Key_F5),
        &WizardWindow::showLivePreview);
    m_previewAction->setCheckable(true);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    QAction *siteLast = add(tools, "SiteLastUpdated1", "&Site Last Updated", {},
        [this](bool on) { m_pageOptions.siteLastUpdated = on; });
    QAction *black = add(tools, "UpdateBlack1", "Update &Black", {},
        [this](bool on) { m_pageOptions.updateBlack = on; });
    for (QAction *a : { siteLast, black }) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    QAction *modern = add(tools, "ModernPage1", "&Modern Page (fits phones)", {},
        [this](bool on) { choosePageStyle(on ? PageStyle::Modern : PageStyle::Classic); });
    modern->setCheckable(true);
    tools->addSeparator();
    add(tools, "ImageList1", "&Image List", {}, [this] { m_imageForm->exec(); });
    add(tools, "FontColourList1", "&Font Colour List", {}, [this] { m_colourForm->exec(); });
    add(tools, "LinkList1", "&Link List", {}, [this] { m_linkForm->exec(); });
    tools->addSeparator();
    add(tools, "InsertHeadCode1", "Insert &Head Code", {}, &WizardWindow::insertHeadCode);
    add(tools, "UploadMyPage1", "&Upload My Page", {}, &WizardWindow::uploadClick);
    add(tools, "PublishMyPage1", "&Publish My Page", {}, &WizardWindow::publishClick);
    add(tools, "CheckMyPage1", "&Check My Page", {}, &WizardWindow::checkMyPageClick);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    add(help, "Contents1", "&Contents", {}, [] { showHelpTopic(0); });
    add(help, "Introduction1", "&Introduction", {}, [] { showHelpTopic(1); });
    add(help, "GettingStarted1", "&Getting Started", {}, [] { showHelpTopic(2); });
    add(help, "LicenceAgreement1", "&Licence Agreement", {}, [] { showHelpTopic(4); });

    // F1: the help topic of the page on show, as the Help button gives it.
    auto *pageHelp = new QAction(this);
    pageHelp->setObjectName(QStringLiteral("PageHelpKey"));
    pageHelp->setShortcuts(QKeySequence::HelpContents);
    if (!pageHelp->shortcuts().contains(QKeySequence(Qt::Key_F1)))
        pageHelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(pageHelp, &QAction::triggered, this, &WizardWindow::showPageHelp);
    addAction(pageHelp);
}

// ---------------------------------------------------------------- showing and storing

int WizardWindow::visiblePage() const
{
    return m_pages->currentIndex();
}

void WizardWindow::showCurrentSection()
{
    selectManagerRow();
    if (livePreviewShown())
        m_livePreview->showSection(m_currentSection);
    m_shownPage.reset();
    m_labelPanel->clear();
    m_next->setEnabled(true);
    m_back->setEnabled(true);
    m_userLabel->setEnabled(false);
    const int count = static_cast<int>(m_project.sections.size());
    const int pos = m_currentSection;
    const QString section = QStringLiteral("Section %1, ").arg(pos + FixedRowsBefore);
    if (pos > count - 1) {
        m_pages->setCurrentIndex(SelectIndex);
        m_next->setEnabled(false);
        m_positionPanel->setText(section + QStringLiteral("Select next stage."));
        return;
    }
    if (pos == BackgroundPosition) {
        m_pages->setCurrentIndex(BackgroundIndex);
        m_positionPanel->setText(section + QStringLiteral("Select background colour/image."));
        return;
    }
    if (pos == TitleBarPosition) {
        m_pages->setCurrentIndex(TitleBarIndex);
        m_positionPanel->setText(section + QStringLiteral("Create a title."));
        return;
    }
    if (pos <= IntroductionPosition) {
        m_pages->setCurrentIndex(IntroductionIndex);
        m_back->setEnabled(false);
        m_positionPanel->setText(QStringLiteral("Section 0, Introducing Sitorva 98...."));
        return;
    }
    m_userLabel->setEnabled(true);
    const std::vector<std::string> f
        = splitFields(m_project.sections[static_cast<std::size_t>(pos)], 20);
    m_labelPanel->setText(fromCp1252(f[field::UserLabel]));
    showRecord(f);
    m_shownPage = pageRecord();
    m_positionPanel->setText(section + fromCp1252(f[field::Kind]));
}

void WizardWindow::showRecord(const std::vector<std::string> &f)
{
    const int kind = kindPosition(f[field::Kind]);
    if (kind < 0) {
        m_unknownKindPage->showKind(f[field::Kind]);
        m_pages->setCurrentIndex(UnknownKindIndex);
        return;
    }
    m_sectionPages[static_cast<std::size_t>(kind)]->showFields(f);
    m_pages->setCurrentIndex(sectionPageIndex(static_cast<KindPos>(kind)));
}

std::optional<std::string> WizardWindow::pageRecord() const
{
    const int count = static_cast<int>(m_project.sections.size());
    if (m_currentSection < 0 || m_currentSection > count - 1)
        return std::nullopt;
    const std::string &record = m_project.sections[static_cast<std::size_t>(m_currentSection)];
    const int page = m_pages->currentIndex();
    if (page == UnknownKindIndex) {
        // A record of an unknown kind keeps every field; only a new user label is written.
        const std::string label = toCp1252(m_labelPanel->text());
        if (splitFields(record, field::UserLabel)[field::UserLabel] == label)
            return std::nullopt;
        return replaceField(record, field::UserLabel, label);
    }
    if (page < FirstSectionIndex || page >= UnknownKindIndex)
        return std::nullopt;
    // The page must be the one shown for this record: a record is never overwritten with the
    // fields of another kind.
    const pages::SectionPage *shown
        = m_sectionPages[static_cast<std::size_t>(page - FirstSectionIndex)];
    const std::string_view kind = shown->kindName();
    if (splitFields(record, field::Kind)[field::Kind] != kind)
        return std::nullopt;
    std::vector<std::string> fields { std::string(kind), toCp1252(m_labelPanel->text()) };
    std::vector<std::string> rest = shown->fields();
    fields.insert(
        fields.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    return joinFields(fields);
}

void WizardWindow::storeCurrentPage()
{
    // The title and background pages write into the project as they are edited; leaving them
    // makes their edits one step to undo.
    if (m_currentSection == TitleBarPosition) {
        recordChange("Page Title");
        return;
    }
    if (m_currentSection == BackgroundPosition) {
        recordChange("Background");
        return;
    }
    std::optional<std::string> stored = pageRecord();
    if (!stored)
        return;
    std::string &record = m_project.sections[static_cast<std::size_t>(m_currentSection)];
    if (record == *stored)
        return;
    record = std::move(*stored);
    recordChange("Edit " + splitFields(record, field::Kind)[field::Kind]);
}

void WizardWindow::showProjectValues()
{
    m_titleBarPage->load();
    m_backgroundPage->load();
}

void WizardWindow::refreshSectionManager()
{
    if (m_sectionView)
        m_sectionView->refreshSectionManager();
}

void WizardWindow::selectManagerRow()
{
    if (m_sectionView)
        m_sectionView->selectRow(m_currentSection + FixedRowsBefore);
}

void WizardWindow::setPageOptions(const PageOptions &options)
{
    m_pageOptions = options;
    findChild<QAction *>(QStringLiteral("SiteLastUpdated1"))->setChecked(options.siteLastUpdated);
    findChild<QAction *>(QStringLiteral("UpdateBlack1"))->setChecked(options.updateBlack);
    findChild<QAction *>(QStringLiteral("ModernPage1"))
        ->setChecked(options.style == PageStyle::Modern);
}

// The choice is kept at once, in the settings file, so the command line follows it too.
void WizardWindow::choosePageStyle(PageStyle style)
{
    m_pageOptions.style = style;
    if (const Result<> saved = savePageStyle(programFolder().toStdString(), style); !saved)
        Dialogs::error(this, QString::fromStdString(saved.error()));
}

void WizardWindow::sectionListChanged(const std::string &label)
{
    // Unsaved changes are found by comparing with the saved project; the change is one step.
    recordChange(label);
}

void WizardWindow::focusPage(bool activate)
{
    const auto *page = dynamic_cast<const pages::WizardPage *>(m_pages->currentWidget());
    QWidget *field = page ? page->firstField() : nullptr;
    if (!field)
        field = m_next->isEnabled() ? m_next : m_back;
    if (activate)
        activateWindow();
    // In a window that is not active this only marks where the focus goes when it is. As if
    // tabbed into: a line's text is selected, so typing replaces "(Change me)" texts.
    field->setFocus(Qt::TabFocusReason);
}

// ---------------------------------------------------------------- wizard buttons

void WizardWindow::goNext()
{
    if (m_currentSection >= static_cast<int>(m_project.sections.size()))
        return;
    storeCurrentPage();
    ++m_currentSection;
    showCurrentSection();
    focusPage(false);
}

void WizardWindow::goBack()
{
    if (m_currentSection <= IntroductionPosition)
        return;
    storeCurrentPage();
    --m_currentSection;
    showCurrentSection();
    focusPage(false);
}

void WizardWindow::acceptSection()
{
    const int count = static_cast<int>(m_project.sections.size());
    if (m_currentSection <= count - 1)
        return;
    const int kind = m_selectPage->chosenKind();
    if (kind < 0)
        return;
    m_project.sections.push_back(newSectionRecord(kind));
    recordChange("New " + std::string(SectionKinds[static_cast<std::size_t>(kind)].name));
    m_currentSection = count;
    showCurrentSection();
    refreshSectionManager();
    selectManagerRow();
    focusPage(false);
}

void WizardWindow::editUserLabel()
{
    const int count = static_cast<int>(m_project.sections.size());
    if (m_currentSection < 0 || m_currentSection > count - 1)
        return;
    const std::optional<QString> label
        = Dialogs::askLine(this, QStringLiteral("User Defined Label.."),
            QStringLiteral("Enter a unique label for this page.\n\nThis may then be used later to "
                           "refer directly to this page."),
            m_labelPanel->text());
    if (!label)
        return;
    m_labelPanel->setText(*label);
    storeCurrentPage();
    refreshSectionManager();
    selectManagerRow();
}

void WizardWindow::showPageHelp()
{
    const int page = m_pages->currentIndex();
    if (page >= FirstSectionIndex && page < UnknownKindIndex)
        showHelpTopic(SectionKinds[static_cast<std::size_t>(page - FirstSectionIndex)].helpTopic);
    else if (page >= 0 && page < FirstSectionIndex)
        showHelpTopic(FixedPageHelpTopics[static_cast<std::size_t>(page)]);
    else
        showHelpTopic(UnknownKindHelpTopic);
}

// ---------------------------------------------------------------- menu and panel commands

void WizardWindow::insertHeadCode()
{
    QString code = fromCp1252(m_project.headCode);
    code.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_project.headCode = pages::crlfBytes(Dialogs::zoomEdit(
        this, QStringLiteral("Insert Your Head Code Here.."), code, Qt::AlignLeft, QFont()));
    recordChange("Head Code");
}

void WizardWindow::toggleSectionManager()
{
    if (m_sectionManagerWindow == nullptr) {
        Dialogs::info(this, QStringLiteral("The Section Manager is not built yet."));
        return;
    }
    m_sectionManagerWindow->setVisible(!m_sectionManagerWindow->isVisible());
}

void WizardWindow::uploadClick()
{
    storeCurrentPage();
    runUploadWindow(this, m_project, m_lists, m_pageOptions, m_projectFileName);
    recordChange("Upload Settings");
}

void WizardWindow::publishClick()
{
    storeCurrentPage();
    runPublish(this, m_project, m_lists, m_pageOptions, m_projectFileName);
    recordChange("Upload Settings");
}

void WizardWindow::checkMyPageClick()
{
    if (m_checkWindow == nullptr) {
        m_checkWindow = new CheckWindow(
            *this,
            [this] {
                storeCurrentPage();
                return checkOpenProject(m_project, m_lists, m_projectFileName, m_pageOptions.style);
            },
            this);
        // Beside the wizard rather than over it: the user mends each problem on its page.
        const QRect screen = this->screen()->availableGeometry();
        const QRect main = frameGeometry();
        if (main.bottom() + 12 + m_checkWindow->height() <= screen.bottom())
            m_checkWindow->move(main.left(), main.bottom() + 12);
        else if (main.right() + 12 + m_checkWindow->width() <= screen.right())
            m_checkWindow->move(main.right() + 12, main.top());
    }
    m_checkWindow->checkAgain();
    m_checkWindow->show();
    m_checkWindow->raise();
    m_checkWindow->activateWindow();
}

void WizardWindow::createWebPageClick()
{
    storeCurrentPage();
    runCreateWebPage(this, m_project, m_lists, m_pageOptions, m_projectFileName);
    recordChange("Page File Name");
}

void WizardWindow::previewClick()
{
    storeCurrentPage();
    runPreview(this, m_project, m_lists, m_pageOptions);
}

} // namespace stv
