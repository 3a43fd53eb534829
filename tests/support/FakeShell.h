#pragma once
// A desktop shell for tests: records what launchFile hands it as text lines
// ("open URL" and "start PROGRAM|ARG|ARG in FOLDER") and answers as it is told.

#include "gui/desktop/LaunchFile.h"

#include <QUrl>

namespace stv::test
{

class FakeShell : public ShellSeam
{
public:
    FakeShell() { setShell(this); }
    ~FakeShell() override { setShell(nullptr); }
    bool openUrl(const QUrl &url) override
    {
        calls << QStringLiteral("open ") + url.toString();
        return openSucceeds;
    }
    bool startDetached(
        const QString &program, const QStringList &arguments, const QString &folder) override
    {
        calls << QStringLiteral("start ") + program + QLatin1Char('|')
                + arguments.join(QLatin1Char('|')) + QStringLiteral(" in ") + folder;
        return startSucceeds;
    }
    QStringList webBrowser() override { return browser; }

    QStringList calls;
    bool openSucceeds = true;
    bool startSucceeds = true;
    QStringList browser { QStringLiteral("/usr/bin/web"), QStringLiteral("--new"),
        QStringLiteral("%u") };
};

} // namespace stv::test
