#include "Hlpunit.h"

#include "help/Gauge.h"
#include "help/HelpPrint.h"
#include "help/ShowHelp.h"
#include "model/FileIO.h"
#include "model/InfoStrUnit.h"
#include "model/StuffUnit.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"
#include "platform/LaunchFile.h"
#include "platform/IconStrip.h"
#include "platform/ProgramFolder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace stv
{

bool THlpForm::s_keepHelpOnTop = true;
THlpForm *THlpForm::s_instance = nullptr;

namespace
{

constexpr int ClientWidth = 508;
constexpr int ClientHeight = 442;
constexpr int TextBoxWidth = 480;
constexpr int TextBoxHeight = 388;
const QColor LinkColour(0, 128, 0);
const QColor RedColour(255, 0, 0);
const QColor ItalicColour(0, 0, 255);
const QColor TitleColour(0, 0, 255);
// The main window's "Load a Sitorva Project File" picture, shown for picture 0.
const QString LoadButtonPicture = QStringLiteral(":/icons/buttons/load.png");
const QString WebSite = QStringLiteral("https://sitorva.org/");

QFont PixelFont(int pixels, const QStringList &families = {})
{
    QFont font;
    if (!families.isEmpty())
        font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

QFont TextFont()
{
    return PixelFont(13,
        { QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("DejaVu Sans") });
}

QFont StyleFont(SpanStyle style)
{
    QFont font = TextFont();
    font.setUnderline(style == SpanStyle::Link);
    font.setBold(style == SpanStyle::Bold);
    font.setItalic(style == SpanStyle::Italic);
    return font;
}

QColor StyleColour(SpanStyle style)
{
    switch (style) {
    case SpanStyle::Link:
        return LinkColour;
    case SpanStyle::Red:
        return RedColour;
    case SpanStyle::Italic:
        return ItalicColour;
    case SpanStyle::Plain:
    case SpanStyle::Bold:
        break;
    }
    return Qt::black;
}

// Pictures drawn on a raised button face.
bool OnButtonFace(int n)
{
    return n == 14 || n == 20 || n == 21 || (n >= 25 && n <= 31) || (n >= 33 && n <= 41)
        || (n >= 43 && n <= 45) || (n >= 47 && n <= 49) || n == 56;
}

QIcon ArrowIcon(bool left)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 96, 0));
    QPolygon arrow({ QPoint(1, 8), QPoint(8, 1), QPoint(8, 5), QPoint(15, 5), QPoint(15, 11),
        QPoint(8, 11), QPoint(8, 15) });
    if (!left)
        arrow = QTransform(-1, 0, 0, 1, 16, 0).map(arrow);
    p.drawPolygon(arrow);
    return QIcon(pixmap);
}

QFrame *FramedPanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(geometry);
    return panel;
}

QWidget *Rule(QWidget *parent, int y)
{
    auto *rule = new QWidget(parent);
    rule->setGeometry(0, y, ClientWidth, 1);
    rule->setAutoFillBackground(true);
    QPalette pal = rule->palette();
    pal.setColor(QPalette::Window, Qt::black);
    rule->setPalette(pal);
    return rule;
}

void MakeWhite(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::white);
    widget->setPalette(pal);
}

} // namespace

// The paint box: hands painting and the mouse to the window.
class THelpTextBox : public QWidget
{
public:
    THelpTextBox(THlpForm *form, QWidget *parent)
        : QWidget(parent)
        , m_form(form)
    {
        setMouseTracking(true);
        setCursor(Qt::IBeamCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_form->TextBoxPaint(painter);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_form->TextBoxMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        m_form->TextBoxMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
        m_form->TextBoxMouseDown();
    }

private:
    THlpForm *m_form;
};

THlpForm::THlpForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    // FormCreate.
    setObjectName(QStringLiteral("HlpForm"));
    setWindowTitle(QStringLiteral("Sitorva 98 .. On-Line Help System."));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(ClientWidth, ClientHeight);

    const QFont interfaceFont = PixelFont(11);
    auto button = [&](const char *name, const QString &caption, const QRect &geometry) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(interfaceFont);
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("&Contents"), QRect(1, 2, 58, 20));
    Button3 = button("Button3", QStringLiteral("&Back"), QRect(60, 2, 44, 20));
    Button4 = button("Button4", QStringLiteral("&Print"), QRect(105, 2, 47, 20));
    BitBtn1 = button("BitBtn1", QString(), QRect(153, 2, 40, 20));
    BitBtn2 = button("BitBtn2", QString(), QRect(194, 2, 40, 20));
    BitBtn1->setIcon(ArrowIcon(true));
    BitBtn2->setIcon(ArrowIcon(false));
    BitBtn1->setToolTip(QStringLiteral("Previous Topic"));
    BitBtn2->setToolTip(QStringLiteral("Next Topic"));
    Button3->setEnabled(false);

    QFrame *gaugePanel = FramedPanel(this, QRect(236, 2, 270, 20));
    Gauge = new TGauge(gaugePanel);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setFont(interfaceFont);
    Gauge->setGeometry(2, 2, 266, 16);
    Gauge->setMinValue(0);

    // The title strip: white, ruled along its top and bottom.
    auto *strip = new QWidget(this);
    strip->setGeometry(0, 24, ClientWidth, 30);
    MakeWhite(strip);
    Rule(strip, 0);
    Rule(strip, 29);
    Label1 = new QLabel(strip);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont
        = PixelFont(16, { QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans") });
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    QPalette titlePalette = Label1->palette();
    titlePalette.setColor(QPalette::WindowText, TitleColour);
    Label1->setPalette(titlePalette);
    Label1->setGeometry(8, 5, 340, 20);
    QFrame *checkPanel = FramedPanel(strip, QRect(360, 4, 144, 22));
    HOnTopCheck = new QCheckBox(QStringLiteral("&Keep Help On Top"), checkPanel);
    HOnTopCheck->setObjectName(QStringLiteral("HOnTopCheck"));
    HOnTopCheck->setFont(interfaceFont);
    HOnTopCheck->setGeometry(6, 2, 134, 18);

    // The white panel with the paint box and its scroll bar.
    auto *textPanel = new QWidget(this);
    textPanel->setGeometry(2, ClientHeight - 389, 504, 389);
    MakeWhite(textPanel);
    TextBox = new THelpTextBox(this, textPanel);
    TextBox->setObjectName(QStringLiteral("TextBox"));
    TextBox->setGeometry(5, 0, TextBoxWidth, TextBoxHeight);
    TextBox->setFont(TextFont());
    ScrollBar1 = new QScrollBar(Qt::Vertical, textPanel);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(5 + TextBoxWidth, 0, 16, TextBoxHeight);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(10);
    ScrollBar1->setRange(0, 1);

    connect(Button1, &QPushButton::clicked, this, &THlpForm::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &THlpForm::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &THlpForm::Button4Click);
    connect(BitBtn1, &QPushButton::clicked, this, &THlpForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &THlpForm::BitBtn2Click);
    connect(HOnTopCheck, &QCheckBox::clicked, this, &THlpForm::HOnTopCheckClick);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &THlpForm::ScrollBar1Change);

    // Keys reach the window before its controls.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    HOnTopCheck->setChecked(s_keepHelpOnTop);
    setWindowFlag(Qt::WindowStaysOnTopHint, s_keepHelpOnTop);
    CentreOnScreen(this);

    // Row height: an 8-point font at the screen's resolution plus 7 pixels.
    const QScreen *shown = screen();
    const double dpi = shown ? shown->logicalDotsPerInchY() : 96.0;
    m_linePitch = static_cast<int>(std::lround(8.0 * dpi / 72.0)) + 7;
    m_linesInView = TextBoxHeight / m_linePitch;
    m_hoverLink = -1;
    m_loadPicture = QPixmap(LoadButtonPicture);

    std::string bytes;
    if (ReadWholeFile(helpFile().toStdString(), bytes).ok)
        m_lastTopic = static_cast<std::uint16_t>(LastTopicOf(bytes));

    if (!s_instance)
        s_instance = this;
}

THlpForm::~THlpForm()
{
    if (s_instance == this)
        s_instance = nullptr;
}

THlpForm *THlpForm::instance()
{
    if (!s_instance)
        new THlpForm(); // lives, hidden when closed, until the program ends
    return s_instance;
}

QWidget *THlpForm::textBox() const
{
    return TextBox;
}

QString THlpForm::helpFile() const
{
    return HelpFilePath();
}

void THlpForm::ShowTopic(unsigned topic)
{
    if (isVisible() && topic != m_currentTopic)
        close();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    m_currentTopic = static_cast<std::uint16_t>(std::min(topic, 65535u));
    if (!isVisible()) {
        show();
    } else {
        raise();
        activateWindow();
    }
}

void THlpForm::FormShow()
{
    CentreOnScreen(this);
    LoadChapter(m_currentTopic);
}

void THlpForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_changingFlags)
        FormShow();
}

void THlpForm::closeEvent(QCloseEvent *event)
{
    // FormClose: the history lasts only while the window is open.
    m_history.clear();
    event->accept();
}

bool THlpForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool THlpForm::FormKeyDown(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    close();
    return true;
}

bool THlpForm::LoadChapter(unsigned n)
{
    const QString path = helpFile();
    std::string bytes;
    const FileResult read = ReadWholeFile(path.toStdString(), bytes);
    if (!read.ok) {
        if (!QFileInfo::exists(path))
            Dialogs::errorAbort(this, QStringLiteral("Cannot Locate Help File..\n\n") + path);
        else
            Dialogs::error(this, QString::fromStdString(read.error));
        return false;
    }

    m_chapterLines.clear();
    m_currentTopic = static_cast<std::uint16_t>(std::min(n, 65535u));
    if (!m_history.empty())
        m_history.leave(ScrollBar1->value());

    HelpChapter chapter = FindChapter(bytes, m_currentTopic);
    m_chapterLines = std::move(chapter.lines);
    if (chapter.found)
        m_chapterTitle = chapter.title;

    ScrollBar1->setValue(0);
    ScrollBar1->setMaximum(
        m_chapterLines.empty() ? 1 : static_cast<int>(m_chapterLines.size()) - 1);

    m_history.append(m_currentTopic);
    Button3->setEnabled(m_history.size() > 1);
    Gauge->setMaxValue(ScrollBar1->maximum());
    Label1->setText(FromCp1252(m_chapterTitle));
    return true;
}

void THlpForm::DrawLines(int top)
{
    layoutRows(top);
    TextBox->update();
}

void THlpForm::layoutRows(int top)
{
    m_rows.clear();
    const QFontMetrics plain(StyleFont(SpanStyle::Plain));
    const int gapWidth = plain.horizontalAdvance(QString::fromLatin1(PicturePlaceholder));
    int links = 0;
    for (int r = 0; r <= m_linesInView; ++r) {
        DrawnRow row;
        row.y = r * m_linePitch;
        const long long index = static_cast<long long>(top) + r;
        if (index < 0 || index >= static_cast<long long>(m_chapterLines.size())) {
            m_rows.push_back(std::move(row));
            continue;
        }
        std::string &line = m_chapterLines[static_cast<std::size_t>(index)];
        line = WithoutPlaceholders(std::move(line));
        const LineLayout layout = LayoutLine(line);

        int x = 0;
        int linkLeft = -1;
        int linkRight = 0;
        for (const LinePiece &piece : layout.pieces) {
            DrawnPiece drawn;
            drawn.x = x;
            drawn.style = piece.style;
            drawn.picture = piece.picture;
            if (piece.isPicture()) {
                drawn.width = gapWidth;
            } else {
                drawn.text = FromCp1252(piece.text);
                drawn.width = QFontMetrics(StyleFont(piece.style)).horizontalAdvance(drawn.text);
            }
            if (piece.style == SpanStyle::Link) {
                if (linkLeft < 0)
                    linkLeft = x;
                linkRight = x + drawn.width;
            }
            x += drawn.width;
            row.pieces.push_back(std::move(drawn));
        }
        if (layout.hasLink()) {
            const int slot = std::min(links, LinkSpotCount - 1);
            auto s16
                = [](int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); };
            m_linkSpots[static_cast<std::size_t>(slot)] = { s16(std::max(linkLeft, 0)), s16(row.y),
                s16(linkRight), s16(row.y + m_linePitch), s16(layout.linkTarget) };
            links = std::min(links + 1, LinkSpotCount);
        }
        m_rows.push_back(std::move(row));
    }
    Gauge->setProgress(top);
    for (int i = links; i < LinkSpotCount; ++i)
        m_linkSpots[static_cast<std::size_t>(i)] = LinkSpot {};
    m_linkCount = links;
}

void THlpForm::TextBoxPaint(QPainter &painter)
{
    layoutRows(ScrollBar1->value());
    const QFontMetrics plain(StyleFont(SpanStyle::Plain));
    for (const DrawnRow &row : m_rows) {
        painter.fillRect(0, row.y, TextBox->width(), m_linePitch, Qt::white);
        for (const DrawnPiece &piece : row.pieces) {
            if (piece.picture >= 0 || piece.text.isEmpty())
                continue;
            const QFont font = StyleFont(piece.style);
            painter.setFont(font);
            painter.setPen(StyleColour(piece.style));
            painter.drawText(piece.x, row.y + QFontMetrics(font).ascent(), piece.text);
        }
        for (const DrawnPiece &piece : row.pieces) {
            if (piece.picture < 0)
                continue;
            painter.fillRect(piece.x, row.y - 3, piece.width, m_linePitch + 3, Qt::white);
            drawPicture(painter, piece.picture, piece.x, row.y);
            painter.setBrush(Qt::white);
            painter.setPen(Qt::black);
        }
    }
}

void THlpForm::drawPicture(QPainter &painter, int picture, int x, int rowTop) const
{
    const int width = QFontMetrics(StyleFont(SpanStyle::Plain))
                          .horizontalAdvance(QString::fromLatin1(PicturePlaceholder));
    if (OnButtonFace(picture)) {
        painter.setBrush(palette().color(QPalette::Button));
        DrawButtonFace(painter, x, rowTop - 3, x + width, rowTop + m_linePitch);
    }
    if (picture == 0) {
        if (!m_loadPicture.isNull())
            painter.drawPixmap(x, rowTop - 14, m_loadPicture);
    } else if (picture >= 1 && picture <= 20) {
        const QPixmap &icon = StripIcon(picture - 1);
        if (!icon.isNull())
            painter.drawPixmap(x, rowTop, icon);
    } else if (picture == 46) {
        painter.setPen(Qt::black);
        painter.drawLine(0, rowTop, frameGeometry().width() - 55 - 1, rowTop);
    }
}

void THlpForm::DrawButtonFace(QPainter &painter, int x1, int y1, int x2, int y2) const
{
    // Coordinates as a rectangle's edges: the right and bottom edges are outside it, and each
    // line includes its start point and excludes its end point.
    const QPen pen = painter.pen();
    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), painter.brush());
    painter.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 2, y2 - 2)));
    painter.setPen(Qt::white);
    painter.drawLine(x1 + 1, y2 - 2, x1 + 1, y1 + 2);
    painter.drawLine(x1 + 1, y1 + 1, x2 - 2, y1 + 1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(x2 - 2, y1 + 1, x2 - 2, y2 - 3);
    painter.drawLine(x2 - 2, y2 - 2, x1 + 1, y2 - 2);
    painter.setPen(pen);
}

void THlpForm::ScrollBar1Change(int position)
{
    if (!m_scrollSilent)
        DrawLines(position);
}

void THlpForm::TextBoxMouseMove(int x, int y)
{
    m_mouse = QPoint(x, y);
    m_hoverLink = -1;
    for (int i = 0; i < m_linkCount; ++i) {
        const LinkSpot &s = m_linkSpots[static_cast<std::size_t>(i)];
        if (s.left <= x && x <= s.right && s.top <= y && y <= s.bottom) {
            m_hoverLink = i;
            break;
        }
    }
    const Qt::CursorShape shape = m_hoverLink >= 0 ? Qt::PointingHandCursor : Qt::IBeamCursor;
    if (TextBox->cursor().shape() != shape)
        TextBox->setCursor(shape);
}

void THlpForm::TextBoxMouseDown()
{
    if (m_hoverLink < 0)
        return;
    const int target = m_linkSpots[static_cast<std::size_t>(m_hoverLink)].target;
    if (target == WebSiteTopic) {
        openWebSite();
        return;
    }
    if (LoadChapter(static_cast<unsigned>(std::max(target, 0))))
        DrawLines(0);
    // The spot under the mouse now belongs to the chapter on show.
    TextBoxMouseMove(m_mouse.x(), m_mouse.y());
}

void THlpForm::openWebSite()
{
    const LaunchResult result = LaunchFile(WebSite);
    if (!result.ok)
        Dialogs::info(this, result.text);
}

void THlpForm::Button1Click()
{
    if (LoadChapter(0))
        DrawLines(0);
}

void THlpForm::Button3Click()
{
    if (m_history.size() > 1) {
        const HelpHistory::Return back = m_history.previous();
        if (!LoadChapter(back.topic))
            return;
        DrawLines(back.topLine);
        m_scrollSilent = true;
        ScrollBar1->setValue(back.topLine);
        m_scrollSilent = false;
        m_history.dropReturned();
    }
    if (m_history.size() <= 1)
        Button3->setEnabled(false);
}

void THlpForm::Button4Click()
{
    // Lines not drawn yet still hold their placeholders: print them without.
    const std::vector<std::string> lines = PrintLines(m_chapterLines);
    const QString title = QStringLiteral("Chapter.. ") + FromCp1252(m_chapterTitle);
    QString error;
    if (!PrintPlainText(lines, title, error))
        Dialogs::error(this, error);
}

void THlpForm::BitBtn1Click()
{
    if (m_currentTopic > 0 && LoadChapter(m_currentTopic - 1u))
        DrawLines(0);
}

void THlpForm::BitBtn2Click()
{
    if (m_currentTopic + 1u <= m_lastTopic && LoadChapter(m_currentTopic + 1u))
        DrawLines(0);
}

void THlpForm::HOnTopCheckClick()
{
    s_keepHelpOnTop = HOnTopCheck->isChecked();
    applyStayOnTop();
}

void THlpForm::applyStayOnTop()
{
    // Changing the flag hides a shown window; showing it again must not reload the chapter.
    const bool wasVisible = isVisible();
    m_changingFlags = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, s_keepHelpOnTop);
    if (wasVisible)
        show();
    m_changingFlags = false;
}

void ShowHelpTopic(int topic)
{
    THlpForm::instance()->ShowTopic(static_cast<unsigned>(std::clamp(topic, 0, 65535)));
}

} // namespace stv
