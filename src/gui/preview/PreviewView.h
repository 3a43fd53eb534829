#pragma once
// What the windows need of the page view that draws the live preview. The view (Qt WebEngine)
// lives in the module "sitorva-preview.so", loaded only when the preview is first shown, so
// the windows start without WebEngine; this header is all the two share.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <functional>

class QWidget;

namespace stv
{

class PreviewView
{
public:
    virtual ~PreviewView() = default;

    // The widget to place in the window; it belongs to the parent given to the module.
    virtual QWidget *widget() = 0;
    // Shows the page's bytes (`charset`: "utf-8" or "windows-1252") as a page in the local
    // folder `folder`, whose relative paths lead there. The scroll position is kept, unless
    // `section` (its position among the sections, -1 for none) differs from the section
    // shown before: then the view scrolls to that section.
    virtual void showPage(
        const QByteArray &page, const QString &charset, const QString &folder, int section)
        = 0;
    // Scrolls the page on show to the start of the section at `section`.
    virtual void scrollToSection(int section) = 0;
    // Lays the page out `layoutWidth` CSS pixels wide, scaled to fit the view's width.
    virtual void setLayoutWidth(int layoutWidth) = 0;
    // Runs a script beside the page's own (which never run); `done` gets its result.
    virtual void runScript(const QString &script, std::function<void(const QVariant &)> done) = 0;

    // Set by the owner. A link the user clicked: a local file's path or an address; the view
    // never follows it itself.
    std::function<void(const QString &target)> linkClicked;
    // A page given to showPage was laid out and scrolled (ok false: it could not be shown).
    std::function<void(bool ok)> pageShown;
};

// The module's file name and its entry: a new view in `parent`.
inline constexpr const char *PreviewModuleName = "sitorva-preview.so";
inline constexpr const char *PreviewEntryName = "sitorvaMakePreview";
using SitorvaPreviewEntry = PreviewView *(*)(QWidget *parent);

} // namespace stv
