#include "gui/help/HelpSearchWindow.h"

#include "core/files/FileIO.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/help/HelpWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace stv
{

HelpSearchWindow::HelpSearchWindow(HelpWindow &help)
    : QDialog(&help, Qt::Tool)
    , m_help(help)
{
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Search the Manual"));
    resize(340, 300);

    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(QStringLiteral("&Find:"), this);
    m_searchEdit = new QLineEdit(this);
    m_searchEdit->setObjectName(QStringLiteral("SearchEdit"));
    m_searchEdit->setPlaceholderText(QStringLiteral("A word or words, then Enter"));
    prompt->setBuddy(m_searchEdit);
    auto *row = new QHBoxLayout;
    row->addWidget(prompt);
    row->addWidget(m_searchEdit, 1);
    auto *find = new QPushButton(QStringLiteral("&Search"), this);
    find->setObjectName(QStringLiteral("SearchBtn"));
    find->setAutoDefault(false);
    row->addWidget(find);
    layout->addLayout(row);
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("HitCount"));
    layout->addWidget(m_countLabel);
    m_hitList = new QListWidget(this);
    m_hitList->setObjectName(QStringLiteral("HitList"));
    m_hitList->setAccessibleName(QStringLiteral("Places found"));
    layout->addWidget(m_hitList, 1);
    layout->addWidget(new QLabel(QStringLiteral("F3: next place.  Shift+F3: previous."), this));

    connect(m_searchEdit, &QLineEdit::returnPressed, this, &HelpSearchWindow::findWord);
    connect(find, &QPushButton::clicked, this, &HelpSearchWindow::findWord);
    connect(m_hitList, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { showHit(m_hitList->row(item)); });
    // F3 and Shift+F3 are the help window's shortcuts: they work here too, a tool window of it.
    m_hitList->installEventFilter(this);
}

bool HelpSearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on a place shows it, as a click does.
    if (watched == m_hitList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_hitList->currentRow() >= 0) {
            showHit(m_hitList->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Beside the help window rather than over it, so the place found stays in sight; where the
// screen has no room on either side, the window manager places it.
void HelpSearchWindow::placeBesideHelp()
{
    m_placed = true;
    const QScreen *screen = m_help.screen();
    if (screen == nullptr)
        return;
    const QRect room = screen->availableGeometry();
    const QRect help = m_help.frameGeometry();
    const int frame = 16; // room for the window manager's border
    int x = help.right() + 1;
    if (x + width() + frame > room.right()) {
        x = help.left() - width() - frame;
        if (x < room.left())
            return;
    }
    const int y
        = std::clamp(help.top(), room.top(), std::max(room.top(), room.bottom() - height()));
    move(x, y);
}

void HelpSearchWindow::openSearch()
{
    if (!m_placed && !isVisible())
        placeBesideHelp();
    show();
    raise();
    activateWindow();
    m_searchEdit->setFocus(Qt::ShortcutFocusReason);
    m_searchEdit->selectAll();
}

void HelpSearchWindow::findWord()
{
    m_hits.clear();
    m_current = -1;
    m_hitList->clear();
    const QString word = m_searchEdit->text().trimmed();
    if (word.isEmpty()) {
        m_countLabel->clear();
        return;
    }
    const QString path = helpFilePath();
    const Result<std::string> read = readWholeFile(path.toStdString(), ManualFileLimit);
    if (!read) {
        Dialogs::error(this,
            read.missing() ? QStringLiteral("Cannot Locate Help File..\n\n") + path
                           : QString::fromStdString(read.error()));
        return;
    }
    m_hits = searchManual(read.value(), toCp1252(word));
    int chapters = 0;
    unsigned last = 65536;
    for (const ManualHit &hit : m_hits) {
        chapters += hit.topic != last ? 1 : 0;
        last = hit.topic;
        m_hitList->addItem(
            fromCp1252(hit.title) + QStringLiteral(":  ") + fromCp1252(hit.rowText).trimmed());
    }
    if (m_hits.empty()) {
        m_countLabel->setText(QStringLiteral("\"%1\" is not in the manual.").arg(word));
        return;
    }
    m_countLabel->setText(QStringLiteral("%1 place%2 in %3 chapter%4%5.")
                              .arg(m_hits.size())
                              .arg(m_hits.size() == 1 ? "" : "s")
                              .arg(chapters)
                              .arg(chapters == 1 ? "" : "s")
                              .arg(m_hits.size() >= MaxManualHits ? ", the first shown" : ""));
    showHit(0);
}

void HelpSearchWindow::showHit(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_hits.size())
        return;
    m_current = index;
    m_hitList->setCurrentRow(index);
    const ManualHit &hit = m_hits[static_cast<std::size_t>(index)];
    if (!m_help.isVisible())
        m_help.showTopic(hit.topic);
    else if (m_help.currentTopic() != hit.topic && !m_help.loadChapter(hit.topic))
        return;
    m_help.markHit(hit);
    // The place stands a few rows below the top, so the lines before it give it context.
    QScrollBar *scroll = m_help.scrollBar();
    scroll->setValue(std::clamp(hit.line - 3, scroll->minimum(), scroll->maximum()));
    m_help.drawLines(scroll->value());
}

void HelpSearchWindow::showNextHit()
{
    if (m_hits.empty()) {
        openSearch();
        return;
    }
    showHit((m_current + 1) % static_cast<int>(m_hits.size()));
}

void HelpSearchWindow::showPreviousHit()
{
    if (m_hits.empty()) {
        openSearch();
        return;
    }
    const int count = static_cast<int>(m_hits.size());
    showHit((m_current - 1 + count) % count);
}

std::vector<std::pair<int, int>> markedSpans(std::string_view line,
    const std::vector<std::pair<int, int>> &pieceLefts, std::size_t start, std::size_t length,
    const std::function<int(SpanStyle, const QString &)> &width)
{
    std::vector<std::pair<int, int>> spans;
    const LineLayout layout = layoutLine(line);
    const std::size_t end = start + length;
    std::size_t at = 0; // where the piece starts in the shown text
    for (std::size_t i = 0; i < layout.pieces.size() && i < pieceLefts.size(); ++i) {
        const LinePiece &piece = layout.pieces[i];
        const auto [x, pieceWidth] = pieceLefts[i];
        const std::size_t size = piece.isPicture() ? 1 : piece.text.size();
        const std::size_t from = std::max(start, at);
        const std::size_t to = std::min(end, at + size);
        if (from < to) {
            if (piece.isPicture()) {
                spans.emplace_back(x, x + pieceWidth);
            } else {
                const std::string_view text(piece.text);
                const int left = width(piece.style, fromCp1252(text.substr(0, from - at)));
                const int right = width(piece.style, fromCp1252(text.substr(0, to - at)));
                spans.emplace_back(x + left, x + right);
            }
        }
        at += size;
    }
    return spans;
}

} // namespace stv
