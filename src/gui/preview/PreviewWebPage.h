#pragma once
// The live preview's web page: it shows only the pages the preview loads into it. A link the
// user clicks (in the page, a frame or for a new window) is handed on, never followed here.

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

namespace stv
{

class PreviewWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    PreviewWebPage(QWebEngineProfile *profile, QObject *parent);

    // The page the preview loads next; the one main-frame navigation accepted besides moves
    // inside the page itself (its "#" links).
    void expectPage(const QUrl &url) { m_expected = url; }
    // Gets every link the user clicked.
    std::function<void(const QUrl &url)> onLinkClicked;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    QUrl m_expected;
};

} // namespace stv
