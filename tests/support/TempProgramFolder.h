#pragma once
// A program folder of its own for one QtTest case, with scripted answers to every dialog: the
// program reads and writes its files there while it lives, and goes back to no folder after.
// Made in init() (or by a case's fixture) and dropped in cleanup().

#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"

#include <QTemporaryDir>

namespace stv::test
{

struct TempProgramFolder {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;

    TempProgramFolder() { setProgramFolder(dir.path()); }
    ~TempProgramFolder() { setProgramFolder(QString()); }
    TempProgramFolder(const TempProgramFolder &) = delete;
    TempProgramFolder &operator=(const TempProgramFolder &) = delete;
};

} // namespace stv::test
