#pragma once
// The wizard page of every section kind.

#include "core/project/SectionKinds.h"

class QWidget;

namespace stv::pages
{

class SectionPage;

// A new page that edits records of the kind.
SectionPage *makeSectionPage(KindPos kind, QWidget *parent);

} // namespace stv::pages
