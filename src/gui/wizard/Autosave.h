#pragma once
// Autosave: while the project has unsaved changes, its whole state is written now and then to
// this program's recovery file in the "Recovery" folder of the program folder. The window's
// thread only takes a copy of the project; turning it into bytes and writing them happens on a
// worker thread, so even a very large project does not freeze the window.

#include "core/files/FileIO.h"
#include "core/project/Project.h"
#include "core/project/Recovery.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <thread>

class QTimer;

namespace stv
{

class Autosave : public QObject
{
    Q_OBJECT
public:
    // The project as it is now when it has unsaved changes, nothing when it has none.
    using Snapshot = std::function<std::optional<Project>()>;
    // The path of the project the state belongs to (Windows-1252); empty: never saved.
    using ProjectPath = std::function<std::string()>;

    Autosave(Snapshot snapshot, ProjectPath projectPath, QObject *parent = nullptr);
    ~Autosave() override; // waits for a write under way

    // The interval: SITORVA_AUTOSAVE_SECONDS when it holds a positive number, else 60.
    static int intervalSeconds();
    // The folder of the recovery files: "Recovery" in the program folder.
    static std::string recoveryFolder();

    // Starts the timer; the recovery folder and lock are taken on the first write.
    void start();
    // Writes now when there are unsaved changes (the timer's tick); returns at once.
    void tick();
    bool writing() const { return m_worker.joinable(); }
    // Waits for a write under way to end.
    void waitForWrite();
    // The project was saved, left or is no longer changed: its recovery file goes.
    void removeRecoveryFile();
    // Takes a left recovery file over as this program's own (see RecoverySession::adopt).
    Result<> adopt(const RecoveryEntry &entry);
    // This program's recovery file; empty before the first write.
    std::string recoveryFile() const { return m_session.recoveryFile(); }

signals:
    // A write failed; sent once until a write succeeds again.
    void failed(const QString &message);
    // A write ended (either way); for those who wait for it.
    void written(bool ok);

private:
    // On the window's thread after a write; `removals` tells whether the file was removed
    // while it was written.
    void finished(const Result<> &result, int removals);

    Snapshot m_snapshot;
    ProjectPath m_projectPath;
    RecoverySession m_session;
    QTimer *m_timer;
    std::thread m_worker;
    bool m_fileWritten = false; // a recovery file of ours is on disk
    bool m_failureShown = false;
    int m_removals = 0;
};

// The status bar text for a failed autosave.
QString autosaveFailureText(const QString &error);

} // namespace stv
