#include "gui/preview/PreviewWebPage.h"

#include <QWebEngineNewWindowRequest>

namespace stv
{

PreviewWebPage::PreviewWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    // A link meant for a new window (target="_blank") is a click like any other.
    connect(this, &QWebEnginePage::newWindowRequested, this,
        [this](QWebEngineNewWindowRequest &request) {
            if (request.isUserInitiated() && onLinkClicked)
                onLinkClicked(request.requestedUrl());
        });
}

bool PreviewWebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    const bool clicked = type == NavigationTypeLinkClicked;
    if (isMainFrame) {
        const QUrl document = url.adjusted(QUrl::RemoveFragment);
        if (type != NavigationTypeLinkClicked && url == m_expected)
            return true;
        // A "#" link of the page moves inside it.
        if (url.hasFragment() && document == m_expected.adjusted(QUrl::RemoveFragment))
            return true;
    } else if (!clicked) {
        // A frame of the page's own (an HTML section's iframe) loads as it would on the site.
        return type != NavigationTypeFormSubmitted;
    }
    if (clicked && onLinkClicked)
        onLinkClicked(url);
    return false;
}

} // namespace stv
