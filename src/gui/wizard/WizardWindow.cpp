#include "gui/wizard/WizardWindow.h"

#include "gui/sections/SectionLibraryWindow.h"

#include "core/project/Records.h"
#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/IconStrip.h"
#include "gui/desktop/LaunchFile.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/desktop/Sound.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LongTextEdit.h"
#include "gui/dialogs/SelectionDialog.h"
#include "gui/help/ShowHelp.h"
#include "gui/lists/ColourListWindow.h"
#include "gui/lists/ImageListWindow.h"
#include "gui/lists/LinkListWindow.h"
#include "gui/upload/UploadWindow.h"
#include "gui/wizard/PageCommands.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
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

const int HelpTopics[] = { 0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 27, 0 };
const char *const PageNames[]
    = { "Introduction", "Titlebar", "Background", "Select", "Heading", "Paragraph", "Image",
          "Divider", "Anchor", "List", "Index", "HTML", "PlaySound", "UnknownKind" };
const char *const SizeItems[] = { "Tiny", "Small", "Normal", "Big", "Very Big", "Huge", "Massive" };
const char *const ImageFilter = "Images (*.gif;*.jpeg;*.jpg;*.png;*.xbm)|*.gif;*.jpeg;*.jpg;*.png;"
                                "*.xbm|GIF (*.gif)|*.gif|JPeg (*.jpg)|*.jpg|All Files (*.*)|*.*";
const char *const ProjectFilter = "Sitorva File (*.stv)|*.stv";

// Memo text as the editor holds it: every line break a single LF.
QString memoText(const std::string &stored)
{
    QString text = fromCp1252(unescapeLineBreaks(stored));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Editor text with every line break as CR LF, in the stored byte form.
std::string crlfBytes(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toCp1252(text);
}

std::string memoField(const QString &text)
{
    return escapeLineBreaks(crlfBytes(text));
}

// Colour values are 0x00BBGGRR, red in the low byte.
QColor toQColor(int c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int fromQColor(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

// A swatch keeps the number it was given, so a stored value is written back as it was.
int swatchColour(const QWidget *w)
{
    return w->property("colourValue").toInt();
}

void setSwatch(QWidget *w, int colour)
{
    w->setProperty("colourValue", colour);
    w->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #5a5a5a;")
                         .arg(toQColor(colour).name()));
}

void setIndex(QButtonGroup *group, int index)
{
    if (QAbstractButton *button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *other : group->buttons())
        other->setChecked(false);
    group->setExclusive(true);
}

void setIndex(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

void setFlag(QCheckBox *box, const std::string &field)
{
    box->setChecked(flagValue(field));
}

std::string flag(const QAbstractButton *box)
{
    return flagText(box->isChecked());
}

std::string flag(const QAction *action)
{
    return flagText(action->isChecked());
}

QLabel *headingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("HeadingLine"));
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.35);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #1b3a6b;"));
    return label;
}

QLabel *note(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #404040;"));
    return label;
}

// A radio group laid out column by column, like a multi-column radio group.
QGroupBox *radioGroup(const QString &name, const QString &title, const QStringList &items,
    int columns, QButtonGroup *&group, int initial, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    group = new QButtonGroup(box);
    group->setObjectName(name + QStringLiteral("Group"));
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items[i], box);
        radio->setObjectName(name + QString::number(i));
        group->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    setIndex(group, initial);
    return box;
}

QCheckBox *check(const QString &name, const QString &text, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QLineEdit *lineEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLabel *swatch(const QString &name, QWidget *parent)
{
    auto *panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFixedSize(48, 24);
    setSwatch(panel, 0);
    return panel;
}

QToolButton *pictureButton(
    const QString &name, const QString &hint, const QString &icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(false);
    return button;
}

QComboBox *sizeCombo(const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const char *item : SizeItems)
        combo->addItem(QString::fromUtf8(item));
    combo->setCurrentIndex(2);
    return combo;
}

// Select box rows: the kind's icon at the left, the caption 25 pixels in.
class SelectBoxDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        painter->fillRect(r, selected ? pal.highlight() : pal.base());
        const int kind = index.row();
        painter->drawPixmap(r.left() + 2, r.top(),
            stripIcon(kindIcon(KindNames[std::clamp(kind, 0, KindCount - 1)])));
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        painter->drawText(QRect(r.left() + 25, r.top() + 2, r.width() - 27, r.height() - 2),
            Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return { 120, 22 };
    }
};

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
        style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("&Help"), central);
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
    setCentralWidget(central);

    m_labelPanel = new QLabel(this);
    m_labelPanel->setObjectName(QStringLiteral("LabelPanel"));
    m_labelPanel->setFixedWidth(200);
    m_labelPanel->setAlignment(Qt::AlignCenter);
    m_positionPanel = new QLabel(this);
    m_positionPanel->setObjectName(QStringLiteral("PositionPanel"));
    m_positionPanel->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(m_labelPanel);
    statusBar()->addWidget(m_positionPanel, 1);
    statusBar()->setSizeGripEnabled(false);

    buildMenus();

    connect(m_next, &QPushButton::clicked, this, &WizardWindow::goNext);
    connect(m_back, &QPushButton::clicked, this, &WizardWindow::goBack);
    connect(m_userLabel, &QPushButton::clicked, this, &WizardWindow::editUserLabel);
    connect(help, &QPushButton::clicked, this, &WizardWindow::showPageHelp);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    // The library and the recent-project list; a missing file is an empty list, one that
    // cannot be read is reported and kept as it is (never written over).
    loadLibrarySections(m_librarySections, this);
    if (const FileResult recent
        = readRecentFile((programFolder() + QString::fromLatin1(RecentFileName)).toStdString(),
            m_recentProjects);
        !recent.ok)
        Dialogs::error(this, QString::fromStdString(recent.error));

    m_savedProject = m_project;
    showProjectValues();
    setCaption();
    resize(780, 540);
    showCurrentSection();

    // The decision box, the selection dialog and the three list windows live as long as we do.
    m_decide = new DecisionBox(this);
    m_multiSelect = new SelectionDialog(this);
    m_colourForm = new ColourListWindow(m_lists.colours, this);
    m_linkForm = new LinkListWindow(m_lists.links, this);
    m_imageForm = new ImageListWindow(m_lists.images, this);
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { stv::runStartupDecision(*this, false); });
}

void WizardWindow::startDecisionTimer()
{
    m_timer->start();
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
        "#LeftPanel QToolButton:hover { background: rgba(255,255,255,80); }"));
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
        void (WizardWindow::*action)();
    };
    const Tool tools[] = {
        { "Image1", "View Your Creation", "view", &WizardWindow::previewClick },
        { "SaveImg", "Save This Project", "save", &WizardWindow::saveProject },
        { "SaveAsImg", "Save Project As", "saveas", &WizardWindow::saveProjectAs },
        { "LoadImg", "Load a Sitorva Project File", "load", &WizardWindow::openProject },
        { "CreateImg", "Create Your Web Page", "create", &WizardWindow::createWebPageClick },
        { "ManagerImg", "Toggle Section Manager", "manager", &WizardWindow::toggleSectionManager },
        { "UploadImg", "Upload Your Stuff", "upload", &WizardWindow::uploadClick },
    };
    auto *grid = new QGridLayout;
    grid->setSpacing(8);
    int i = 0;
    for (const Tool &t : tools) {
        auto *button = new QToolButton(panel);
        button->setObjectName(QString::fromUtf8(t.name));
        button->setToolTip(QString::fromUtf8(t.hint));
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

QWidget *WizardWindow::newPage(const QString &name, const QString &heading)
{
    auto *page = new QWidget(m_pages);
    page->setObjectName(name);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!heading.isEmpty()) {
        layout->addWidget(headingLabel(heading, page));
        layout->addSpacing(6);
    }
    return page;
}

// A "Colour" group: the swatch and the picture button that opens the colour dialog for it.
QGroupBox *WizardWindow::colourGroup(
    const QString &panelName, const QString &buttonName, QLabel *&panel, QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral("Colour"), parent);
    auto *row = new QHBoxLayout(box);
    panel = swatch(panelName, box);
    auto *button = pictureButton(buttonName, QStringLiteral("Select Colour"),
        QStringLiteral(":/icons/buttons/colour.png"), box);
    row->addWidget(panel);
    row->addWidget(button);
    row->addStretch(1);
    QLabel *target = panel;
    connect(button, &QToolButton::clicked, this, [this, target] { pickSwatchColour(target); });
    return box;
}

QWidget *WizardWindow::buildPages()
{
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->addWidget(buildIntroductionPage());
    m_pages->addWidget(buildTitlebarPage());
    m_pages->addWidget(buildBackgroundPage());
    m_pages->addWidget(buildSelectPage());
    m_pages->addWidget(buildHeadingPage());
    m_pages->addWidget(buildParagraphPage());
    m_pages->addWidget(buildImagePage());
    m_pages->addWidget(buildDividerPage());
    m_pages->addWidget(buildAnchorPage());
    m_pages->addWidget(buildListPage());
    m_pages->addWidget(buildIndexPage());
    m_pages->addWidget(buildHTMLPage());
    m_pages->addWidget(buildPlaySoundPage());
    m_pages->addWidget(buildUnknownKindPage());
    return m_pages;
}

QWidget *WizardWindow::buildIntroductionPage()
{
    QWidget *page = newPage(
        QStringLiteral("Introduction"), QStringLiteral("Create Impressive Web Pages In Minutes"));
    auto *text = new QTextEdit(page);
    text->setObjectName(QStringLiteral("IntroMemo"));
    text->setReadOnly(true);
    text->setHtml(QStringLiteral(
        "<p><b>Welcome to Sitorva 98.</b></p>"
        "<p>Sitorva builds a web page for you one section at a time, without you writing a "
        "single tag. Press <b>Next</b> to give the page a title and a background, then choose "
        "what comes next: a heading, a paragraph, an image, a divider, an anchor, a list, a line "
        "index, some HTML of your own or a sound.</p>"
        "<p>Each section has its own page here. <b>Back</b> and <b>Next</b> walk through the "
        "sections; the Section Manager shows them all and lets you jump, cut, copy and paste.</p>"
        "<p>When you are done, <b>View Your Creation</b> shows the page in your browser and "
        "<b>Create Your Web Page</b> writes it where you choose, with its pictures and sounds "
        "beside it. Save your project to come back to it later.</p>"));
    page->layout()->addWidget(text);
    return page;
}

QWidget *WizardWindow::buildTitlebarPage()
{
    QWidget *page
        = newPage(QStringLiteral("Titlebar"), QStringLiteral("Give your web page a title."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->addWidget(note(QStringLiteral("The title is shown in the title bar of the browser "
                                          "window and in bookmarks. Keep it short and telling."),
        page));
    layout->addSpacing(10);
    layout->addWidget(new QLabel(QStringLiteral("Page title:"), page));
    m_titleEdit = lineEdit(QStringLiteral("TitleEdit"), page);
    layout->addWidget(m_titleEdit);
    layout->addStretch(1);
    connect(m_titleEdit, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_project.pageTitle = toCp1252(text); });
    return page;
}

QWidget *WizardWindow::buildBackgroundPage()
{
    QWidget *page = newPage(
        QStringLiteral("Background"), QStringLiteral("Give your web page some background.."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());

    auto *colourBox = new QGroupBox(QStringLiteral("Background Colour"), page);
    auto *colourRow = new QHBoxLayout(colourBox);
    m_colourPanel = new QPushButton(colourBox);
    m_colourPanel->setObjectName(QStringLiteral("ColourPanel"));
    m_colourPanel->setFixedSize(64, 28);
    m_colourPanel->setToolTip(QStringLiteral("Select Colour"));
    setSwatch(m_colourPanel, White);
    colourRow->addWidget(m_colourPanel);
    colourRow->addWidget(note(QStringLiteral("Click the swatch to choose the colour. It is used "
                                             "only while no background image is given."),
                             colourBox),
        1);
    layout->addWidget(colourBox);

    auto *imageBox = new QGroupBox(QStringLiteral("Background Image"), page);
    auto *imageGrid = new QGridLayout(imageBox);
    m_backgroundEdit = lineEdit(QStringLiteral("BackGroundEdit"), imageBox);
    auto *backImg = pictureButton(QStringLiteral("BackImg"), QStringLiteral("Select Image"),
        QStringLiteral(":/icons/buttons/folder.png"), imageBox);
    m_importBG
        = check(QStringLiteral("ImportBGImageCB"), QStringLiteral("&Import Image"), imageBox);
    m_importBG->setChecked(true);
    imageGrid->addWidget(m_backgroundEdit, 0, 0);
    imageGrid->addWidget(backImg, 0, 1);
    imageGrid->addWidget(m_importBG, 1, 0, 1, 2);
    imageGrid->addWidget(note(QStringLiteral("The image is tiled over the whole page. It may lie "
                                             "anywhere on your disk: with \"Import Image\" ticked "
                                             "it is copied next to the page when the page is "
                                             "written."),
                             imageBox),
        2, 0, 1, 2);
    layout->addWidget(imageBox);
    layout->addStretch(1);

    connect(m_colourPanel, &QPushButton::clicked, this, [this] {
        pickSwatchColour(m_colourPanel);
        m_project.backgroundColour = swatchColour(m_colourPanel);
    });
    connect(backImg, &QToolButton::clicked, this, [this] {
        chooseFile(m_backgroundEdit, QStringLiteral("Select a background image.."),
            QString::fromUtf8(ImageFilter));
    });
    connect(m_backgroundEdit, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_project.backgroundImage = toCp1252(text); });
    connect(m_importBG, &QCheckBox::toggled, this,
        [this](bool on) { m_project.importBackgroundImage = on; });
    return page;
}

QWidget *WizardWindow::buildSelectPage()
{
    QWidget *page
        = newPage(QStringLiteral("Select"), QStringLiteral("What do you want to do next?"));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->addWidget(note(QStringLiteral("Choose the kind of section to add at the end of your "
                                          "page and press Accept (or double click it)."),
        page));
    auto *box = new QGroupBox(QStringLiteral("Make Your Selection"), page);
    auto *boxLayout = new QVBoxLayout(box);
    m_selectBox = new QListWidget(box);
    m_selectBox->setObjectName(QStringLiteral("SelectBox"));
    m_selectBox->setViewMode(QListView::ListMode);
    m_selectBox->setFlow(QListView::TopToBottom);
    m_selectBox->setWrapping(true);
    m_selectBox->setResizeMode(QListView::Adjust);
    m_selectBox->setUniformItemSizes(true);
    m_selectBox->setSpacing(0);
    m_selectBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_selectBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_selectBox->setItemDelegate(new SelectBoxDelegate(m_selectBox));
    m_selectBox->setGridSize(QSize(170, 22));
    m_selectBox->setFixedSize(
        3 * 170 + 2 * m_selectBox->frameWidth() + 4, 3 * 22 + 2 * m_selectBox->frameWidth() + 4);
    for (const std::string_view caption : KindCaptions)
        m_selectBox->addItem(
            QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
    m_selectBox->setCurrentRow(0);
    boxLayout->addWidget(m_selectBox);

    auto *accept = new QPushButton(QStringLiteral("&Accept"), box);
    accept->setObjectName(QStringLiteral("Acceptbtn"));
    accept->setMinimumWidth(88);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(accept);
    boxLayout->addLayout(row);
    layout->addWidget(box, 0, Qt::AlignLeft);
    layout->addWidget(note(QStringLiteral("The new section is added after the last one. To put "
                                          "a section between others, use the Section Manager."),
        page));
    layout->addStretch(1);

    connect(accept, &QPushButton::clicked, this, &WizardWindow::acceptSection);
    connect(m_selectBox, &QListWidget::itemDoubleClicked, this, &WizardWindow::acceptSection);
    return page;
}

QWidget *WizardWindow::buildHeadingPage()
{
    QWidget *page = newPage(
        QStringLiteral("Heading"), QStringLiteral("Create a heading for your web page.."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->addWidget(new QLabel(QStringLiteral("Heading text:"), page));
    m_headingEdit = lineEdit(QStringLiteral("HeadingEdit"), page);
    layout->addWidget(m_headingEdit);

    QStringList sizes;
    for (const char *item : SizeItems)
        sizes << QString::fromUtf8(item);
    auto *grid = new QGridLayout;
    grid->addWidget(radioGroup(QStringLiteral("HeadSizeRG"), QStringLiteral("Heading Size"), sizes,
                        2, m_headSize, 2, page),
        0, 0, 2, 1);

    auto *styleBox = new QGroupBox(QStringLiteral("Heading Style"), page);
    auto *styleGrid = new QGridLayout(styleBox);
    const char *const names[] = { "BoldCheck", "ItalicCheck", "UnderlineCheck", "StrikeOutCheck" };
    const char *const captions[] = { "Bold", "Italic", "Underlined", "StrikeOut" };
    for (int i = 0; i < 4; ++i) {
        m_headStyle[static_cast<std::size_t>(i)]
            = check(QString::fromUtf8(names[i]), QString::fromUtf8(captions[i]), styleBox);
        styleGrid->addWidget(m_headStyle[static_cast<std::size_t>(i)], i % 2, i / 2);
    }
    grid->addWidget(styleBox, 0, 1);

    grid->addWidget(
        radioGroup(QStringLiteral("AllignRG"), QStringLiteral("Allignment"),
            { QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right") }, 3,
            m_headAlign, 0, page),
        1, 1);

    grid->addWidget(
        colourGroup(QStringLiteral("Panel2"), QStringLiteral("ColorImg"), m_headColour, page), 2, 0,
        1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget *WizardWindow::buildParagraphPage()
{
    QWidget *page = newPage(QStringLiteral("Paragraph"), QStringLiteral("Create a paragraph.."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());

    auto *top = new QHBoxLayout;
    m_paraMemo = new LongTextEdit(page);
    m_paraMemo->setObjectName(QStringLiteral("ParaMemo"));
    m_paraMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_paraMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    top->addWidget(m_paraMemo, 1);

    auto *tools = new QVBoxLayout;
    auto *options = pictureButton(QStringLiteral("TextOptionsImg"), QStringLiteral("Text Options"),
        QStringLiteral(":/icons/buttons/options.png"), page);
    auto *zoom = pictureButton(QStringLiteral("ZoomImg"), QStringLiteral("Zoom In"),
        QStringLiteral(":/icons/buttons/zoom.png"), page);
    tools->addWidget(options);
    tools->addWidget(zoom);
    tools->addStretch(1);
    top->addLayout(tools);
    layout->addLayout(top, 1);

    m_paraHint = new QLabel(QStringLiteral("Click Next or Back when done."), page);
    m_paraHint->setObjectName(QStringLiteral("ParaHintLabel"));
    QFont hintFont = m_paraHint->font();
    hintFont.setBold(true);
    m_paraHint->setFont(hintFont);
    layout->addWidget(m_paraHint);

    auto *bottom = new QHBoxLayout;
    m_followCB
        = check(QStringLiteral("FollowCB"), QStringLiteral("&Follow on from previous"), page);
    bottom->addWidget(m_followCB);
    bottom->addSpacing(16);
    bottom->addWidget(new QLabel(QStringLiteral("Link:"), page));
    m_linkLabel = new QLabel(page);
    m_linkLabel->setObjectName(QStringLiteral("LinkLabel"));
    m_linkLabel->setTextFormat(Qt::PlainText);
    m_linkLabel->setStyleSheet(QStringLiteral("color: navy; text-decoration: underline;"));
    m_linkLabel->setCursor(Qt::PointingHandCursor);
    m_linkLabel->installEventFilter(this);
    bottom->addWidget(m_linkLabel, 1);
    layout->addLayout(bottom);

    // The text-options popup.
    m_paraPop = new QMenu(this);
    m_paraPop->setObjectName(QStringLiteral("ParaPop"));
    QMenu *sizeMenu = m_paraPop->addMenu(QStringLiteral("&Size"));
    m_paraSize = new QActionGroup(this);
    const char *const sizeCaptions[]
        = { "&Tiny", "&Small", "&Normal", "&Big", "&Very Big", "&Huge", "&Massive" };
    for (int i = 0; i < 7; ++i) {
        QAction *a = sizeMenu->addAction(QString::fromUtf8(sizeCaptions[i]));
        a->setObjectName(QStringLiteral("ParaSize%1").arg(i));
        a->setCheckable(true);
        a->setData(i);
        m_paraSize->addAction(a);
    }
    m_paraSize->actions()[2]->setChecked(true);
    QMenu *styleMenu = m_paraPop->addMenu(QStringLiteral("&Style"));
    const char *const styleCaptions[] = { "&Bold", "&Italic", "&Underline", "&Strikeout" };
    const char *const styleNames[] = { "ParaBold", "ParaItalic", "ParaUnderline", "ParaStrikeout" };
    for (int i = 0; i < 4; ++i) {
        QAction *a = styleMenu->addAction(QString::fromUtf8(styleCaptions[i]));
        a->setObjectName(QString::fromUtf8(styleNames[i]));
        a->setCheckable(true);
        m_paraStyle[static_cast<std::size_t>(i)] = a;
        connect(a, &QAction::triggered, this, &WizardWindow::memoPreview);
    }
    QMenu *alignMenu = m_paraPop->addMenu(QStringLiteral("&Allignment"));
    m_paraAlign = new QActionGroup(this);
    const char *const alignCaptions[] = { "&Left", "&Centre", "&Right" };
    for (int i = 0; i < 3; ++i) {
        QAction *a = alignMenu->addAction(QString::fromUtf8(alignCaptions[i]));
        a->setObjectName(QStringLiteral("ParaAlign%1").arg(i));
        a->setCheckable(true);
        a->setData(i);
        m_paraAlign->addAction(a);
    }
    m_paraAlign->actions()[0]->setChecked(true);
    connect(m_paraSize, &QActionGroup::triggered, this, &WizardWindow::memoPreview);
    connect(m_paraAlign, &QActionGroup::triggered, this, &WizardWindow::memoPreview);
    QAction *colour = m_paraPop->addAction(QStringLiteral("&Colour"));
    colour->setObjectName(QStringLiteral("ParaColourItem"));
    m_paraPop->addSeparator();
    QMenu *linkMenu = m_paraPop->addMenu(QStringLiteral("&Link"));
    QAction *url = linkMenu->addAction(QStringLiteral("&URL Link"));
    url->setObjectName(QStringLiteral("URLLink"));
    QAction *email = linkMenu->addAction(QStringLiteral("&email Link"));
    email->setObjectName(QStringLiteral("EmailLink"));
    linkMenu->addSeparator();
    QAction *anchor = linkMenu->addAction(QStringLiteral("&Anchor"));
    anchor->setObjectName(QStringLiteral("AnchorLink"));

    connect(colour, &QAction::triggered, this, &WizardWindow::pickParaColour);
    connect(url, &QAction::triggered, this, &WizardWindow::urlLinkClick);
    connect(email, &QAction::triggered, this, &WizardWindow::emailLinkClick);
    connect(anchor, &QAction::triggered, this, &WizardWindow::anchorLinkClick);
    connect(options, &QToolButton::clicked, this, &WizardWindow::showTextOptions);
    connect(zoom, &QToolButton::clicked, this, &WizardWindow::zoomParagraph);
    return page;
}

QWidget *WizardWindow::buildImagePage()
{
    QWidget *page = newPage(QStringLiteral("Image"), QStringLiteral("Insert an image.."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Image"), page));
    m_imageEdit = lineEdit(QStringLiteral("ImageEdit"), page);
    fileRow->addWidget(m_imageEdit, 1);
    auto *imageImg = pictureButton(QStringLiteral("ImageImg"), QStringLiteral("Select An Image"),
        QStringLiteral(":/icons/buttons/folder.png"), page);
    fileRow->addWidget(imageImg);
    layout->addLayout(fileRow);

    auto *grid = new QGridLayout;
    grid->addWidget(radioGroup(QStringLiteral("ImageAlignRG"), QStringLiteral("Position"),
                        { QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom"),
                            QStringLiteral("Left"), QStringLiteral("Right") },
                        2, m_imagePosition, 0, page),
        0, 0);

    auto *dims = new QGroupBox(QStringLiteral("Dimensions"), page);
    auto *dimsRow = new QHBoxLayout(dims);
    m_xEdit = lineEdit(QStringLiteral("XEdit"), dims);
    m_yEdit = lineEdit(QStringLiteral("YEdit"), dims);
    m_xEdit->setMaximumWidth(60);
    m_yEdit->setMaximumWidth(60);
    dimsRow->addWidget(m_xEdit);
    dimsRow->addWidget(new QLabel(QStringLiteral("X"), dims));
    dimsRow->addWidget(m_yEdit);
    dimsRow->addStretch(1);
    grid->addWidget(dims, 0, 1);

    grid->addWidget(
        radioGroup(QStringLiteral("ImgJustifyRG"), QStringLiteral("Align"),
            { QStringLiteral("Left Justify"), QStringLiteral("Centre"), QStringLiteral("Right") },
            1, m_imgJustify, 0, page),
        0, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto *altRow = new QHBoxLayout;
    altRow->addWidget(new QLabel(QStringLiteral("Alternative text:"), page));
    m_altText = lineEdit(QStringLiteral("AltTextEdit"), page);
    altRow->addWidget(m_altText, 1);
    layout->addLayout(altRow);

    auto *linkBox = radioGroup(QStringLiteral("LinkTypeRG"), QStringLiteral("Type of link"),
        { QStringLiteral("None"), QStringLiteral("URL"), QStringLiteral("email"),
            QStringLiteral("Anchor") },
        4, m_linkType, -1, page);
    auto *linkGrid = qobject_cast<QGridLayout *>(linkBox->layout());
    m_linkEdit = lineEdit(QStringLiteral("LinkEdit"), linkBox);
    linkGrid->addWidget(m_linkEdit, 1, 0, 1, 4);
    layout->addWidget(linkBox);

    auto *checks = new QHBoxLayout;
    m_imgFollow
        = check(QStringLiteral("ImgFollowOnCB"), QStringLiteral("&Follow on from previous"), page);
    m_importImage = check(QStringLiteral("ImportImageCB"), QStringLiteral("&Import Image"), page);
    m_linkBorder = check(QStringLiteral("LinkBorderCB"), QStringLiteral("&Show Link Border"), page);
    checks->addWidget(m_imgFollow);
    checks->addWidget(m_importImage);
    checks->addWidget(m_linkBorder);
    checks->addStretch(1);
    layout->addLayout(checks);
    layout->addStretch(1);

    connect(imageImg, &QToolButton::clicked, this, [this] {
        chooseFile(
            m_imageEdit, QStringLiteral("Select An Image.."), QString::fromUtf8(ImageFilter));
    });
    return page;
}

QWidget *WizardWindow::buildDividerPage()
{
    QWidget *page = newPage(QStringLiteral("Divider"), QStringLiteral("Insert a divider.."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());

    layout->addWidget(
        colourGroup(QStringLiteral("DivColPanel"), QStringLiteral("DivColImg"), m_divColour, page));

    auto *sizes = new QGroupBox(QStringLiteral("Size"), page);
    auto *grid = new QGridLayout(sizes);
    auto makeBar = [&](int row, const QString &caption, const QString &name, int max, int step,
                       QSlider *&bar, QLabel *&label, const QString &labelName) {
        grid->addWidget(new QLabel(caption, sizes), row, 0);
        bar = new QSlider(Qt::Horizontal, sizes);
        bar->setObjectName(name);
        bar->setRange(1, max);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setTickInterval(step);
        bar->setPageStep(step);
        grid->addWidget(bar, row, 1);
        label = new QLabel(QStringLiteral("1"), sizes);
        label->setObjectName(labelName);
        label->setMinimumWidth(36);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 2);
        connect(bar, &QSlider::valueChanged, label,
            [label](int value) { label->setText(QString::number(value)); });
    };
    makeBar(0, QStringLiteral("Thickness"), QStringLiteral("DivThickTB"), 15, 1, m_divThick,
        m_divThickLabel, QStringLiteral("DivThickLabel"));
    makeBar(1, QStringLiteral("Width %"), QStringLiteral("DivWidthTB"), 100, 5, m_divWidth,
        m_divWidthLabel, QStringLiteral("DivWidthLabel"));
    grid->setColumnStretch(1, 1);
    layout->addWidget(sizes);

    m_div3D = check(QStringLiteral("DividerEffectCB"), QStringLiteral("3D Effect"), page);
    layout->addWidget(m_div3D);
    layout->addStretch(1);
    return page;
}

QWidget *WizardWindow::buildAnchorPage()
{
    QWidget *page
        = newPage(QStringLiteral("Anchor"), QStringLiteral("Insert an anchor at this point."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->addWidget(new QLabel(QStringLiteral("Create a uniquely named anchor.."), page));
    m_anchorEdit = lineEdit(QStringLiteral("AnchorEdit"), page);
    layout->addWidget(m_anchorEdit);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("Text shown at the anchor (may be empty):"), page));
    m_anchorText = lineEdit(QStringLiteral("AnchorText"), page);
    layout->addWidget(m_anchorText);
    layout->addSpacing(8);
    m_anchorCB
        = check(QStringLiteral("AnchorCB"), QStringLiteral("&Follow on from previous"), page);
    layout->addWidget(m_anchorCB);
    layout->addSpacing(8);
    layout->addWidget(note(QStringLiteral("A link to \"#\" followed by the anchor's name jumps to "
                                          "this point of the page."),
        page));
    layout->addStretch(1);
    return page;
}

QWidget *WizardWindow::buildListPage()
{
    QWidget *page = newPage(
        QStringLiteral("List"), QStringLiteral("Insert a numbered or bulleted list here."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    auto *textCaption = new QLabel(QStringLiteral("List Text"), page);
    auto *linkCaption = new QLabel(QStringLiteral("Optional Link"), page);
    grid->addWidget(textCaption, 0, 0);
    grid->addWidget(linkCaption, 0, 1);
    for (int i = 0; i < 14; ++i) {
        auto *edit = lineEdit(QStringLiteral("L%1").arg(i + 1), page);
        m_listEdits[static_cast<std::size_t>(i)] = edit;
        grid->addWidget(edit, 1 + i / 2, i % 2);
    }
    layout->addLayout(grid);

    auto *below = new QHBoxLayout;
    below->addWidget(radioGroup(QStringLiteral("ListTypeRG"), QStringLiteral("List Type"),
        { QStringLiteral("Bulleted"), QStringLiteral("Numbered") }, 1, m_listType, 0, page));
    auto *sizeBox = new QGroupBox(QStringLiteral("Font Size"), page);
    auto *sizeLayout = new QVBoxLayout(sizeBox);
    m_listSize = sizeCombo(QStringLiteral("ListSizeCB"), sizeBox);
    sizeLayout->addWidget(m_listSize);
    below->addWidget(sizeBox);
    below->addWidget(colourGroup(
        QStringLiteral("ListColPanel"), QStringLiteral("ListColImg"), m_listColour, page));
    below->addStretch(1);
    layout->addLayout(below);
    layout->addStretch(1);
    return page;
}

QWidget *WizardWindow::buildIndexPage()
{
    QWidget *page = newPage(QStringLiteral("Index"), QStringLiteral("Insert a line index here."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->addWidget(
        note(QStringLiteral("Type a text to show on one line and the link it leads "
                            "to on the next, as many pairs as you like. Start an "
                            "e-mail link with \"mailto:\" and an anchor link with \"#\"."),
            page));
    auto *row = new QHBoxLayout;
    m_indexMemo = new LongTextEdit(page);
    m_indexMemo->setObjectName(QStringLiteral("IndexMemo"));
    m_indexMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_indexMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_indexMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    row->addWidget(m_indexMemo, 1);

    auto *side = new QVBoxLayout;
    auto *sizeBox = new QGroupBox(QStringLiteral("Size && Align"), page);
    auto *sizeLayout = new QVBoxLayout(sizeBox);
    m_indexSize = sizeCombo(QStringLiteral("IndexSizeCB"), sizeBox);
    m_indexSize->setToolTip(QStringLiteral("Font Size"));
    m_indexAlign = new QComboBox(sizeBox);
    m_indexAlign->setObjectName(QStringLiteral("IndexAlignCB"));
    m_indexAlign->setToolTip(QStringLiteral("Font Alignment"));
    m_indexAlign->addItems(
        { QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right") });
    sizeLayout->addWidget(m_indexSize);
    sizeLayout->addWidget(m_indexAlign);
    side->addWidget(sizeBox);
    auto *styleBox = new QGroupBox(QStringLiteral("Font Style"), page);
    auto *styleLayout = new QVBoxLayout(styleBox);
    const char *const names[]
        = { "IndexBoldCB", "IndexItalicCB", "IndexUnderlinedCB", "IndexStrikeoutCB" };
    const char *const captions[] = { "Bold", "Italic", "Underlined", "Strikeout" };
    for (int i = 0; i < 4; ++i) {
        m_indexStyle[static_cast<std::size_t>(i)]
            = check(QString::fromUtf8(names[i]), QString::fromUtf8(captions[i]), styleBox);
        styleLayout->addWidget(m_indexStyle[static_cast<std::size_t>(i)]);
    }
    side->addWidget(styleBox);
    side->addStretch(1);
    row->addLayout(side);
    layout->addLayout(row, 1);
    m_indexFollow
        = check(QStringLiteral("IndexFollowCB"), QStringLiteral("&Follow on from previous"), page);
    layout->addWidget(m_indexFollow);
    return page;
}

QWidget *WizardWindow::buildHTMLPage()
{
    QWidget *page = newPage(QStringLiteral("HTML"), QStringLiteral("Insert some HTML code here."));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->addWidget(
        note(QStringLiteral("The code is copied into the page exactly as you type it."), page));
    auto *row = new QHBoxLayout;
    m_htmlMemo = new LongTextEdit(page);
    m_htmlMemo->setObjectName(QStringLiteral("HTMLMemo"));
    m_htmlMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_htmlMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_htmlMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_htmlMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    row->addWidget(m_htmlMemo, 1);
    auto *tools = new QVBoxLayout;
    auto *zoom = pictureButton(QStringLiteral("HTMLZoomImg"), QStringLiteral("Zoom In"),
        QStringLiteral(":/icons/buttons/zoom.png"), page);
    tools->addWidget(zoom);
    tools->addStretch(1);
    row->addLayout(tools);
    layout->addLayout(row, 1);
    connect(zoom, &QToolButton::clicked, this, &WizardWindow::zoomHTML);
    return page;
}

QWidget *WizardWindow::buildPlaySoundPage()
{
    QWidget *page
        = newPage(QStringLiteral("PlaySound"), QStringLiteral("Add some sound to your page"));
    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Sound File"), page));
    m_soundEdit = lineEdit(QStringLiteral("SoundEdit"), page);
    fileRow->addWidget(m_soundEdit, 1);
    auto *browse = new QPushButton(QStringLiteral("&Browse"), page);
    browse->setObjectName(QStringLiteral("BrowseBtn"));
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    layout->addSpacing(6);

    const char *const names[] = { "AutoStartCB", "HideSoundCB", "ImportSoundCB", "FollowOnSndCB" };
    const char *const captions[] = { "&Autostart sound file", "&Hide Sound Image",
        "&Import Sound File", "&Follow On From Previous" };
    auto *grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        m_soundFlags[static_cast<std::size_t>(i)]
            = check(QString::fromUtf8(names[i]), QString::fromUtf8(captions[i]), page);
        grid->addWidget(m_soundFlags[static_cast<std::size_t>(i)], i % 2, i / 2);
    }
    layout->addLayout(grid);
    layout->addWidget(
        radioGroup(QStringLiteral("SoundAlignRG"), QStringLiteral("Sound Image Alignment"),
            { QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right") }, 3,
            m_soundAlign, 0, page));
    auto *play = new QPushButton(QStringLiteral("&Play your sound file now"), page);
    play->setObjectName(QStringLiteral("PlayBtn"));
    auto *playRow = new QHBoxLayout;
    playRow->addWidget(play);
    playRow->addStretch(1);
    layout->addLayout(playRow);
    layout->addWidget(note(QStringLiteral("With \"Hide Sound Image\" unticked the page shows a "
                                          "player for the sound; with \"Autostart\" ticked the "
                                          "sound plays as soon as the page opens."),
        page));
    layout->addStretch(1);
    connect(browse, &QPushButton::clicked, this, [this] {
        chooseFile(m_soundEdit, QStringLiteral("Locate A Wave Sound File.."),
            QStringLiteral("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*"));
    });
    connect(play, &QPushButton::clicked, this, &WizardWindow::playSound);
    return page;
}

QWidget *WizardWindow::buildUnknownKindPage()
{
    QWidget *page = newPage(
        QStringLiteral("UnknownKind"), QStringLiteral("This section cannot be edited here."));
    m_unknownText = note(QString(), page);
    m_unknownText->setObjectName(QStringLiteral("UnknownKindText"));
    page->layout()->addWidget(m_unknownText);
    qobject_cast<QVBoxLayout *>(page->layout())->addStretch(1);
    return page;
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
    add(file, "SaveAs1", "Save &As", ctrl('A'), &WizardWindow::saveProjectAs);
    add(file, "OpenPrevious1", "&Open Previous", ctrl('O'), &WizardWindow::openPrevious);
    m_showDecisionBox = add(file, "ShowDecisionBox1", "Show &Decision Box", ctrl('D'),
        [this] { runStartupDecision(true); });
    file->addSeparator();
    add(file, "CreateWebPage1", "&Create Web Page", ctrl('W'), &WizardWindow::createWebPageClick);
    connect(file, &QMenu::aboutToShow, this,
        [this] { m_showDecisionBox->setEnabled(!m_recentProjects.empty()); });

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
    tools->addSeparator();
    add(tools, "ImageList1", "&Image List", {}, [this] { m_imageForm->exec(); });
    add(tools, "FontColourList1", "&Font Colour List", {}, [this] { m_colourForm->exec(); });
    add(tools, "LinkList1", "&Link List", {}, [this] { m_linkForm->exec(); });
    tools->addSeparator();
    add(tools, "InsertHeadCode1", "Insert &Head Code", {}, &WizardWindow::insertHeadCode);
    add(tools, "UploadMyPage1", "&Upload My Page", {}, &WizardWindow::uploadClick);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    add(help, "Contents1", "&Contents", {}, [] { showHelpTopic(0); });
    add(help, "Introduction1", "&Introduction", {}, [] { showHelpTopic(1); });
    add(help, "GettingStarted1", "&Getting Started", {}, [] { showHelpTopic(2); });
    add(help, "LicenceAgreement1", "&Licence Agreement", {}, [] { showHelpTopic(4); });
}

// ---------------------------------------------------------------- showing and storing

int WizardWindow::visiblePage() const
{
    return m_pages->currentIndex();
}

void WizardWindow::showCurrentSection()
{
    selectManagerRow();
    m_labelPanel->clear();
    m_next->setEnabled(true);
    m_back->setEnabled(true);
    m_userLabel->setEnabled(false);
    const int count = static_cast<int>(m_project.sections.size());
    const int pos = m_currentSection;
    const QString section = QStringLiteral("Section %1, ").arg(pos + 3);
    if (pos > count - 1) {
        m_pages->setCurrentIndex(SelectPage);
        m_next->setEnabled(false);
        m_positionPanel->setText(section + QStringLiteral("Select next stage."));
        return;
    }
    if (pos == -1) {
        m_pages->setCurrentIndex(BackgroundPage);
        m_positionPanel->setText(section + QStringLiteral("Select background colour/image."));
        return;
    }
    if (pos == -2) {
        m_pages->setCurrentIndex(TitlebarPage);
        m_positionPanel->setText(section + QStringLiteral("Create a title."));
        return;
    }
    if (pos <= -3) {
        m_pages->setCurrentIndex(IntroductionPage);
        m_back->setEnabled(false);
        m_positionPanel->setText(QStringLiteral("Section 0, Introducing Sitorva 98...."));
        return;
    }
    m_userLabel->setEnabled(true);
    const std::vector<std::string> f
        = splitFields(m_project.sections[static_cast<std::size_t>(pos)], 20);
    m_labelPanel->setText(fromCp1252(f[field::UserLabel]));
    showRecord(f);
    m_positionPanel->setText(section + fromCp1252(f[field::Kind]));
}

void WizardWindow::showRecord(const std::vector<std::string> &f)
{
    using namespace field;
    auto num = [&f](int i) { return leadingInt(f[static_cast<std::size_t>(i)]); };
    auto at = [&f](int i) -> const std::string & { return f[static_cast<std::size_t>(i)]; };
    const int kind = kindPosition(f[Kind]);
    if (kind < 0) {
        m_unknownText->setText(
            QStringLiteral("This section is of the kind \"%1\", which Sitorva cannot edit. It "
                           "stays in the project exactly as it is.")
                .arg(fromCp1252(f[Kind])));
        m_pages->setCurrentIndex(UnknownKindPage);
        return;
    }
    switch (static_cast<KindPos>(kind)) {
    case KindPos::Heading:
        m_headingEdit->setText(fromCp1252(at(HeadingText)));
        setIndex(m_headSize, num(HeadingSize));
        for (int i = 0; i < 4; ++i)
            setFlag(m_headStyle[static_cast<std::size_t>(i)], at(HeadingBold + i));
        setIndex(m_headAlign, num(HeadingAlign));
        setSwatch(m_headColour, num(HeadingColour));
        break;
    case KindPos::Paragraph: {
        m_paraMemo->setText(memoText(at(ParaText)));
        const int size = num(ParaSize);
        if (size >= 0 && size < 7)
            m_paraSize->actions()[size]->setChecked(true);
        for (int i = 0; i < 4; ++i)
            m_paraStyle[static_cast<std::size_t>(i)]->setChecked(flagValue(at(ParaBold + i)));
        const int align = num(ParaAlign);
        if (align >= 0 && align < 3)
            m_paraAlign->actions()[align]->setChecked(true);
        m_paraColour = num(ParaColour);
        m_paraHint->setStyleSheet(QStringLiteral("color: %1;").arg(toQColor(m_paraColour).name()));
        setFlag(m_followCB, at(ParaFollowOn));
        m_linkLabel->setText(fromCp1252(at(ParaLink)));
        memoPreview();
        break;
    }
    case KindPos::Image:
        m_imageEdit->setText(fromCp1252(at(ImageFile)));
        setIndex(m_imagePosition, num(ImagePosition));
        m_xEdit->setText(fromCp1252(at(ImageWidth)));
        m_yEdit->setText(fromCp1252(at(ImageHeight)));
        m_altText->setText(fromCp1252(at(ImageAltText)));
        setIndex(m_linkType, num(ImageLinkType));
        m_linkEdit->setText(fromCp1252(at(ImageLink)));
        setFlag(m_imgFollow, at(ImageFollowOn));
        setIndex(m_imgJustify, num(ImageJustify));
        setFlag(m_importImage, at(ImageImport));
        setFlag(m_linkBorder, at(ImageLinkBorder));
        break;
    case KindPos::Divider: {
        setSwatch(m_divColour, num(DividerColour));
        // The bars take the number within their range; the labels keep the stored text.
        const QSignalBlocker thick(m_divThick);
        const QSignalBlocker width(m_divWidth);
        m_divThick->setValue(std::clamp(num(DividerThickness), 1, 15));
        m_divWidth->setValue(std::clamp(num(DividerWidth), 1, 100));
        m_divThickLabel->setText(fromCp1252(at(DividerThickness)));
        m_divWidthLabel->setText(fromCp1252(at(DividerWidth)));
        setFlag(m_div3D, at(Divider3D));
        break;
    }
    case KindPos::Anchor:
        m_anchorEdit->setText(fromCp1252(at(AnchorName)));
        m_anchorText->setText(fromCp1252(at(AnchorText)));
        setFlag(m_anchorCB, at(AnchorFollowOn));
        break;
    case KindPos::List:
        for (int i = 0; i < 14; ++i)
            m_listEdits[static_cast<std::size_t>(i)]->setText(fromCp1252(at(listText(1) + i)));
        setIndex(m_listType, num(ListType));
        setIndex(m_listSize, num(ListSize));
        setSwatch(m_listColour, num(ListColour));
        break;
    case KindPos::Index:
        m_indexMemo->setText(memoText(at(IndexLines)));
        setIndex(m_indexSize, num(IndexSize));
        for (int i = 0; i < 4; ++i)
            setFlag(m_indexStyle[static_cast<std::size_t>(i)], at(IndexBold + i));
        setIndex(m_indexAlign, num(IndexAlign));
        setFlag(m_indexFollow, at(IndexFollowOn));
        break;
    case KindPos::HTML:
        m_htmlMemo->setText(memoText(at(HTMLCode)));
        break;
    case KindPos::PlaySound:
        m_soundEdit->setText(fromCp1252(at(SoundFile)));
        for (int i = 0; i < 4; ++i)
            setFlag(m_soundFlags[static_cast<std::size_t>(i)], at(SoundAutoStart + i));
        setIndex(m_soundAlign, num(SoundAlign));
        break;
    }
    m_pages->setCurrentIndex(HeadingPage + kind);
}

// The kind's fields from field 2 on, encoded as the record holds them.
std::vector<std::string> WizardWindow::pageFields(int page) const
{
    auto index = [](const QButtonGroup *g) { return intText(g->checkedId()); };
    auto comboIndex = [](const QComboBox *c) { return intText(c->currentIndex()); };
    auto colour = [](const QWidget *w) { return intText(swatchColour(w)); };
    std::vector<std::string> out;
    switch (static_cast<KindPos>(page - HeadingPage)) {
    case KindPos::Heading:
        out = { toCp1252(m_headingEdit->text()), index(m_headSize) };
        for (const QCheckBox *c : m_headStyle)
            out.push_back(flag(c));
        out.push_back(index(m_headAlign));
        out.push_back(colour(m_headColour));
        break;
    case KindPos::Paragraph: {
        const QAction *size = m_paraSize->checkedAction();
        const QAction *align = m_paraAlign->checkedAction();
        out = { memoField(m_paraMemo->text()), intText(size ? size->data().toInt() : -1) };
        for (const QAction *a : m_paraStyle)
            out.push_back(flag(a));
        out.push_back(intText(align ? align->data().toInt() : -1));
        out.push_back(intText(m_paraColour));
        out.push_back(flag(m_followCB));
        out.push_back(toCp1252(m_linkLabel->text()));
        break;
    }
    case KindPos::Image:
        out = { toCp1252(m_imageEdit->text()), index(m_imagePosition), toCp1252(m_xEdit->text()),
            toCp1252(m_yEdit->text()), toCp1252(m_altText->text()), index(m_linkType),
            toCp1252(m_linkEdit->text()), flag(m_imgFollow), index(m_imgJustify),
            flag(m_importImage), flag(m_linkBorder) };
        break;
    case KindPos::Divider:
        out = { colour(m_divColour), toCp1252(m_divThickLabel->text()),
            toCp1252(m_divWidthLabel->text()), flag(m_div3D) };
        break;
    case KindPos::Anchor:
        out = { toCp1252(m_anchorEdit->text()), toCp1252(m_anchorText->text()), flag(m_anchorCB) };
        break;
    case KindPos::List:
        for (const QLineEdit *e : m_listEdits)
            out.push_back(toCp1252(e->text()));
        out.push_back(index(m_listType));
        out.push_back(comboIndex(m_listSize));
        out.push_back(colour(m_listColour));
        break;
    case KindPos::Index:
        out = { memoField(m_indexMemo->text()), comboIndex(m_indexSize) };
        for (const QCheckBox *c : m_indexStyle)
            out.push_back(flag(c));
        out.push_back(comboIndex(m_indexAlign));
        out.push_back(flag(m_indexFollow));
        break;
    case KindPos::HTML:
        out = { memoField(m_htmlMemo->text()) };
        break;
    case KindPos::PlaySound:
        out = { toCp1252(m_soundEdit->text()) };
        for (const QCheckBox *c : m_soundFlags)
            out.push_back(flag(c));
        out.push_back(index(m_soundAlign));
        break;
    }
    return out;
}

void WizardWindow::storeCurrentPage()
{
    const int count = static_cast<int>(m_project.sections.size());
    if (m_currentSection < 0 || m_currentSection > count - 1)
        return;
    std::string &record = m_project.sections[static_cast<std::size_t>(m_currentSection)];
    const int page = m_pages->currentIndex();
    if (page == UnknownKindPage) {
        // A record of an unknown kind keeps every field; only a new user label is written.
        const std::string label = toCp1252(m_labelPanel->text());
        if (splitFields(record, field::UserLabel)[field::UserLabel] != label)
            record = replaceField(record, field::UserLabel, label);
        return;
    }
    if (page < HeadingPage || page > PlaySoundPage)
        return;
    // The page must be the one shown for this record: a record is never overwritten with the
    // fields of another kind.
    const std::string_view kind = KindNames[page - HeadingPage];
    if (splitFields(record, field::Kind)[field::Kind] != kind)
        return;
    std::vector<std::string> fields { std::string(kind), toCp1252(m_labelPanel->text()) };
    std::vector<std::string> rest = pageFields(page);
    fields.insert(
        fields.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    record = joinFields(fields);
    // Unsaved changes are found by comparing the project with its last saved state, so no
    // snapshot of the list is kept here.
}

void WizardWindow::showProjectValues()
{
    const QSignalBlocker title(m_titleEdit);
    const QSignalBlocker image(m_backgroundEdit);
    const QSignalBlocker import(m_importBG);
    m_titleEdit->setText(fromCp1252(m_project.pageTitle));
    m_backgroundEdit->setText(fromCp1252(m_project.backgroundImage));
    m_importBG->setChecked(m_project.importBackgroundImage);
    setSwatch(m_colourPanel, m_project.backgroundColour);
}

void WizardWindow::setCaption()
{
    setWindowTitle(fromCp1252(projectCaption(pathToBytes(m_projectFileName))));
}

void WizardWindow::refreshSectionManager()
{
    if (m_sectionView)
        m_sectionView->refreshSectionManager();
}

void WizardWindow::selectManagerRow()
{
    if (m_sectionView)
        m_sectionView->selectRow(m_currentSection + 3);
}

void WizardWindow::setPageOptions(const PageOptions &options)
{
    m_pageOptions = options;
    findChild<QAction *>(QStringLiteral("SiteLastUpdated1"))->setChecked(options.siteLastUpdated);
    findChild<QAction *>(QStringLiteral("UpdateBlack1"))->setChecked(options.updateBlack);
}

void WizardWindow::sectionListChanged()
{
    // Nothing to record: unsaved changes are found by comparing with the saved project.
}

// ---------------------------------------------------------------- wizard buttons

void WizardWindow::goNext()
{
    if (m_currentSection >= static_cast<int>(m_project.sections.size()))
        return;
    storeCurrentPage();
    ++m_currentSection;
    showCurrentSection();
}

void WizardWindow::goBack()
{
    if (m_currentSection <= -3)
        return;
    storeCurrentPage();
    --m_currentSection;
    showCurrentSection();
}

void WizardWindow::acceptSection()
{
    const int count = static_cast<int>(m_project.sections.size());
    if (m_currentSection <= count - 1)
        return;
    const QListWidgetItem *item = m_selectBox->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    m_project.sections.push_back(newSectionRecord(m_selectBox->row(item)));
    m_currentSection = count;
    showCurrentSection();
    refreshSectionManager();
    selectManagerRow();
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
    const int page = std::clamp(m_pages->currentIndex(), 0, static_cast<int>(UnknownKindPage));
    showHelpTopic(HelpTopics[page]);
}

// ---------------------------------------------------------------- paragraph options

void WizardWindow::showTextOptions()
{
    m_paraPop->popup(QCursor::pos());
}

void WizardWindow::memoPreview()
{
    QFont f = m_paraMemo->font();
    f.setItalic(m_paraStyle[1]->isChecked());
    f.setBold(m_paraStyle[0]->isChecked());
    f.setUnderline(m_paraStyle[2]->isChecked());
    f.setStrikeOut(m_paraStyle[3]->isChecked());
    m_paraMemo->setFont(f);
    const QList<QAction *> align = m_paraAlign->actions();
    Qt::Alignment a;
    if (align[0]->isChecked())
        a = Qt::AlignLeft;
    else if (align[1]->isChecked())
        a = Qt::AlignHCenter;
    else if (align[2]->isChecked())
        a = Qt::AlignRight;
    else
        return;
    QTextOption option = m_paraMemo->document()->defaultTextOption();
    option.setAlignment(a);
    m_paraMemo->document()->setDefaultTextOption(option);
}

void WizardWindow::pickParaColour()
{
    if (const std::optional<QColor> c = Dialogs::askColour(this, toQColor(m_paraColour))) {
        m_paraColour = fromQColor(*c);
        m_paraHint->setStyleSheet(QStringLiteral("color: %1;").arg(c->name()));
    }
}

void WizardWindow::urlLinkClick()
{
    const std::optional<QString> link = Dialogs::askLine(this,
        QStringLiteral("Create a URL Link for this text.."),
        QStringLiteral("Specify a URL/Internet address that can be accessed\nwhen the user of your "
                       "web page clicks on the text.\n\nExample: Enter https://www.example.com/"),
        m_linkLabel->text());
    if (link)
        m_linkLabel->setText(*link);
}

void WizardWindow::emailLinkClick()
{
    std::string bare = toCp1252(m_linkLabel->text());
    replaceAll("mailto:", "", bare);
    const std::optional<QString> address = Dialogs::askLine(this,
        QStringLiteral("Create an email Link for this text.."),
        QStringLiteral("Specify the email address that can be accessed\nwhen the user of your web "
                       "page clicks on the text.\n\nExample: Enter someone@example.com"),
        fromCp1252(bare));
    if (address)
        m_linkLabel->setText(QStringLiteral("mailto:") + *address);
}

void WizardWindow::anchorLinkClick()
{
    QString bare = m_linkLabel->text();
    bare.remove(QLatin1Char('#'));
    const std::optional<QString> anchor = Dialogs::askLine(this,
        QStringLiteral("Create an Anchor Link for this text.."),
        QStringLiteral("Specify the anchor point on this page that you want to jump to\nwhen the "
                       "user of your web page clicks on the text.\n\nExample: Enter TopOfPage"),
        bare);
    if (anchor)
        m_linkLabel->setText(QStringLiteral("#") + *anchor);
}

void WizardWindow::zoomParagraph()
{
    const Qt::Alignment align = m_paraMemo->document()->defaultTextOption().alignment();
    m_paraMemo->setText(Dialogs::zoomEdit(
        this, QStringLiteral("Paragraph.."), m_paraMemo->text(), align, m_paraMemo->font()));
}

void WizardWindow::zoomHTML()
{
    m_htmlMemo->setText(Dialogs::zoomEdit(
        this, QStringLiteral("HTML Editor.."), m_htmlMemo->text(), Qt::AlignLeft, QFont()));
}

void WizardWindow::insertHeadCode()
{
    QString code = fromCp1252(m_project.headCode);
    code.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_project.headCode = crlfBytes(Dialogs::zoomEdit(
        this, QStringLiteral("Insert Your Head Code Here.."), code, Qt::AlignLeft, QFont()));
}

// ---------------------------------------------------------------- other page commands

void WizardWindow::pickSwatchColour(QWidget *swatchWidget)
{
    if (const std::optional<QColor> c
        = Dialogs::askColour(this, toQColor(swatchColour(swatchWidget))))
        setSwatch(swatchWidget, fromQColor(*c));
}

void WizardWindow::chooseFile(QLineEdit *edit, const QString &title, const QString &filter)
{
    const QString path = Dialogs::askOpenFile(this, title, edit->text(), QString(), filter);
    if (!path.isEmpty())
        edit->setText(path);
}

void WizardWindow::playSound()
{
    const QString name = m_soundEdit->text();
    if (name.isEmpty())
        sound().playSystemSound(QStringLiteral("SystemStart"));
    else if (QFileInfo(name).isFile())
        sound().playFile(name);
}

// Hands a link target to the desktop: a web address, "mailto:" address or file.
void WizardWindow::launchLink(const QString &target)
{
    const LaunchResult result = launchFile(target);
    if (!result.ok)
        Dialogs::info(this, result.text);
}

bool WizardWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_linkLabel && event->type() == QEvent::MouseButtonRelease) {
        if (!m_linkLabel->text().isEmpty())
            launchLink(m_linkLabel->text());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
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
    const FtpSettings before { m_project.ftpHost, m_project.ftpUserId, m_project.ftpPassword,
        m_project.ftpInitDir };
    const FtpSettings after = showUploadWindow(this, before);
    m_project.ftpHost = after.host;
    m_project.ftpUserId = after.userId;
    m_project.ftpPassword = after.password;
    m_project.ftpInitDir = after.initDir;
}

void WizardWindow::createWebPageClick()
{
    storeCurrentPage();
    runCreateWebPage(this, m_project, m_lists, m_pageOptions, m_projectFileName);
}

void WizardWindow::previewClick()
{
    storeCurrentPage();
    runPreview(this, m_project, m_lists, m_pageOptions);
}

// ---------------------------------------------------------------- project commands

bool WizardWindow::askSaveChanges()
{
    storeCurrentPage();
    if (!projectChanged())
        return true;
    switch (Dialogs::confirm(this,
        QStringLiteral("Current Project Has Been Changed!\n\nSave It Now?"), Buttons::YesNoAbort)) {
    case Answer::Yes:
        saveProjectToPath(m_projectFileName);
        return !projectChanged();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void WizardWindow::saveProjectToPath(const QString &path)
{
    storeCurrentPage();
    if (path.isEmpty()) {
        saveProjectAs();
        return;
    }
    const ProjectResult saved = saveProjectFile(path.toStdString(), m_project);
    if (!saved.ok) {
        Dialogs::error(this, QString::fromStdString(saved.error));
        return;
    }
    m_projectFileName = path;
    setCaption();
    m_savedProject = m_project;
    addRecentProject(m_recentProjects, pathToBytes(path));
    const FileResult recent = writeLinesFile(
        (programFolder() + QString::fromLatin1(RecentFileName)).toStdString(), m_recentProjects);
    if (!recent.ok)
        Dialogs::error(this, QString::fromStdString(recent.error));
}

void WizardWindow::saveProject()
{
    saveProjectToPath(m_projectFileName);
}

void WizardWindow::saveProjectAs()
{
    const QString path = Dialogs::askSaveFile(this, QStringLiteral("Save This Project As.."),
        m_projectFileName, QStringLiteral("STV"), QString::fromUtf8(ProjectFilter));
    if (!path.isEmpty())
        saveProjectToPath(path);
}

void WizardWindow::openProject()
{
    m_pendingProjectFile.clear();
    loadProject();
}

bool WizardWindow::loadProjectFromPath(const QString &path)
{
    m_pendingProjectFile = path;
    return loadProject();
}

bool WizardWindow::loadProject()
{
    const bool go = askSaveChanges();
    QString path = m_pendingProjectFile;
    m_pendingProjectFile.clear();
    if (!go)
        return false;
    if (path.isEmpty())
        path = Dialogs::askOpenFile(this, QStringLiteral("Load a Sitorva Project File.."),
            m_projectFileName, QStringLiteral("STV"), QString::fromUtf8(ProjectFilter));
    if (path.isEmpty())
        return false;
    Project loaded;
    const ProjectResult r = loadProjectFile(path.toStdString(), loaded);
    if (!r.ok) {
        Dialogs::error(this, QString::fromStdString(r.error));
        return false;
    }
    m_project = std::move(loaded);
    m_savedProject = m_project;
    showProjectValues();
    m_currentSection = -3;
    showCurrentSection();
    m_projectFileName = path;
    setCaption();
    refreshSectionManager();
    return true;
}

void WizardWindow::newProject()
{
    if (!askSaveChanges())
        return;
    m_project.sections.clear();
    m_currentSection = -3;
    showCurrentSection();
    refreshSectionManager();
    m_projectFileName.clear();
    m_project.pageFileName.clear();
    m_savedProject = m_project;
    setCaption();
}

void WizardWindow::openPrevious()
{
    stv::openPrevious(*this);
}

void WizardWindow::runStartupDecision(bool fromMenu)
{
    if (fromMenu)
        showDecisionBox(*this);
    else
        stv::runStartupDecision(*this, false);
}

void WizardWindow::loadConfiguration()
{
    const Configuration config
        = loadConfigurationIntoWindows(this, { this, m_sectionManagerWindow, m_decide }, m_lists);
    setPageOptions(config.pageOptions);
    m_colourForm->refresh();
    m_linkForm->refresh();
    m_imageForm->refresh();
}

void WizardWindow::saveConfiguration()
{
    saveConfigurationFromWindows(
        this, { this, m_sectionManagerWindow, m_decide }, m_pageOptions, m_lists);
}

void WizardWindow::closeEvent(QCloseEvent *event)
{
    if (!askSaveChanges()) {
        event->ignore();
        return;
    }
    saveConfiguration();
    event->accept();
    emit closed();
}

} // namespace stv
