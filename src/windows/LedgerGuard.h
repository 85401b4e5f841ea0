#pragma once

#include "DatabaseFailure.h"
#include "ledger/sql/Database.h"

#include <optional>
#include <type_traits>
#include <utility>

namespace corvanta::windows {

// The one way a slot reaches the ledger: `call` runs, and when the database
// fails the user is shown why (showDatabaseFailure) and the operation ends there.
// Gives whether the call went through, or for a call with a result that result,
// none when it failed.
template <typename Call> auto withLedger(Prompter& prompter, LedgerAccess access, Call&& call)
{
    using Result = std::invoke_result_t<Call>;
    if constexpr (std::is_void_v<Result>) {
        try {
            std::forward<Call>(call)();
            return true;
        } catch (const sql::Error& error) {
            showDatabaseFailure(prompter, access, error);
            return false;
        }
    } else {
        try {
            return std::optional<Result>(std::forward<Call>(call)());
        } catch (const sql::Error& error) {
            showDatabaseFailure(prompter, access, error);
            return std::optional<Result>();
        }
    }
}

} // namespace corvanta::windows
