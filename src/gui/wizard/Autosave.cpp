#include "gui/wizard/Autosave.h"

#include "gui/desktop/ProgramFolder.h"

#include <QTimer>

#include <chrono>
#include <cstdlib>

namespace stv
{

namespace
{

constexpr int DefaultIntervalSeconds = 60;

long long secondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

QString autosaveFailureText(const QString &error)
{
    return QStringLiteral("Autosave failed: %1").arg(error);
}

Autosave::Autosave(Snapshot snapshot, ProjectPath projectPath, QObject *parent)
    : QObject(parent)
    , m_snapshot(std::move(snapshot))
    , m_projectPath(std::move(projectPath))
    , m_session(recoveryFolder())
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(intervalSeconds() * 1000);
    connect(m_timer, &QTimer::timeout, this, &Autosave::tick);
}

Autosave::~Autosave()
{
    waitForWrite();
}

int Autosave::intervalSeconds()
{
    const char *text = std::getenv("SITORVA_AUTOSAVE_SECONDS");
    if (text == nullptr)
        return DefaultIntervalSeconds;
    char *end = nullptr;
    const long seconds = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || seconds <= 0 || seconds > 24 * 3600)
        return DefaultIntervalSeconds;
    return static_cast<int>(seconds);
}

std::string Autosave::recoveryFolder()
{
    return programFolder().toStdString() + RecoveryFolderName;
}

void Autosave::start()
{
    m_timer->start();
}

void Autosave::tick()
{
    if (writing())
        return; // the last write is still under way; the next tick tries again
    std::optional<Project> state = m_snapshot();
    if (!state) {
        if (m_fileWritten)
            removeRecoveryFile();
        return;
    }
    if (const Result<> started = m_session.start(); !started) {
        finished(started, m_removals);
        return;
    }
    // The worker owns its copy; the window goes on changing its own project meanwhile.
    const int removals = m_removals;
    m_worker = std::thread([this, project = std::move(*state), path = m_projectPath(),
                               at = secondsNow(), removals] {
        const Result<> result = m_session.write(serializeRecovery(project, path, at));
        QMetaObject::invokeMethod(
            this, [this, result, removals] { finished(result, removals); }, Qt::QueuedConnection);
    });
}

void Autosave::waitForWrite()
{
    if (m_worker.joinable())
        m_worker.join();
}

void Autosave::finished(const Result<> &result, int removals)
{
    waitForWrite();
    if (removals != m_removals)
        return; // written before the file was removed on purpose: already gone, not to report
    if (result) {
        m_fileWritten = true;
        m_failureShown = false;
    } else if (!m_failureShown) {
        m_failureShown = true;
        emit failed(autosaveFailureText(QString::fromStdString(result.error())));
    }
    emit written(result.ok());
}

void Autosave::removeRecoveryFile()
{
    waitForWrite();
    m_session.remove();
    m_fileWritten = false;
    ++m_removals;
}

Result<> Autosave::adopt(const RecoveryEntry &entry)
{
    waitForWrite();
    Result<> adopted = m_session.adopt(entry);
    if (adopted)
        m_fileWritten = true;
    return adopted;
}

} // namespace stv
