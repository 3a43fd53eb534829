#include "gui/preview/LivePreview.h"

#include "core/files/FileIO.h"
#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "gui/preview/PreviewView.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace stv
{

namespace
{

// The preview copies nothing; a copy asked for anyway is refused.
class NoCopies : public FileCopier
{
public:
    CopyResult copy(const std::string &, const std::string &) override { return CopyDone::Skipped; }
};

// The page's bytes as Create Web Page would write them, but for the files it would copy: the
// page refers to them where they are.
QByteArray makePage(const PreviewSource &source, const GenerationTime &when)
{
    PageRequest request;
    request.pageFile = source.pageFile;
    request.sourceFolder = source.folder;
    request.when = when;
    request.names = systemDateNames();
    request.sectionMarks = true;
    NoCopies copier;
    StringSink sink;
    // In memory only the records can fail, and they are the window's own: what was made shows.
    (void)writePage(source.project, source.lists, source.options, request, copier, sink);
    const std::string &bytes = sink.data();
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

LivePreview::LivePreview(Source source, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_pause(new QTimer(this))
{
    m_pause->setSingleShot(true);
    m_pause->setInterval(PauseMilliseconds);
    connect(m_pause, &QTimer::timeout, this, &LivePreview::refreshNow);
}

LivePreview::~LivePreview()
{
    if (m_worker.joinable())
        m_worker.join();
}

void LivePreview::setView(PreviewView *view)
{
    if (m_view == view)
        return;
    m_view = view;
    m_shownPage.clear();
    if (view == nullptr) {
        qApp->removeEventFilter(this);
        m_pause->stop();
        return;
    }
    view->pageShown = [this](bool ok) { drawn(ok); };
    // One time in the footer while the pane is open: a page that changes every second would
    // be drawn again for nothing.
    m_when = generationTimeNow();
    qApp->installEventFilter(this);
    refreshNow();
}

bool LivePreview::eventFilter(QObject *watched, QEvent *event)
{
    // Whatever the user does by key, click or drop in any window may change the page.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::InputMethod:
        scheduleRefresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LivePreview::scheduleRefresh()
{
    if (m_view == nullptr)
        return;
    if (m_generating || m_drawing)
        m_pending = true;
    else if (!m_pause->isActive())
        m_pause->start();
}

void LivePreview::refreshNow()
{
    m_pause->stop();
    if (m_view == nullptr)
        return;
    if (m_generating || m_drawing) {
        m_pending = true;
        return;
    }
    startGeneration();
}

bool LivePreview::busy() const
{
    return m_pause->isActive() || m_generating || m_drawing;
}

void LivePreview::showSection(int section)
{
    if (m_view != nullptr)
        m_view->scrollToSection(section);
}

void LivePreview::startGeneration()
{
    if (m_worker.joinable())
        m_worker.join();
    m_generating = true;
    m_pending = false;
    m_worker = std::thread([this, source = m_source(), when = m_when, shown = m_shownPage] {
        const QByteArray page = makePage(source, when);
        const bool changed = page != shown;
        const QString charset = source.options.style == PageStyle::Modern
            ? QStringLiteral("utf-8")
            : QStringLiteral("windows-1252");
        const QString folder = QString::fromStdString(source.folder);
        const int section = source.section;
        QMetaObject::invokeMethod(
            this,
            [this, page, changed, charset, folder, section] {
                generated(page, changed, charset, folder, section);
            },
            Qt::QueuedConnection);
    });
}

void LivePreview::generated(const QByteArray &page, bool changed, const QString &charset,
    const QString &folder, int section)
{
    m_worker.join();
    m_generating = false;
    if (m_view == nullptr)
        return;
    if (!changed && folder == m_shownFolder) {
        if (m_pending)
            startGeneration();
        else
            emit refreshed(true);
        return;
    }
    // Shown even when edits came meanwhile: they are made next, after it is drawn, so a page
    // that takes long to make still follows the user.
    m_shownPage = page;
    m_shownFolder = folder;
    m_drawing = true;
    m_view->showPage(page, charset, folder, section);
}

void LivePreview::drawn(bool ok)
{
    m_drawing = false;
    if (m_pending) {
        startGeneration();
        return;
    }
    emit refreshed(ok);
}

} // namespace stv
