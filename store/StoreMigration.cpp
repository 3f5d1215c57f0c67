#include "StoreMigration.h"

#include "Connection.h"
#include "StoreSchema.h"
#include "Transaction.h"

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
    // Format 1 to 2: the trash.
    const std::string upgrade =
        std::string(kCreateTrashTable) + "PRAGMA user_version = " + std::to_string(kStoreSchemaVersion) + ";";
    return db.Exec(upgrade.c_str(), error) && transaction.Commit(error);
}
