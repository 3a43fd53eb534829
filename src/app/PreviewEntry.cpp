// The entry of the preview module: the live preview's page view on Qt WebEngine, which the
// windows load only when the preview is first shown.
#include "gui/preview/PreviewSchemeHandler.h"
#include "gui/preview/WebPreview.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) stv::PreviewView *sitorvaMakePreview(
    QWidget *parent)
{
    static_assert(std::is_same_v<decltype(&sitorvaMakePreview), stv::SitorvaPreviewEntry>);
    // Before the first WebEngine object; later calls find it registered.
    static const bool registered = (stv::PreviewSchemeHandler::registerScheme(), true);
    (void)registered;
    return new stv::WebPreview(parent);
}
