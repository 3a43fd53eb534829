#include "gui/help/HelpWindow.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"
#include "gui/desktop/Contrast.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/IconStrip.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/AccessibleNames.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/LaunchBox.h"
#include "gui/help/HelpPrint.h"
#include "gui/help/HelpSearchWindow.h"
#include "gui/help/ProgressGauge.h"
#include "gui/help/ShowHelp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace stv
{

bool HelpWindow::s_keepHelpOnTop = true;
HelpWindow *HelpWindow::s_instance = nullptr;

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

QFont pixelFont(int pixels, const QStringList &families = {})
{
    QFont font;
    if (!families.isEmpty())
        font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

QFont textFont()
{
    return pixelFont(13,
        { QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("DejaVu Sans") });
}

QFont styleFont(SpanStyle style)
{
    QFont font = textFont();
    font.setUnderline(style == SpanStyle::Link);
    font.setBold(style == SpanStyle::Bold);
    font.setItalic(style == SpanStyle::Italic);
    return font;
}

// The manual's colours on light pages; on dark ones (or where a colour would read poorly) the
// same hue made readable on the page's background.
QColor styleColour(SpanStyle style, const QPalette &palette)
{
    const QColor page = palette.color(QPalette::Base);
    switch (style) {
    case SpanStyle::Link:
        return readableOn(LinkColour, page);
    case SpanStyle::Red:
        return readableOn(RedColour, page);
    case SpanStyle::Italic:
        return readableOn(ItalicColour, page);
    case SpanStyle::Plain:
    case SpanStyle::Bold:
        break;
    }
    return palette.color(QPalette::Text);
}

// Pictures drawn on a raised button face.
bool onButtonFace(int n)
{
    return n == 14 || n == 20 || n == 21 || (n >= 25 && n <= 31) || (n >= 33 && n <= 41)
        || (n >= 43 && n <= 45) || (n >= 47 && n <= 49) || n == 56;
}

QIcon arrowIcon(bool left)
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

QFrame *framedPanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(geometry);
    return panel;
}

QWidget *rule(QWidget *parent, int y)
{
    auto *rule = new QWidget(parent);
    rule->setGeometry(0, y, ClientWidth, 1);
    rule->setAutoFillBackground(true);
    QPalette pal = rule->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Text));
    rule->setPalette(pal);
    return rule;
}

// The page's background: white on light desktops, the palette's base colour on any.
void fillWithBase(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    widget->setPalette(pal);
}

} // namespace

// The paint box: hands painting and the mouse to the window.
class HelpTextView : public QWidget
{
public:
    HelpTextView(HelpWindow *form, QWidget *parent)
        : QWidget(parent)
        , m_form(form)
    {
        setMouseTracking(true);
        setCursor(Qt::IBeamCursor);
        // Tab reaches the text, and the arrow and page keys scroll it.
        setFocusPolicy(Qt::StrongFocus);
        setAccessibleName(QStringLiteral("Help text"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_form->paintText(painter);
        // Screen readers cannot see the drawn links, so the text names those in view.
        setAccessibleDescription(m_form->linksInView());
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect().adjusted(0, 0, -1, -1);
            focus.state |= QStyle::State_KeyboardFocusChange;
            focus.backgroundColor = palette().color(QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        const std::pair<int, QAbstractSlider::SliderAction> keys[] = {
            { Qt::Key_Up, QAbstractSlider::SliderSingleStepSub },
            { Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd },
            { Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub },
            { Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd },
            { Qt::Key_Home, QAbstractSlider::SliderToMinimum },
            { Qt::Key_End, QAbstractSlider::SliderToMaximum },
        };
        for (const auto &[key, action] : keys)
            if (event->key() == key) {
                m_form->scrollBar()->triggerAction(action);
                return;
            }
        QWidget::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        QWidget::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QWidget::focusOutEvent(event);
        update();
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_form->hoverText(event->position().toPoint().x(), event->position().toPoint().y());
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        m_form->hoverText(event->position().toPoint().x(), event->position().toPoint().y());
        m_form->clickText();
    }

private:
    HelpWindow *m_form;
};

HelpWindow::HelpWindow(QWidget *parent)
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

    const QFont interfaceFont = pixelFont(11);
    auto button = [&](const char *name, const QString &caption, const QRect &geometry) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(interfaceFont);
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        return b;
    };
    m_contentsButton = button("Button1", QStringLiteral("&Contents"), QRect(1, 2, 58, 20));
    m_backButton = button("Button3", QStringLiteral("&Back"), QRect(60, 2, 44, 20));
    m_printButton = button("Button4", QStringLiteral("&Print"), QRect(105, 2, 47, 20));
    m_previousButton = button("BitBtn1", QString(), QRect(153, 2, 40, 20));
    m_nextButton = button("BitBtn2", QString(), QRect(194, 2, 40, 20));
    m_previousButton->setIcon(arrowIcon(true));
    m_nextButton->setIcon(arrowIcon(false));
    m_previousButton->setToolTip(QStringLiteral("Previous Topic"));
    m_nextButton->setToolTip(QStringLiteral("Next Topic"));
    m_backButton->setEnabled(false);

    QFrame *gaugePanel = framedPanel(this, QRect(236, 2, 270, 20));
    m_gauge = new ProgressGauge(gaugePanel);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setFont(interfaceFont);
    m_gauge->setGeometry(2, 2, 266, 16);
    m_gauge->setMinValue(0);

    // The title strip: white, ruled along its top and bottom.
    auto *strip = new QWidget(this);
    strip->setGeometry(0, 24, ClientWidth, 30);
    fillWithBase(strip);
    rule(strip, 0);
    rule(strip, 29);
    m_titleLabel = new QLabel(strip);
    m_titleLabel->setObjectName(QStringLiteral("Label1"));
    QFont titleFont
        = pixelFont(16, { QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans") });
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);
    QPalette titlePalette = m_titleLabel->palette();
    titlePalette.setColor(
        QPalette::WindowText, readableOn(TitleColour, titlePalette.color(QPalette::Base)));
    m_titleLabel->setPalette(titlePalette);
    m_titleLabel->setGeometry(8, 5, 340, 20);
    QFrame *checkPanel = framedPanel(strip, QRect(360, 4, 144, 22));
    m_stayOnTopCheck = new QCheckBox(QStringLiteral("&Keep Help On Top"), checkPanel);
    m_stayOnTopCheck->setObjectName(QStringLiteral("HOnTopCheck"));
    m_stayOnTopCheck->setFont(interfaceFont);
    m_stayOnTopCheck->setGeometry(6, 2, 134, 18);

    // The white panel with the paint box and its scroll bar.
    auto *textPanel = new QWidget(this);
    textPanel->setGeometry(2, ClientHeight - 389, 504, 389);
    fillWithBase(textPanel);
    m_textBox = new HelpTextView(this, textPanel);
    m_textBox->setObjectName(QStringLiteral("TextBox"));
    m_textBox->setGeometry(5, 0, TextBoxWidth, TextBoxHeight);
    m_textBox->setFont(textFont());
    m_scrollBar = new QScrollBar(Qt::Vertical, textPanel);
    m_scrollBar->setObjectName(QStringLiteral("ScrollBar1"));
    m_scrollBar->setGeometry(5 + TextBoxWidth, 0, 16, TextBoxHeight);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(10);
    m_scrollBar->setRange(0, 1);

    connect(m_contentsButton, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(m_backButton, &QPushButton::clicked, this, &HelpWindow::goBack);
    connect(m_printButton, &QPushButton::clicked, this, &HelpWindow::printChapter);
    connect(m_previousButton, &QPushButton::clicked, this, &HelpWindow::showPreviousTopic);
    connect(m_nextButton, &QPushButton::clicked, this, &HelpWindow::showNextTopic);
    connect(m_stayOnTopCheck, &QCheckBox::clicked, this, &HelpWindow::toggleStayOnTop);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &HelpWindow::scrollTo);

    // Keys reach the window before its controls.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    m_stayOnTopCheck->setChecked(s_keepHelpOnTop);
    setWindowFlag(Qt::WindowStaysOnTopHint, s_keepHelpOnTop);
    centreOnScreen(this);

    // Row height: an 8-point font at the screen's resolution plus 7 pixels.
    const QScreen *shown = screen();
    const double dpi = shown ? shown->logicalDotsPerInchY() : 96.0;
    m_linePitch = static_cast<int>(std::lround(8.0 * dpi / 72.0)) + 7;
    m_linesInView = TextBoxHeight / m_linePitch;
    m_hoverLink = -1;
    m_loadPicture = QPixmap(LoadButtonPicture);

    if (const Result<std::string> manual = readWholeFile(helpFile().toStdString(), ManualFileLimit))
        m_lastTopic = static_cast<std::uint16_t>(lastTopicOf(manual.value()));

    // Ctrl+F searches the whole manual; F3 and Shift+F3 step through the places found.
    m_search = new HelpSearchWindow(*this);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, m_search,
        &HelpSearchWindow::openSearch);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, m_search,
        &HelpSearchWindow::showNextHit);
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated,
        m_search, &HelpSearchWindow::showPreviousHit);

    nameControls(this);
    if (!s_instance)
        s_instance = this;
}

HelpWindow::~HelpWindow()
{
    if (s_instance == this)
        s_instance = nullptr;
}

HelpWindow *HelpWindow::instance()
{
    if (!s_instance)
        new HelpWindow(); // lives, hidden when closed, until the program ends
    return s_instance;
}

QWidget *HelpWindow::textBox() const
{
    return m_textBox;
}

QString HelpWindow::helpFile() const
{
    return helpFilePath();
}

void HelpWindow::showTopic(unsigned topic)
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

void HelpWindow::prepareToShow()
{
    centreOnScreen(this);
    loadChapter(m_currentTopic);
}

void HelpWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_changingFlags)
        prepareToShow();
}

void HelpWindow::closeEvent(QCloseEvent *event)
{
    // FormClose: the history lasts only while the window is open.
    m_history.clear();
    event->accept();
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)->key()))
        return true;
    if (event->type() == QEvent::Wheel && watched == m_textBox) {
        // Three lines a notch; a finer wheel moves at least one line.
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        int lines = -delta * 3 / 120;
        if (lines == 0 && delta != 0)
            lines = delta > 0 ? -1 : 1;
        m_scrollBar->setValue(m_scrollBar->value() + lines);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool HelpWindow::handleKey(int key)
{
    const int top = m_scrollBar->value();
    const int page = std::max(1, m_linesInView);
    switch (key) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Up:
        m_scrollBar->setValue(top - 1);
        return true;
    case Qt::Key_Down:
        m_scrollBar->setValue(top + 1);
        return true;
    case Qt::Key_PageUp:
        m_scrollBar->setValue(top - page);
        return true;
    case Qt::Key_PageDown:
        m_scrollBar->setValue(top + page);
        return true;
    case Qt::Key_Home:
        m_scrollBar->setValue(m_scrollBar->minimum());
        return true;
    case Qt::Key_End:
        m_scrollBar->setValue(m_scrollBar->maximum());
        return true;
    default:
        return false;
    }
}

bool HelpWindow::loadChapter(unsigned n)
{
    const QString path = helpFile();
    const Result<std::string> read = readWholeFile(path.toStdString(), ManualFileLimit);
    if (!read) {
        if (read.missing())
            Dialogs::errorAbort(this, QStringLiteral("Cannot Locate Help File..\n\n") + path);
        else
            Dialogs::error(this, QString::fromStdString(read.error()));
        return false;
    }
    const std::string &bytes = read.value();

    m_chapterLines.clear();
    m_mark.reset();
    m_currentTopic = static_cast<std::uint16_t>(std::min(n, 65535u));
    if (!m_history.empty())
        m_history.leave(m_scrollBar->value());

    HelpChapter chapter = findChapter(bytes, m_currentTopic);
    m_chapterLines = std::move(chapter.lines);
    if (chapter.found)
        m_chapterTitle = chapter.title;

    m_scrollBar->setValue(0);
    m_scrollBar->setMaximum(
        m_chapterLines.empty() ? 1 : static_cast<int>(m_chapterLines.size()) - 1);

    m_history.append(m_currentTopic);
    m_backButton->setEnabled(m_history.size() > 1);
    m_gauge->setMaxValue(m_scrollBar->maximum());
    m_titleLabel->setText(fromCp1252(m_chapterTitle));
    return true;
}

void HelpWindow::drawLines(int top)
{
    layoutRows(top);
    m_textBox->update();
}

QString HelpWindow::linksInView() const
{
    QStringList links;
    for (const DrawnRow &row : m_rows) {
        QString link;
        for (const DrawnPiece &piece : row.pieces)
            if (piece.style == SpanStyle::Link)
                link += piece.text;
        if (!link.trimmed().isEmpty())
            links << link.trimmed();
    }
    return links.isEmpty() ? QString()
                           : QStringLiteral("Links: ") + links.join(QStringLiteral("; "));
}

void HelpWindow::layoutRows(int top)
{
    m_rows.clear();
    const QFontMetrics plain(styleFont(SpanStyle::Plain));
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
        line = withoutPlaceholders(std::move(line));
        const LineLayout layout = layoutLine(line);

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
                // Only what can show is measured and drawn: a line of a megabyte would
                // otherwise be shaped whole at every repaint. Characters are at least a pixel
                // wide, so the pixels left in the row bound the characters that can show.
                const std::size_t room = static_cast<std::size_t>(std::max(TextBoxWidth - x, 0));
                drawn.text = fromCp1252(std::string_view(piece.text).substr(0, room));
                drawn.width = QFontMetrics(styleFont(piece.style)).horizontalAdvance(drawn.text);
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
    m_gauge->setProgress(top);
    for (int i = links; i < LinkSpotCount; ++i)
        m_linkSpots[static_cast<std::size_t>(i)] = LinkSpot {};
    m_linkCount = links;
}

void HelpWindow::paintText(QPainter &painter)
{
    layoutRows(m_scrollBar->value());
    const QColor page = m_textBox->palette().color(QPalette::Base);
    std::size_t line = static_cast<std::size_t>(std::max(m_scrollBar->value(), 0));
    for (const DrawnRow &row : m_rows) {
        painter.fillRect(0, row.y, m_textBox->width(), m_linePitch, page);
        drawMark(painter, row, line++);
        for (const DrawnPiece &piece : row.pieces) {
            if (piece.picture >= 0 || piece.text.isEmpty())
                continue;
            const QFont font = styleFont(piece.style);
            painter.setFont(font);
            painter.setPen(styleColour(piece.style, m_textBox->palette()));
            painter.drawText(piece.x, row.y + QFontMetrics(font).ascent(), piece.text);
        }
        for (const DrawnPiece &piece : row.pieces) {
            if (piece.picture < 0)
                continue;
            painter.fillRect(piece.x, row.y - 3, piece.width, m_linePitch + 3, page);
            drawPicture(painter, piece.picture, piece.x, row.y);
            painter.setBrush(page);
            painter.setPen(m_textBox->palette().color(QPalette::Text));
        }
    }
}

void HelpWindow::drawMark(QPainter &painter, const DrawnRow &row, std::size_t line) const
{
    if (!m_mark || m_mark->topic != m_currentTopic || m_mark->line != static_cast<int>(line)
        || line >= m_chapterLines.size())
        return;
    std::vector<std::pair<int, int>> pieces;
    for (const DrawnPiece &piece : row.pieces)
        pieces.emplace_back(piece.x, piece.width);
    QColor colour = palette().color(QPalette::Highlight);
    colour.setAlpha(120); // the text stays readable through it, on light and dark pages
    const auto width = [](SpanStyle style, const QString &text) {
        return QFontMetrics(styleFont(style)).horizontalAdvance(text);
    };
    for (const auto &[left, right] :
        markedSpans(m_chapterLines[line], pieces, m_mark->start, m_mark->length, width))
        painter.fillRect(left, row.y, right - left, m_linePitch, colour);
}

void HelpWindow::drawPicture(QPainter &painter, int picture, int x, int rowTop) const
{
    const int width = QFontMetrics(styleFont(SpanStyle::Plain))
                          .horizontalAdvance(QString::fromLatin1(PicturePlaceholder));
    if (onButtonFace(picture)) {
        painter.setBrush(palette().color(QPalette::Button));
        drawButtonFace(painter, x, rowTop - 3, x + width, rowTop + m_linePitch);
    }
    if (picture == 0) {
        if (!m_loadPicture.isNull())
            painter.drawPixmap(x, rowTop - 14, m_loadPicture);
    } else if (picture >= 1 && picture <= 20) {
        const QPixmap &icon = stripIcon(picture - 1);
        if (!icon.isNull())
            painter.drawPixmap(x, rowTop, icon);
    } else if (picture == 46) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawLine(0, rowTop, frameGeometry().width() - 55 - 1, rowTop);
    }
}

void HelpWindow::drawButtonFace(QPainter &painter, int x1, int y1, int x2, int y2) const
{
    // Coordinates as a rectangle's edges: the right and bottom edges are outside it, and each
    // line includes its start point and excludes its end point.
    const QPen pen = painter.pen();
    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), painter.brush());
    painter.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 2, y2 - 2)));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(x1 + 1, y2 - 2, x1 + 1, y1 + 2);
    painter.drawLine(x1 + 1, y1 + 1, x2 - 2, y1 + 1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(x2 - 2, y1 + 1, x2 - 2, y2 - 3);
    painter.drawLine(x2 - 2, y2 - 2, x1 + 1, y2 - 2);
    painter.setPen(pen);
}

void HelpWindow::scrollTo(int position)
{
    if (!m_scrollSilent)
        drawLines(position);
}

void HelpWindow::hoverText(int x, int y)
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
    if (m_textBox->cursor().shape() != shape)
        m_textBox->setCursor(shape);
}

void HelpWindow::clickText()
{
    if (m_hoverLink < 0)
        return;
    const int target = m_linkSpots[static_cast<std::size_t>(m_hoverLink)].target;
    if (target == WebSiteTopic) {
        openWebSite();
        return;
    }
    if (loadChapter(static_cast<unsigned>(std::max(target, 0))))
        drawLines(0);
    // The spot under the mouse now belongs to the chapter on show.
    hoverText(m_mouse.x(), m_mouse.y());
}

void HelpWindow::openWebSite()
{
    launchOrSay(this, WebSite);
}

void HelpWindow::showContents()
{
    if (loadChapter(0))
        drawLines(0);
}

void HelpWindow::goBack()
{
    if (m_history.size() > 1) {
        const HelpHistory::Return back = m_history.previous();
        if (!loadChapter(back.topic))
            return;
        drawLines(back.topLine);
        m_scrollSilent = true;
        m_scrollBar->setValue(back.topLine);
        m_scrollSilent = false;
        m_history.dropReturned();
    }
    if (m_history.size() <= 1)
        m_backButton->setEnabled(false);
}

void HelpWindow::printChapter()
{
    // Lines not drawn yet still hold their placeholders: print them without.
    const std::vector<std::string> lines = printLines(m_chapterLines);
    const QString title = QStringLiteral("Chapter.. ") + fromCp1252(m_chapterTitle);
    QString error;
    if (!printPlainText(lines, title, error))
        Dialogs::error(this, error);
}

void HelpWindow::showPreviousTopic()
{
    if (m_currentTopic > 0 && loadChapter(m_currentTopic - 1u))
        drawLines(0);
}

void HelpWindow::showNextTopic()
{
    if (m_currentTopic + 1u <= m_lastTopic && loadChapter(m_currentTopic + 1u))
        drawLines(0);
}

void HelpWindow::toggleStayOnTop()
{
    s_keepHelpOnTop = m_stayOnTopCheck->isChecked();
    applyStayOnTop();
}

void HelpWindow::applyStayOnTop()
{
    // Changing the flag hides a shown window; showing it again must not reload the chapter.
    const bool wasVisible = isVisible();
    m_changingFlags = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, s_keepHelpOnTop);
    if (wasVisible)
        show();
    m_changingFlags = false;
}

void showHelpTopic(int topic)
{
    HelpWindow::instance()->showTopic(static_cast<unsigned>(std::clamp(topic, 0, 65535)));
}

} // namespace stv
