#include "gui/wizard/pages/SectionPages.h"

#include "gui/wizard/pages/AnchorPage.h"
#include "gui/wizard/pages/DividerPage.h"
#include "gui/wizard/pages/HeadingPage.h"
#include "gui/wizard/pages/HtmlPage.h"
#include "gui/wizard/pages/ImagePage.h"
#include "gui/wizard/pages/IndexPage.h"
#include "gui/wizard/pages/ListPage.h"
#include "gui/wizard/pages/ParagraphPage.h"
#include "gui/wizard/pages/PlaySoundPage.h"

namespace stv::pages
{

namespace
{

using PageMaker = SectionPage *(*)(QWidget *parent);

// Each page class names its own kind (Page::Kind), so a page cannot land at another's place.
template <class Page>
constexpr KindEntry<PageMaker> pageClass()
{
    return { Page::Kind, [](QWidget *parent) -> SectionPage * { return new Page(parent); } };
}

constexpr KindEntry<PageMaker> PageMakerEntries[]
    = { pageClass<HeadingPage>(), pageClass<ParagraphPage>(), pageClass<ImagePage>(),
          pageClass<DividerPage>(), pageClass<AnchorPage>(), pageClass<ListPage>(),
          pageClass<IndexPage>(), pageClass<HtmlPage>(), pageClass<PlaySoundPage>() };
constexpr KindTable<PageMaker> PageMakers = tableByKind(PageMakerEntries);
static_assert(coversEveryKind(PageMakerEntries), "every kind needs its wizard page class here");

} // namespace

SectionPage *makeSectionPage(KindPos kind, QWidget *parent)
{
    return PageMakers[static_cast<std::size_t>(kind)](parent);
}

} // namespace stv::pages
