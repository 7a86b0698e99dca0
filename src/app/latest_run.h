#pragma once

#include "core/error.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <functional>
#include <memory>
#include <new>
#include <optional>

namespace korbisto::app {

// What a run brought: its value, or the German text of why there is none.
template <typename T>
struct Computed {
    std::optional<T> value;
    QString error;
};

// Work off the GUI thread on the latest input only. Each start sets the stop
// flag of the run before it, which the work reads to give up early, and only
// the latest run's answer is delivered, on this object's thread, always after
// start() has returned. busyChanged() follows the runs in their order: true
// when one starts with none under way, false when the latest has ended. A
// failure comes back as a value; nothing is thrown across the event loop.
class LatestRun : public QObject {
    Q_OBJECT

public:
    // Runs a job somewhere and gives its future: on the global thread pool,
    // or (for a test) at once, before start() has returned.
    using Launcher = std::function<QFuture<void>(std::function<void()> job)>;

    explicit LatestRun(QObject* parent = nullptr)
        : QObject(parent), launch_([](std::function<void()> job) { return QtConcurrent::run(std::move(job)); }) {}
    ~LatestRun() override { stop(); }

    void setLauncher(Launcher launch) { launch_ = std::move(launch); }

    bool busy() const { return stop_ != nullptr; }
    // Runs started so far.
    quint64 runs() const { return started_; }

    // `work` owns what it reads (a copy of the input); it returns none when it gave up.
    template <typename T>
    void start(std::function<std::optional<T>(const std::atomic<bool>& stop)> work,
               std::function<void(const Computed<T>&)> deliver) {
        const bool wasBusy = busy();
        if (stop_) *stop_ = true;
        auto flag = std::make_shared<std::atomic<bool>>(false);
        stop_ = flag;
        ++started_;
        const quint64 run = ++generation_;
        // Busy before the work can end, so that its end comes after.
        if (!wasBusy) emit busyChanged(true);
        auto computed = std::make_shared<Computed<T>>();
        launch_([flag, computed, work = std::move(work)] {
            try {
                computed->value = work(*flag);
            } catch (const KorbistoError& e) {
                computed->error = e.message();
            } catch (const std::bad_alloc&) {
                computed->error = QStringLiteral("Für diese Rechnung reicht der Arbeitsspeicher nicht.");
            }
        }).then(this, [this, run, computed, deliver = std::move(deliver)] {
            // A job that ended before it was handed on is answered here at
            // once; the answer still waits for the event loop.
            QMetaObject::invokeMethod(
                this,
                [this, run, computed, deliver] {
                    if (run != generation_) return;
                    stop_.reset();
                    emit busyChanged(false);
                    deliver(*computed);
                },
                Qt::QueuedConnection);
        });
    }

    // The run under way gives up; its answer never comes.
    void stop() {
        if (!stop_) return;
        *stop_ = true;
        stop_.reset();
        ++generation_;
        emit busyChanged(false);
    }

signals:
    void busyChanged(bool busy);

private:
    Launcher launch_;
    std::shared_ptr<std::atomic<bool>> stop_;
    quint64 generation_ = 0;  // the run whose answer is awaited
    quint64 started_ = 0;
};

}  // namespace korbisto::app
