#pragma once
// The live preview's page view on Qt WebEngine: the page from memory through
// PreviewSchemeHandler, in a profile that keeps nothing on disk, with the page's own scripts
// off and nothing local beyond its pictures and sounds within its reach. Built into the module
// "sitorva-preview.so" only.

#include "gui/preview/PreviewView.h"

#include <QUrl>
#include <QWebEngineView>

namespace stv
{

class PreviewSchemeHandler;
class PreviewWebPage;

class WebPreview : public QWebEngineView, public PreviewView
{
    Q_OBJECT
public:
    explicit WebPreview(QWidget *parent);
    ~WebPreview() override;

    QWidget *widget() override { return this; }
    void showPage(const QByteArray &page, const QString &charset, const QString &folder,
        int section) override;
    void scrollToSection(int section) override;
    void setLayoutWidth(int layoutWidth) override;
    void runScript(const QString &script, std::function<void(const QVariant &)> done) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void pageLoaded(bool ok);
    void fitLayoutWidth();
    // The script that puts the page where it is to stand once loaded.
    void placeAfterLoad(const QString &script);
    // Loads the page, placed by `script` once loaded.
    void loadPlaced(const QString &script);

    QWebEngineProfile *m_profile = nullptr;
    PreviewSchemeHandler *m_handler = nullptr;
    PreviewWebPage *m_page = nullptr;
    QUrl m_pageUrl;
    QString m_placeScript; // scrolls the page loading now to where it is to stand
    int m_section = -1; // the section last scrolled to
    int m_layoutWidth = 0; // CSS pixels; 0: the view's own width
    bool m_loading = false;
    int m_loadNumber = 0; // counts showPage calls: a late answer for an older one is dropped
};

} // namespace stv
