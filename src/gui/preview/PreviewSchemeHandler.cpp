#include "gui/preview/PreviewSchemeHandler.h"

#include "core/files/MediaType.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace stv
{

namespace
{

// The preview's own name, which no file beside a page is likely to have.
const QString PageName = QStringLiteral(".sitorva-preview.html");

} // namespace

void PreviewSchemeHandler::registerScheme()
{
    // Path syntax: no host, so relative paths resolve as they do for a local file. Not a
    // secure scheme, so a picture the page takes from an http address shows as it would on
    // an http site.
    QWebEngineUrlScheme scheme(PreviewScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PreviewSchemeHandler::pageUrl(const QString &folder)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(PreviewScheme));
    QString path = QFileInfo(folder).absoluteFilePath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + PageName);
    return url;
}

QString PreviewSchemeHandler::localPath(const QUrl &url)
{
    if (url.scheme() != QLatin1String(PreviewScheme))
        return {};
    return url.path();
}

void PreviewSchemeHandler::setPage(const QUrl &url, const QByteArray &page, const QString &charset)
{
    m_pageUrl = url;
    m_page = page;
    m_mimeType = "text/html;charset=" + charset.toLatin1();
}

void PreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    const QUrl url = job->requestUrl().adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery);
    if (url == m_pageUrl) {
        auto *buffer = new QBuffer(job);
        buffer->setData(m_page);
        buffer->open(QIODevice::ReadOnly);
        job->reply(m_mimeType, buffer);
        return;
    }
    const QString path = localPath(url);
    const std::string native = QFile::encodeName(path).toStdString();
    const Result<std::string> head = readFileHead(native);
    if (!head) {
        job->fail(head.missing() ? QWebEngineUrlRequestJob::UrlNotFound
                                 : QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    if (sniffMedia(head.value()).kind == MediaKind::Other) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // Looked at again once open: the file may have been replaced since.
    auto *file = new QFile(path, job);
    const QByteArray opened
        = file->open(QIODevice::ReadOnly) ? file->peek(MediaHeadSize) : QByteArray();
    if (sniffMedia(std::string_view(opened.constData(), static_cast<std::size_t>(opened.size())))
            .kind
        == MediaKind::Other) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    job->reply(QMimeDatabase().mimeTypeForData(opened).name().toLatin1(), file);
}

} // namespace stv
