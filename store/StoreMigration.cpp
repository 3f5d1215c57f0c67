#include "StoreMigration.h"

#include "Connection.h"
#include "StoreSchema.h"
#include "Transaction.h"

#include <iterator>

namespace {

// kSteps[i] brings format kOldestMigratedVersion + i to the next one.
constexpr const char* kSteps[] = {kCreateTrashTable, kCreateDraftTable, kCreateSyncTables};
static_assert(std::size(kSteps) == kStoreSchemaVersion - kOldestMigratedVersion,
              "every format after the oldest has its step");

} // namespace

std::string UpgradeScript(std::int64_t from)
{
    std::string script;
    for (std::int64_t version = from; version < kStoreSchemaVersion; ++version)
        script += kSteps[version - kOldestMigratedVersion];
    return script;
}

bool MigrateStore(Connection& db, std::string& error)
{
    Transaction transaction(db);
    if (!transaction.Begun(error))
        return false;
    const std::optional<std::int64_t> version = db.QueryInt("PRAGMA user_version", error);
    if (!version)
        return false;
    if (*version == kStoreSchemaVersion)
        return true; // nothing to do; the transaction ends without a change
    if (*version > kStoreSchemaVersion || *version < kOldestMigratedVersion) {
        error = "its format changed to " + std::to_string(*version) + " while it was being opened";
        return false;
    }
    const std::string upgrade =
        UpgradeScript(*version) + "PRAGMA user_version = " + std::to_string(kStoreSchemaVersion) + ";";
    return db.Exec(upgrade.c_str(), error) && transaction.Commit(error);
}
