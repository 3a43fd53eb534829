#pragma once
// The base of every page of the wizard's stack, and of the nine pages that edit a section
// record: each section page owns its controls and turns a record's fields into control values
// and back, keeping the stored encoding (flags "1"/"0", -1 for no choice, escaped memo lines).

#include "core/project/Records.h"

#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

class QVBoxLayout;

namespace stv::pages
{

// A page: named for its help and tests, a heading line at the top, its controls below.
class WizardPage : public QWidget
{
public:
    WizardPage(const QString &name, const QString &heading, QWidget *parent);

    // Where typing goes when the page comes up: its first control that takes the Tab key,
    // nullptr for a page with nothing to type into or choose.
    virtual QWidget *firstField() const;

protected:
    QVBoxLayout *pageLayout() const;
};

class SectionPage : public WizardPage
{
public:
    // The page's object name is its kind's name.
    SectionPage(KindPos kind, const QString &heading, QWidget *parent);

    KindPos kind() const { return m_kind; }
    std::string_view kindName() const { return sectionKind(m_kind).name; }

    // Puts a record of this page's kind on the page; `fields` are the record's fields from
    // field 0 on (missing fields empty), as splitFields gives them.
    virtual void showFields(const std::vector<std::string> &fields) = 0;
    // The page's values as the record holds them, from field 2 on.
    virtual std::vector<std::string> fields() const = 0;

protected:
    // A field's text, and its leading number.
    static const std::string &textAt(const std::vector<std::string> &fields, int index)
    {
        return fields[static_cast<std::size_t>(index)];
    }
    static int numberAt(const std::vector<std::string> &fields, int index);

private:
    KindPos m_kind;
};

} // namespace stv::pages
