#include "SyncSecrets.h"

#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("zorva-memo-sync");

} // namespace

void ReadSyncPassword(const QString& account, QObject* context,
                      std::function<void(bool, const QString&, const QString&)> done)
{
    auto* job = new QKeychain::ReadPasswordJob(kService, context); // deletes itself when finished
    job->setKey(account);
    QObject::connect(job, &QKeychain::Job::finished, context, [job, done] {
        const bool found = job->error() == QKeychain::NoError;
        done(found, found ? job->textData() : QString(), found ? QString() : job->errorString());
    });
    job->start();
}

void WriteSyncPassword(const QString& account, const QString& password, QObject* context,
                       std::function<void(bool, const QString&)> done)
{
    auto* job = new QKeychain::WritePasswordJob(kService, context);
    job->setKey(account);
    job->setTextData(password);
    QObject::connect(job, &QKeychain::Job::finished, context,
                     [job, done] { done(job->error() == QKeychain::NoError, job->errorString()); });
    job->start();
}
