#pragma once

#include <functional>
#include <vector>

namespace corvanta::sql {
class Database;
}

namespace corvanta::crash {

// One operation that changes the ledger, with what the ledger holds before it.
// A new operation is one more row of crashOperations().
struct CrashOperation {
    const char* name;
    // Brings a freshly seeded ledger to the state the operation starts from.
    std::function<void(sql::Database&)> prepare;
    // The operation itself, as the program runs it.
    std::function<void(sql::Database&)> run;
};

const std::vector<CrashOperation>& crashOperations();

} // namespace corvanta::crash
