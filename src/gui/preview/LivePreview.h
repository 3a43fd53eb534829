#pragma once
// Keeps the preview pane's page up to date: a short pause after the user's key or click, then
// the page made by the page generator (the style's own, in memory, with a mark before each
// section) on a worker thread, and shown. While a page is being made or drawn, newer edits
// wait and only the latest is made next, so typing never waits for a large page.

#include "core/page/GenerationTime.h"
#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <thread>

class QTimer;

namespace stv
{

class PreviewView;

// What the page is made of, taken on the window's thread.
struct PreviewSource {
    Project project; // with the page on show stored into it
    FavouriteLists lists;
    PageOptions options;
    std::string pageFile; // native: the page's name gives a page without a title its title
    std::string folder; // native: where the page's relative paths lead
    int section = -1; // the section whose wizard page is showing; -1 for none
};

class LivePreview : public QObject
{
    Q_OBJECT
public:
    using Source = std::function<PreviewSource()>;
    // The pause after a key before the page is made: the key reaches its field first, and
    // keys that come together make one page.
    static constexpr int PauseMilliseconds = 20;

    explicit LivePreview(Source source, QObject *parent = nullptr);
    ~LivePreview() override; // waits for a page being made

    // The view to show pages in (null: none); starts or stops following the user's edits.
    void setView(PreviewView *view);
    // Makes the page again after the pause, or after the page being made or drawn.
    void scheduleRefresh();
    // Makes the page now (or as soon as the one being made or drawn is done).
    void refreshNow();
    // The wizard shows another section: the view scrolls there at once.
    void showSection(int section);
    // An edit waits for its pause, or a page is being made or drawn.
    bool busy() const;

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The view shows the latest page (or the page could not be shown).
    void refreshed(bool ok);

private:
    void startGeneration();
    void generated(const QByteArray &page, bool changed, const QString &charset,
        const QString &folder, int section);
    void drawn(bool ok);

    Source m_source;
    PreviewView *m_view = nullptr;
    QTimer *m_pause = nullptr;
    std::thread m_worker;
    QByteArray m_shownPage; // the bytes the view shows
    QString m_shownFolder;
    GenerationTime m_when; // the footer's time
    bool m_generating = false;
    bool m_drawing = false;
    bool m_pending = false; // an edit came while a page was being made or drawn
};

} // namespace stv
