#pragma once
// The help window: reads one chapter of the manual at a time, draws it row by row with its
// links, spans and pictures, and offers Back, Contents, previous and next topic, printing and
// a stay-on-top switch. Created once at program start and hidden, not destroyed, when closed.

#include "core/manual/HelpText.h"
#include "core/manual/ManualSearch.h"

#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPainter;
class QPushButton;
class QScrollBar;

namespace stv
{

class ProgressGauge;
class HelpSearchWindow;
class HelpTextView;

class HelpWindow : public QWidget
{
public:
    struct LinkSpot {
        std::int16_t left = 0, top = 0, right = 0, bottom = 0, target = 0;
        bool operator==(const LinkSpot &) const = default;
    };
    static constexpr int LinkSpotCount = 36;

    // One drawn piece of a row, in text box coordinates.
    struct DrawnPiece {
        int x = 0;
        int width = 0;
        SpanStyle style = SpanStyle::Plain;
        QString text;
        int picture = -1;
    };
    struct DrawnRow {
        int y = 0;
        std::vector<DrawnPiece> pieces;
    };

    explicit HelpWindow(QWidget *parent = nullptr);
    ~HelpWindow() override;

    // The window every showHelpTopic goes to; made on first use when start-up made none.
    static HelpWindow *instance();

    // Opens a topic: a hidden window is shown on it, a visible one on another topic is closed
    // and shown again, a visible one on the same topic is only brought to the front.
    void showTopic(unsigned topic);

    // Loads chapter n from the help file; false (after the error box) when the file is missing.
    bool loadChapter(unsigned n);
    // One drawing pass from line index top: rows, link spots and gauge; then repaints.
    void drawLines(int top);

    // Handlers, named after their control and event.
    void showContents();
    void goBack();
    void printChapter();
    void showPreviousTopic();
    void showNextTopic();
    void toggleStayOnTop();
    void scrollTo(int position);
    void hoverText(int x, int y);
    void clickText();
    void paintText(QPainter &painter);
    bool handleKey(int key);

    // A place found by the search, marked on its row while its chapter is on show.
    void markHit(const ManualHit &hit) { m_mark = hit; }
    const std::optional<ManualHit> &markedHit() const { return m_mark; }
    HelpSearchWindow *searchWindow() const { return m_search; }

    // State, read by tests and by nothing else.
    const std::vector<std::string> &chapterLines() const { return m_chapterLines; }
    const std::string &chapterTitle() const { return m_chapterTitle; }
    unsigned currentTopic() const { return m_currentTopic; }
    unsigned lastTopic() const { return m_lastTopic; }
    const HelpHistory &topicHistory() const { return m_history; }
    int linePitch() const { return m_linePitch; }
    int linesInView() const { return m_linesInView; }
    const std::array<LinkSpot, LinkSpotCount> &linkSpots() const { return m_linkSpots; }
    int hoverLink() const { return m_hoverLink; }
    const std::vector<DrawnRow> &drawnRows() const { return m_rows; }
    static bool keepHelpOnTop() { return s_keepHelpOnTop; }

    QScrollBar *scrollBar() const { return m_scrollBar; }
    ProgressGauge *gauge() const { return m_gauge; }
    QWidget *textBox() const;
    // "Links: " and the texts of the links drawn now, for screen readers.
    QString linksInView() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void prepareToShow();
    void layoutRows(int top);
    void drawPicture(QPainter &painter, int picture, int x, int rowTop) const;
    void drawButtonFace(QPainter &painter, int x1, int y1, int x2, int y2) const;
    void drawMark(QPainter &painter, const DrawnRow &row, std::size_t line) const;
    void applyStayOnTop();
    void openWebSite();
    QString helpFile() const;

    QPushButton *m_contentsButton;
    QPushButton *m_backButton;
    QPushButton *m_printButton;
    QPushButton *m_previousButton;
    QPushButton *m_nextButton;
    ProgressGauge *m_gauge;
    QLabel *m_titleLabel;
    QCheckBox *m_stayOnTopCheck;
    HelpTextView *m_textBox;
    QScrollBar *m_scrollBar;
    HelpSearchWindow *m_search;

    std::vector<std::string> m_chapterLines;
    std::string m_chapterTitle;
    std::uint16_t m_currentTopic = 0;
    std::uint16_t m_lastTopic = 0;
    HelpHistory m_history;
    int m_linePitch = 18;
    int m_linesInView = 21;
    std::array<LinkSpot, LinkSpotCount> m_linkSpots {};
    int m_hoverLink = -1;
    int m_linkCount = 0; // link spots in use after the last drawing pass
    QPoint m_mouse; // where the mouse last moved over the text box
    bool m_scrollSilent = false;
    bool m_changingFlags = false; // the stay-on-top switch re-shows the window: no reload
    std::vector<DrawnRow> m_rows;
    std::optional<ManualHit> m_mark;
    QPixmap m_loadPicture;

    static bool s_keepHelpOnTop;
    static HelpWindow *s_instance;
};

} // namespace stv
