// libFuzzer target: a catalogue spreadsheet of any bytes is planned (every row checked, nothing
// stored) against an empty database without a crash.
#include "app/CatalogueCsv.h"
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
            QStringLiteral("vantor-catalogue-fuzz-%1.mdb").arg(QCoreApplication::applicationPid()));
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
    vantor::PlanCatalogueImport(
        Database(), QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
