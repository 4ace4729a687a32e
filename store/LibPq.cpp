#include "store/LibPq.h"

#include "store/SqlConnection.h"

#include <dlfcn.h>

#include <mutex>

namespace vantor {
namespace {

struct Loaded {
    LibPqApi api;
    QString error;
};

Loaded Load() {
    Loaded loaded;
    // Never unloaded: the driver plugin holds the same library for the life of the program.
    void* handle = dlopen(kLibPqName, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        loaded.error = QStringLiteral("The PostgreSQL client library (%1) cannot be loaded: %2")
                           .arg(QString::fromLatin1(kLibPqName), QString::fromLocal8Bit(dlerror()));
        return loaded;
    }
#define VANTOR_LIBPQ_RESOLVE(name)                                                                           \
    loaded.api.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                             \
    if (loaded.api.name == nullptr) {                                                                        \
        loaded.error = QStringLiteral("The PostgreSQL client library (%1) lacks %2; version 14 or newer "    \
                                      "is needed.")                                                          \
                           .arg(QString::fromLatin1(kLibPqName), QStringLiteral(#name));                     \
        return loaded;                                                                                       \
    }
    VANTOR_LIBPQ_FUNCTIONS(VANTOR_LIBPQ_RESOLVE)
#undef VANTOR_LIBPQ_RESOLVE
    return loaded;
}

const Loaded& Library() {
    static const Loaded loaded = Load();
    return loaded;
}

} // namespace

QString LoadLibPq() {
    return Library().error;
}

const LibPqApi& LibPq() {
    const Loaded& loaded = Library();
    if (!loaded.error.isEmpty()) {
        throw DatabaseError(loaded.error, DatabaseError::Kind::Unavailable);
    }
    return loaded.api;
}

} // namespace vantor
