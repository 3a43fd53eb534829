#pragma once
// Pictures made ready for the web once: each is kept in a folder of the program's with a
// stamp of what it was made from (the source's path, size and modification time, the rules
// and PictureRulesVersion), and used again while they are unchanged, so creating the page a
// second time costs a plain copy. A picture that needs nothing is not kept: the source itself
// is copied. Entries are named by what they were made from, so two programs at work at once
// make the same bytes under the same name, and a source's older entries are removed when a
// new one is made.

#include "core/page/PicturePreparer.h"
#include "core/picture/WebPicture.h"

#include <string>

namespace stv
{

class PictureCache : public PicturePreparer
{
public:
    // `folder` is created on first use.
    PictureCache(std::string folder, PictureRules rules);

    Result<ReadyPicture> prepare(const std::string &source) override;

    // How many pictures this cache has read and made (not found kept) so far.
    int madeCount() const { return m_madeCount; }

private:
    std::string m_folder;
    PictureRules m_rules;
    int m_madeCount = 0;
};

} // namespace stv
