#pragma once
// Work on a list of items done ahead on worker threads and handed out in the
// list's order.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Runs produce(0), produce(1), ... produce(count - 1) on `threads` worker
// threads, at most `window` items ahead of the one taken last, and gives
// the results one by one in that order. A failure of produce is thrown by
// next() in its place. Leaving early stops the workers.
template <class Result> class ReadAhead
{
public:
    ReadAhead(std::size_t count, std::function<Result(std::size_t)> produce, unsigned threads,
        std::size_t window)
        : m_count(count)
        , m_produce(std::move(produce))
        , m_slots(window)
    {
        for (unsigned i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        for (std::thread& worker : m_workers)
            worker.join();
    }

    // The next result; nothing after the last.
    std::optional<Result> next()
    {
        if (m_taken == m_count)
            return std::nullopt;
        std::unique_lock lock(m_mutex);
        Slot& slot = m_slots[m_taken % m_slots.size()];
        m_changed.wait(lock, [&] { return slot.done; });
        std::optional<Result> result = std::move(slot.result);
        const std::exception_ptr failure = slot.failure;
        slot = {};
        ++m_taken;
        lock.unlock();
        m_changed.notify_all();
        if (failure)
            std::rethrow_exception(failure);
        return result;
    }

private:
    struct Slot {
        bool done = false;
        std::optional<Result> result;
        std::exception_ptr failure;
    };

    void work()
    {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_changed.wait(lock, [&] {
                return m_stopped || m_claimed == m_count || m_claimed < m_taken + m_slots.size();
            });
            if (m_stopped || m_claimed == m_count)
                return;
            const std::size_t item = m_claimed++;
            lock.unlock();
            Slot slot {true, std::nullopt, nullptr};
            try {
                slot.result = m_produce(item);
            } catch (...) {
                slot.failure = std::current_exception();
            }
            lock.lock();
            m_slots[item % m_slots.size()] = std::move(slot);
            m_changed.notify_all();
        }
    }

    const std::size_t m_count;
    const std::function<Result(std::size_t)> m_produce;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Slot> m_slots; // item i in slot i % window
    std::size_t m_claimed = 0, m_taken = 0; // under m_mutex
    bool m_stopped = false;
    std::vector<std::thread> m_workers;
};
