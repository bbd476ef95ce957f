#include "platform/record_file.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/record_handle.h"

struct RecordFile::Impl {
    enum class Kind { Append, Rewrite, Remove };
    struct Job {
        Kind kind;
        std::string bytes;
    };

    Impl(std::string path, std::unique_ptr<Handle> handle) : path(std::move(path)), handle(std::move(handle)) {
        worker = std::thread([this] { run(); });
    }
    ~Impl() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        worker.join();
    }

    void post(Job job) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (removed) return;
            if (job.kind != Kind::Append) jobs.clear();  // what a rewrite or removal replaces need not be written
            removed = job.kind == Kind::Remove;
            jobs.push_back(std::move(job));
        }
        changed.notify_all();
    }

    void wait() {
        std::unique_lock<std::mutex> lock(mutex);
        idle.wait(lock, [this] { return jobs.empty() && !busy; });
    }

    void run() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || !jobs.empty(); });
            if (jobs.empty()) return;
            Job job = std::move(jobs.front());
            jobs.pop_front();
            busy = true;
            lock.unlock();
            bool ok = true;
            switch (job.kind) {
            case Kind::Append: ok = handle->append(job.bytes) && handle->flush(); break;
            case Kind::Rewrite: ok = handle->rewrite(job.bytes) && handle->flush(); break;
            case Kind::Remove: ok = handle->closeAndDelete(); break;
            }
            lock.lock();
            busy = false;
            failed = failed || !ok;
            if (jobs.empty()) idle.notify_all();
        }
    }

    std::string path;
    std::unique_ptr<Handle> handle;
    std::mutex mutex;
    std::condition_variable changed;
    std::condition_variable idle;
    std::deque<Job> jobs;
    bool busy = false;
    bool stopping = false;
    bool removed = false;
    bool failed = false;
    std::thread worker;  // last: it starts once everything else is ready
};

RecordFile::RecordFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

RecordFile::~RecordFile() = default;

std::unique_ptr<RecordFile> RecordFile::create(const std::string& utf8Path) {
    auto handle = createRecordHandle(utf8Path);
    if (!handle) return nullptr;
    return std::unique_ptr<RecordFile>(new RecordFile(std::make_unique<Impl>(utf8Path, std::move(handle))));
}

std::unique_ptr<RecordFile> RecordFile::claim(const std::string& utf8Path, std::string& bytes) {
    auto handle = claimRecordHandle(utf8Path, bytes);
    if (!handle) return nullptr;
    return std::unique_ptr<RecordFile>(new RecordFile(std::make_unique<Impl>(utf8Path, std::move(handle))));
}

void RecordFile::append(std::string bytes) { impl_->post({Impl::Kind::Append, std::move(bytes)}); }

void RecordFile::rewrite(std::string bytes) { impl_->post({Impl::Kind::Rewrite, std::move(bytes)}); }

void RecordFile::remove() { impl_->post({Impl::Kind::Remove, {}}); }

void RecordFile::wait() { impl_->wait(); }

bool RecordFile::failed() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->failed;
}

const std::string& RecordFile::path() const { return impl_->path; }

bool RecordFile::setAside(const std::string& utf8Path, const std::string& utf8NewPath) {
    return setRecordAside(utf8Path, utf8NewPath);
}
