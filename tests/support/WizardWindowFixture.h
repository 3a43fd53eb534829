#pragma once
// The main window as the wizard's QtTest cases drive it: a window in a temporary program
// folder with scripted dialogs and a sound player that only records, and the clicks, reads and
// loads those cases share. A case class derives from WizardWindowFixture and calls
// openWindow() in init() and closeWindow() in cleanup().

#include "core/project/Project.h"
#include "core/project/Records.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/desktop/Sound.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/WizardWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

namespace stv::test
{

class FakePlayer : public SoundPlayer
{
public:
    void playFile(const QString &path) override { played << QStringLiteral("file:") + path; }
    void playSystemSound(const QString &name) override
    {
        played << QStringLiteral("system:") + name;
    }
    QStringList played;
};

// Counts the configuration saves that closing the window runs.
class CountingTSV : public WizardWindow
{
public:
    int configurationSaves = 0;

protected:
    void saveConfiguration() override { ++configurationSaves; }
};

class WizardWindowFixture : public QObject
{
protected:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_script;
    std::unique_ptr<CountingTSV> m_w;
    FakePlayer m_player;

    template <class T>
    T *child(const char *name)
    {
        T *w = m_w->findChild<T *>(QString::fromLatin1(name));
        if (w == nullptr)
            qFatal("no child %s", name);
        return w;
    }
    void click(const char *name)
    {
        QAbstractButton *b = child<QAbstractButton>(name);
        QVERIFY2(b->isEnabled() && b->isVisible(), name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void trigger(const char *name) { child<QAction>(name)->trigger(); }
    QString position() { return child<QLabel>("PositionPanel")->text(); }
    QString labelPanel() { return child<QLabel>("LabelPanel")->text(); }
    QString path(const QString &name) { return m_dir->filePath(name); }
    const std::vector<std::string> &sections() { return m_w->project().sections; }

    // Writes a project of these records and loads it into the window.
    void load(
        const std::vector<std::string> &records, const QString &name = QStringLiteral("p.stv"))
    {
        Project p;
        p.sections = records;
        QVERIFY(saveProjectFile(path(name).toStdString(), p).ok());
        QVERIFY(m_w->loadProjectFromPath(path(name)));
    }
    void goTo(int position)
    {
        while (m_w->currentSection() < position && !QTest::currentTestFailed())
            click("Nextbtn");
    }
    std::vector<std::string> fields(int index, int last = 20)
    {
        return splitFields(sections()[static_cast<std::size_t>(index)], last);
    }

    void openWindow()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        setProgramFolder(m_dir->path());
        m_script = std::make_unique<ScriptedDialogs>();
        setSoundPlayer(&m_player);
        m_player.played.clear();
        m_w = std::make_unique<CountingTSV>();
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }

    void closeWindow()
    {
        if (m_script)
            QVERIFY2(m_script->unexpected().empty(),
                qPrintable(m_script->unexpected().empty() ? QString() : m_script->unexpected()[0]));
        m_w.reset();
        m_script.reset();
        setSoundPlayer(nullptr);
        setProgramFolder({});
    }
};

} // namespace stv::test
