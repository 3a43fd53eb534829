#include "gui/preview/WebPreview.h"

#include "gui/preview/PreviewSchemeHandler.h"
#include "gui/preview/PreviewWebPage.h"

#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <algorithm>

namespace stv
{

namespace
{

// Scripts run in a world of their own: the page's scripts stay off.
constexpr quint32 ScriptWorld = QWebEngineScript::ApplicationWorld;

// Finds the comment that marks the section (see PageRequest::sectionMarks) and scrolls to the
// first thing after it that takes up room.
QString sectionScrollScript(int section)
{
    return QStringLiteral(R"((function (mark) {
  const comments = document.createTreeWalker(document, NodeFilter.SHOW_COMMENT);
  let comment = comments.nextNode();
  while (comment && comment.data !== mark)
    comment = comments.nextNode();
  if (!comment)
    return false;
  const after = document.createTreeWalker(document.body || document.documentElement,
      NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT);
  after.currentNode = comment;
  for (let node = after.nextNode(); node; node = after.nextNode()) {
    let box;
    if (node.nodeType === Node.TEXT_NODE) {
      if (!node.data.trim())
        continue;
      const range = document.createRange();
      range.selectNodeContents(node);
      box = range.getBoundingClientRect();
    } else {
      box = node.getBoundingClientRect();
    }
    if (box.width === 0 && box.height === 0)
      continue;
    window.scrollTo(window.scrollX, Math.max(0, box.top + window.scrollY - 8));
    return true;
  }
  return false;
})('stv-section %1'))")
        .arg(section);
}

QString scrollToScript(QPointF position)
{
    return QStringLiteral("window.scrollTo(%1, %2), true").arg(position.x()).arg(position.y());
}

} // namespace

WebPreview::WebPreview(QWidget *parent)
    : QWebEngineView(parent)
{
    setObjectName(QStringLiteral("PreviewView"));
    // A profile without a storage name keeps nothing on disk: no cache, cookies or history.
    m_profile = new QWebEngineProfile(this);
    m_handler = new PreviewSchemeHandler(m_profile);
    m_profile->installUrlSchemeHandler(PreviewScheme, m_handler);
    m_page = new PreviewWebPage(m_profile, this);
    QWebEngineSettings *settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    // Refreshing as the user types must not take the keyboard from the wizard, nor start a
    // page's sound anew at every key.
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    setPage(m_page);
    setContextMenuPolicy(Qt::NoContextMenu);
    m_page->onLinkClicked = [this](const QUrl &url) {
        if (!linkClicked || url.scheme() == QLatin1String("javascript"))
            return;
        const QString local = PreviewSchemeHandler::localPath(url);
        linkClicked(local.isEmpty() ? url.toString() : local);
    };
    connect(m_page, &QWebEnginePage::loadFinished, this, &WebPreview::pageLoaded);
}

WebPreview::~WebPreview()
{
    // The page goes before its profile.
    setPage(nullptr);
    delete m_page;
}

void WebPreview::showPage(
    const QByteArray &page, const QString &charset, const QString &folder, int section)
{
    const QUrl url = PreviewSchemeHandler::pageUrl(folder);
    const bool samePage = url == m_pageUrl;
    m_pageUrl = url;
    m_handler->setPage(url, page, charset);
    m_page->expectPage(url);
    const int load = ++m_loadNumber;
    if (section >= 0 && section != m_section) {
        m_section = section;
        loadPlaced(sectionScrollScript(section));
    } else if (m_loading || !samePage) {
        loadPlaced(samePage ? m_placeScript : QString());
    } else {
        // Where the page stands now, asked of the page itself after whatever scrolled it.
        m_page->runJavaScript(QStringLiteral("[window.scrollX, window.scrollY]"), ScriptWorld,
            [this, load](const QVariant &result) {
                if (load != m_loadNumber)
                    return;
                const QVariantList at = result.toList();
                loadPlaced(at.size() == 2
                        ? scrollToScript(QPointF(at[0].toDouble(), at[1].toDouble()))
                        : QString());
            });
    }
}

void WebPreview::loadPlaced(const QString &script)
{
    placeAfterLoad(script);
    m_loading = true;
    m_page->load(m_pageUrl);
}

void WebPreview::placeAfterLoad(const QString &script)
{
    // Once when the document is read, so the first frame drawn already stands there, and
    // again when its pictures have come.
    m_placeScript = script;
    QWebEngineScriptCollection &scripts = m_page->scripts();
    scripts.clear();
    if (script.isEmpty())
        return;
    QWebEngineScript early;
    early.setName(QStringLiteral("place"));
    early.setWorldId(ScriptWorld);
    early.setInjectionPoint(QWebEngineScript::DocumentReady);
    early.setSourceCode(script);
    scripts.insert(early);
}

void WebPreview::pageLoaded(bool ok)
{
    if (!m_loading)
        return;
    m_loading = false;
    if (m_placeScript.isEmpty() || !ok) {
        if (pageShown)
            pageShown(ok);
        return;
    }
    m_page->runJavaScript(m_placeScript, ScriptWorld, [this](const QVariant &) {
        if (pageShown)
            pageShown(true);
    });
}

void WebPreview::scrollToSection(int section)
{
    if (section < 0 || section == m_section)
        return;
    m_section = section;
    if (m_loading)
        placeAfterLoad(sectionScrollScript(section));
    else
        m_page->runJavaScript(sectionScrollScript(section), ScriptWorld);
}

void WebPreview::setLayoutWidth(int layoutWidth)
{
    if (layoutWidth == m_layoutWidth)
        return;
    m_layoutWidth = layoutWidth;
    fitLayoutWidth();
    // Laid out anew, the page's old place means nothing: it goes back to the section on show,
    // once the new zoom has reached the page.
    if (m_section >= 0 && !m_loading)
        QTimer::singleShot(150, this, [this] {
            if (!m_loading)
                m_page->runJavaScript(sectionScrollScript(m_section), ScriptWorld);
        });
}

void WebPreview::fitLayoutWidth()
{
    if (m_layoutWidth <= 0 || width() <= 0)
        return;
    // WebEngine takes zoom factors from 0.25 to 5.
    setZoomFactor(std::clamp(static_cast<double>(width()) / m_layoutWidth, 0.25, 5.0));
}

void WebPreview::resizeEvent(QResizeEvent *event)
{
    QWebEngineView::resizeEvent(event);
    fitLayoutWidth();
}

void WebPreview::runScript(const QString &script, std::function<void(const QVariant &)> done)
{
    m_page->runJavaScript(script, ScriptWorld, [done = std::move(done)](const QVariant &result) {
        if (done)
            done(result);
    });
}

} // namespace stv
