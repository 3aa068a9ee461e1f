#include "lock.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace velo::platform {

std::optional<long> waitAtMost(std::chrono::milliseconds wait, std::function<long()> block,
                               std::function<void()> abandon) {
    struct Waiter {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        long code = 0;
    };
    const auto waiter = std::make_shared<Waiter>();
    std::thread([waiter, block = std::move(block), abandon = std::move(abandon)] {
        const long code = block();
        const std::lock_guard<std::mutex> hold(waiter->mutex);
        if (waiter->abandoned) {
            abandon();
            return;
        }
        waiter->finished = true;
        waiter->code = code;
        waiter->done.notify_one();
    }).detach();
    std::unique_lock<std::mutex> hold(waiter->mutex);
    if (!waiter->done.wait_for(hold, wait, [&] { return waiter->finished; })) {
        waiter->abandoned = true;
        return std::nullopt;
    }
    return waiter->code;
}

} // namespace velo::platform
