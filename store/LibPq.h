#pragma once
// libpq, loaded when a server database is first used instead of linked into every program: a
// command on a local file then maps none of the twenty libraries libpq brings with it (TLS,
// Kerberos, LDAP, SASL). Qt's PostgreSQL driver is itself a plugin that loads libpq; the entry
// points here resolve from that same library.

#include <libpq-fe.h>

#include <QString>

namespace vantor {

// Every libpq function the store calls.
#define VANTOR_LIBPQ_FUNCTIONS(X)                                                                            \
    X(PQclear)                                                                                               \
    X(PQconninfoFree)                                                                                        \
    X(PQconninfoParse)                                                                                       \
    X(PQenterPipelineMode)                                                                                   \
    X(PQerrorMessage)                                                                                        \
    X(PQexec)                                                                                                \
    X(PQexecPrepared)                                                                                        \
    X(PQexitPipelineMode)                                                                                    \
    X(PQfname)                                                                                               \
    X(PQfreemem)                                                                                             \
    X(PQftype)                                                                                               \
    X(PQgetResult)                                                                                           \
    X(PQgetisnull)                                                                                           \
    X(PQgetlength)                                                                                           \
    X(PQgetvalue)                                                                                            \
    X(PQnfields)                                                                                             \
    X(PQntuples)                                                                                             \
    X(PQpipelineSync)                                                                                        \
    X(PQprepare)                                                                                             \
    X(PQresultErrorField)                                                                                    \
    X(PQresultErrorMessage)                                                                                  \
    X(PQresultStatus)                                                                                        \
    X(PQsendQueryPrepared)                                                                                   \
    X(PQsetNoticeProcessor)                                                                                  \
    X(PQstatus)                                                                                              \
    X(PQunescapeBytea)

struct LibPqApi {
#define VANTOR_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
    VANTOR_LIBPQ_FUNCTIONS(VANTOR_LIBPQ_MEMBER)
#undef VANTOR_LIBPQ_MEMBER
};

// The shared library's name as the dynamic loader finds it (Debian's libpq5).
inline constexpr const char* kLibPqName = "libpq.so.5";

// Loads libpq on first use (thread-safe). Empty when it is loaded, else why it is not.
QString LoadLibPq();
// The entry points; throws DatabaseError (unavailable) when libpq cannot be loaded.
const LibPqApi& LibPq();

} // namespace vantor
