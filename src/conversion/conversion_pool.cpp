#include "conversion/conversion_pool.h"

#include <algorithm>

namespace zq {

ConversionPool::ConversionPool(unsigned threads) {
    for (unsigned i = 0; i < std::max(1u, threads); ++i) workers_.emplace_back([this] { work(); });
}

ConversionPool::~ConversionPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    for (auto& w : workers_) w.join();
}

ConversionPool::Ticket ConversionPool::submit(std::function<std::string()> job) {
    auto task = std::make_shared<std::packaged_task<std::string()>>(std::move(job));
    Ticket ticket{task->get_future(), std::make_shared<std::atomic<bool>>(false)};
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({[task] { (*task)(); }, ticket.started});
    }
    wake_.notify_one();
    return ticket;
}

void ConversionPool::dropPending() {
    std::lock_guard lock(mutex_);
    queue_.clear();
}

void ConversionPool::work() {
    for (;;) {
        Pending job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
            // Marked under the lock: after dropPending() no flag changes any more.
            job.started->store(true);
        }
        job.run();  // a packaged task: exceptions land in the job's future
    }
}

}  // namespace zq
