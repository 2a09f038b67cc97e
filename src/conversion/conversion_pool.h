#pragma once
// The worker threads that convert documents while the calling thread walks the archive
// table. Jobs start in the order they were submitted; dropPending() stops the ones not
// yet started, so a cancelled run ends once the jobs in progress have finished.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zq {

class ConversionPool {
public:
    /// A submitted job: its result (the TIFF path) and whether a worker picked it up.
    struct Ticket {
        std::future<std::string> result;
        std::shared_ptr<std::atomic<bool>> started;
    };

    explicit ConversionPool(unsigned threads);
    /// Drops the jobs not started and waits for the running ones.
    ~ConversionPool();
    ConversionPool(const ConversionPool&) = delete;
    ConversionPool& operator=(const ConversionPool&) = delete;

    Ticket submit(std::function<std::string()> job);
    /// Jobs not yet started never start; their futures report std::future_errc::broken_promise.
    /// Once it returns, the set of started jobs is final.
    void dropPending();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    struct Pending {
        std::function<void()> run;                  // the packaged job
        std::shared_ptr<std::atomic<bool>> started; // set when a worker takes it
    };
    std::deque<Pending> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace zq
