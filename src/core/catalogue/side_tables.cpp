#include "core/catalogue/side_tables.h"

#include "core/covers/cover_schema.h"
#include "core/lookup/lookup_link_schema.h"

const QList<SideSchema>& sideSchemas() {
    static const QList<SideSchema> schemas = {
        {{QStringLiteral("cover")}, {CoverSchema::kTable, CoverSchema::kTrigger}},
        {{QStringLiteral("lookup_link")}, {LookupLinkSchema::kTable, LookupLinkSchema::kTrigger}},
    };
    return schemas;
}

const SideSchema* sideSchemaOf(const QString& table) {
    for (const SideSchema& schema : sideSchemas()) {
        if (schema.tables.contains(table)) {
            return &schema;
        }
    }
    return nullptr;
}
