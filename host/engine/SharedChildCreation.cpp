#include "storyloom/host/engine/SharedChildCreation.h"

#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <unordered_map>

struct SharedChildCreation::Entry {
    ChildCreation record;
    std::size_t users = 0;
};

namespace {
std::string_view BytesOf(const ChildCreation& record) {
    return std::string_view(reinterpret_cast<const char*>(&record), sizeof record);
}

// Channels are made and destroyed on any thread the host uses. Each key is the bytes of its
// own entry's record.
struct Table {
    std::mutex mutex;
    std::unordered_map<std::string_view, std::unique_ptr<SharedChildCreation::Entry>> entries;
};

Table& TheTable() {
    // Never destroyed: channels in static storage may outlive any other static object.
    static Table* table = new Table;
    return *table;
}

SharedChildCreation::Entry* Acquire(const ChildCreation& record) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto found = table.entries.find(BytesOf(record));
    if (found == table.entries.end()) {
        auto entry = std::make_unique<SharedChildCreation::Entry>();
        entry->record = record;
        const std::string_view key = BytesOf(entry->record);
        found = table.entries.emplace(key, std::move(entry)).first;
    }
    ++found->second->users;
    return found->second.get();
}

void Share(SharedChildCreation::Entry* entry) {
    std::lock_guard<std::mutex> lock(TheTable().mutex);
    ++entry->users;
}

void Release(SharedChildCreation::Entry* entry) {
    if (!entry) return;
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (--entry->users == 0) table.entries.erase(BytesOf(entry->record));
}
}  // namespace

SharedChildCreation::SharedChildCreation() : SharedChildCreation(ChildCreation()) {}

SharedChildCreation::SharedChildCreation(const ChildCreation& record) : _entry(Acquire(record)) {}

SharedChildCreation::SharedChildCreation(const SharedChildCreation& other) : _entry(other._entry) { Share(_entry); }

SharedChildCreation& SharedChildCreation::operator=(const SharedChildCreation& other) {
    if (_entry != other._entry) {
        Share(other._entry);
        Release(_entry);
        _entry = other._entry;
    }
    return *this;
}

SharedChildCreation& SharedChildCreation::operator=(SharedChildCreation&& other) noexcept {
    std::swap(_entry, other._entry);
    return *this;
}

SharedChildCreation::~SharedChildCreation() { Release(_entry); }

const ChildCreation& SharedChildCreation::Get() const { return _entry->record; }

std::size_t SharedChildCreation::KeptCount() {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    return table.entries.size();
}
