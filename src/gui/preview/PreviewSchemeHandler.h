#pragma once
// Serves the live preview's page from memory and, beside it, the pictures and sounds it shows,
// under the scheme "sitorva-preview": the page's address is its folder's path, so the page's
// relative paths lead into that folder as they will beside the written page. A file is given
// only when its content is a picture or a sound: nothing in the pane can read another local
// file.

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace stv
{

inline constexpr const char *PreviewScheme = "sitorva-preview";

class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // Registers the scheme; before the first WebEngine object is made.
    static void registerScheme();
    // The page's address for a page in the local folder `folder`.
    static QUrl pageUrl(const QString &folder);
    // The local file an address of the scheme names; empty for another scheme.
    static QString localPath(const QUrl &url);

    // The page served at `url` from now on.
    void setPage(const QUrl &url, const QByteArray &page, const QString &charset);
    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    QUrl m_pageUrl;
    QByteArray m_page;
    QByteArray m_mimeType;
};

} // namespace stv
