#pragma once
// "Search the Manual": a word found across the manual's chapters, its places listed; choosing
// one shows its chapter in the help window with the word marked, and F3 goes to the next.

#include "core/manual/HelpText.h"
#include "core/manual/ManualSearch.h"

#include <QDialog>

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace stv
{

class HelpWindow;

class HelpSearchWindow : public QDialog
{
    Q_OBJECT
public:
    // A tool window of the help window, which outlives it.
    explicit HelpSearchWindow(HelpWindow &help);

    // Ctrl+F: shows the window with the word selected, ready to be typed over.
    void openSearch();
    // Enter in the word's field: lists the places and shows the first.
    void findWord();
    // Shows place `index` of the list in the help window, marked.
    void showHit(int index);
    // F3 and Shift+F3: the next and the previous place, round the end of the list.
    void showNextHit();
    void showPreviousHit();

    const std::vector<ManualHit> &hits() const { return m_hits; }
    int currentHit() const { return m_current; }
    QLineEdit *searchEdit() const { return m_searchEdit; }
    QListWidget *hitList() const { return m_hitList; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeBesideHelp();

    HelpWindow &m_help;
    QLineEdit *m_searchEdit;
    QListWidget *m_hitList;
    QLabel *m_countLabel;
    std::vector<ManualHit> m_hits;
    int m_current = -1;
    bool m_placed = false;
};

// The pixel spans [left, right) that the shown-text characters [start, start + length) of a
// drawn row cover; `line` is the row's body line, its pieces in the order the row drew them,
// and `width` measures a text in a piece's style.
std::vector<std::pair<int, int>> markedSpans(std::string_view line,
    const std::vector<std::pair<int, int>> &pieceLefts, std::size_t start, std::size_t length,
    const std::function<int(SpanStyle, const QString &)> &width);

} // namespace stv
