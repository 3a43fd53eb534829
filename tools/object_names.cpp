// Prints every named window and control of the program as "objectName<TAB>class", the class
// being the nearest object of ours (by its dynamic type, so page classes without Q_OBJECT
// count) that holds it. tools/object_name_table turns the list into the table of
// docs/architecture.md.
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/ZoomEditor.h"
#include "gui/help/HelpWindow.h"
#include "gui/upload/UploadWindow.h"
#include "gui/wizard/ProgramWindows.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <utility>

using namespace stv;

namespace
{

std::string className(const QObject *object)
{
    const char *mangled = typeid(*object).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(mangled);
}

// Classes of ours outside anonymous namespaces: helpers local to one file are no owner.
std::string ownerClass(const QObject *object)
{
    for (const QObject *o = object; o != nullptr; o = o->parent()) {
        const std::string name = className(o);
        if (name.rfind("stv::", 0) == 0 && name.find("(anonymous namespace)") == std::string::npos)
            return name.substr(5);
    }
    return {};
}

void collect(const QObject *object, std::set<std::pair<std::string, std::string>> &rows)
{
    const std::string name = object->objectName().toStdString();
    const std::string owner = ownerClass(object);
    // Qt names its own inner objects "qt_..." or "_...".
    if (!name.empty() && !owner.empty() && name.rfind("qt_", 0) != 0 && name[0] != '_')
        rows.insert({ name, owner });
    for (const QObject *child : object->children())
        collect(child, rows);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramWindows windows;
    HelpWindow help;
    UploadWindow upload;
    InputBox inputBox;
    ZoomEditor zoomEditor;

    std::set<std::pair<std::string, std::string>> rows;
    for (const QObject *top : std::initializer_list<const QObject *> { &windows.window,
             &windows.library, &windows.sectionManager, &help, &upload, &inputBox, &zoomEditor })
        collect(top, rows);
    for (const auto &[name, owner] : rows)
        std::printf("%s\t%s\n", name.c_str(), owner.c_str());
    return 0;
}
