// Fuzz target: the textual translation of statements into the Oracle dialect.
// A statement the rules cannot take ends in DbError, never in a crash.

#include "db/DB_Dll.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000)
        return 0;
    static rp::db::DB_Dll* db = [] {
        auto* d = new rp::db::DB_Dll();
        d->gConnString = QStringLiteral("Provider=MSDAORA.1;Data Source=ORACLE;User ID=x");
        return d;
    }();
    const QString sql =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        (void)db->ORACLE_Dicc(sql);
    } catch (const rp::db::DbError&) {
        // a statement the rules cannot take ("Invalid procedure call or argument")
    }
    return 0;
}
