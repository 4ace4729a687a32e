// libFuzzer target: a bearing list spreadsheet of any bytes is planned (every row checked, nothing
// stored) against a database holding the starter bearings, without a crash.
#include "app/BearingCsv.h"
#include "store/BearingStore.h"
#include "store/MainConnection.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

vantor::CMainConnection& Database() {
    static std::unique_ptr<vantor::CMainConnection> db = [] {
        vantor::StoreContext context;
        context.databaseFile = QDir::temp().filePath(
            QStringLiteral("vantor-bearing-fuzz-%1.mdb").arg(QCoreApplication::applicationPid()));
        QFile::remove(context.databaseFile);
        vantor::CreateEmptyDatabase(context.databaseFile, nullptr);
        auto connection = std::make_unique<vantor::CMainConnection>(context);
        connection->Open();
        return connection;
    }();
    return *db;
}

} // namespace

// Qt's SQL driver is found through the application's plugin paths.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantor::CBearingStore store(Database(), vantor::StoredValues::AsStored);
    vantor::PlanBearingImport(store,
                              QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
