#include "gui/upload/NetworkWork.h"

#include <QEventLoop>
#include <QTimer>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace stv
{

namespace
{

struct WorkState {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

} // namespace

bool runNetworkWork(const std::shared_ptr<FtpClient> &client, std::function<void()> work,
    const std::function<void()> &tick, std::chrono::milliseconds patience)
{
    auto state = std::make_shared<WorkState>();
    std::thread worker([state, work = std::move(work)] {
        work();
        {
            const std::lock_guard<std::mutex> lock(state->mutex);
            state->done = true;
        }
        state->ended.notify_all();
    });

    // The loop looks for the end of the work itself: the worker never touches a Qt object,
    // which may be gone by the time a late worker ends.
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(10);
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        bool done = false;
        {
            const std::lock_guard<std::mutex> lock(state->mutex);
            done = state->done;
        }
        if (done) {
            loop.quit();
            return;
        }
        if (tick && ++ticks % 5 == 0)
            tick();
    });
    poll.start();
    loop.exec();
    poll.stop();

    std::unique_lock<std::mutex> lock(state->mutex);
    if (!state->done) {
        // The loop was left from outside: the program is quitting.
        client->cancel();
        if (!state->ended.wait_for(lock, patience, [&] { return state->done; })) {
            lock.unlock();
            worker.detach();
            return false;
        }
    }
    lock.unlock();
    worker.join();
    if (tick)
        tick();
    return true;
}

} // namespace stv
